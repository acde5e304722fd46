#include "windowops/state_commands.h"

namespace vantrel {

Change StateChange(StateCommand command, bool menuChecked) {
    switch (command) {
    case StateCommand::Show: return menuChecked ? Change::Hide : Change::Show;
    case StateCommand::Enable: return menuChecked ? Change::Disable : Change::Enable;
    case StateCommand::Stayontop: return menuChecked ? Change::NotTopmost : Change::Topmost;
    case StateCommand::Minimize: return Change::Minimize;
    case StateCommand::Restore: return Change::Restore;
    case StateCommand::Maximize: return Change::Maximize;
    }
    return Change::Show;
}

CommandOutcome RunStateCommand(Desktop& desktop, Handle window, StateCommand command, bool menuChecked,
                               OwnWindow own) {
    const Change change = StateChange(command, menuChecked);
    CommandOutcome outcome;
    outcome.refusal = RefusalFor(own, change);
    if (!outcome.refusal.empty()) return outcome;
    switch (change) {
    case Change::Hide: outcome.reply = desktop.show(window, ShowCommand::Hide); break;
    case Change::Show: outcome.reply = desktop.show(window, ShowCommand::Show); break;
    case Change::Disable: outcome.reply = desktop.enable(window, false); break;
    case Change::Enable: outcome.reply = desktop.enable(window, true); break;
    case Change::NotTopmost: outcome.reply = desktop.setTopmost(window, false); break;
    case Change::Topmost: outcome.reply = desktop.setTopmost(window, true); break;
    case Change::Minimize: outcome.reply = desktop.show(window, ShowCommand::Minimize); break;
    case Change::Restore: outcome.reply = desktop.show(window, ShowCommand::Restore); break;
    case Change::Maximize: outcome.reply = desktop.show(window, ShowCommand::ShowMaximized); break;
    default: break;
    }
    return outcome;
}

CloseOutcome RunCloseCommand(Desktop& desktop, Handle window, const std::function<bool()>& confirm, OwnWindow own) {
    CloseOutcome closed;
    // Refused before the question: asking first and then refusing would only
    // make the user answer for nothing.
    closed.outcome.refusal = RefusalFor(own, Change::Close);
    if (!closed.outcome.refusal.empty() || !confirm()) return closed;
    closed.sent = true;
    closed.outcome.reply = desktop.requestClose(window);
    return closed;
}

}  // namespace vantrel
