#include "windowops/state_commands.h"

namespace vantrel {

void RunStateCommand(Desktop& desktop, Handle window, StateCommand command, bool menuChecked) {
    switch (command) {
    case StateCommand::Show:
        desktop.show(window, menuChecked ? ShowCommand::Hide : ShowCommand::Show);
        break;
    case StateCommand::Enable:
        desktop.enable(window, !menuChecked);
        break;
    case StateCommand::Stayontop:
        desktop.setTopmost(window, !menuChecked);
        break;
    case StateCommand::Minimize:
        desktop.show(window, ShowCommand::Minimize);
        break;
    case StateCommand::Restore:
        desktop.show(window, ShowCommand::Restore);
        break;
    case StateCommand::Maximize:
        desktop.show(window, ShowCommand::ShowMaximized);
        break;
    }
}

bool RunCloseCommand(Desktop& desktop, Handle window, const std::function<bool()>& confirm) {
    if (!confirm()) return false;
    desktop.requestClose(window);
    return true;
}

}  // namespace vantrel
