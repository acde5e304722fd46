// The window state commands of the main window. Each acts on the selected
// window and refills the property list, whose refill also sets the check
// marks and tool buttons again; "&Close" rebuilds the tree instead. A command
// refused on Vantrel's own window, or one the window did not answer, is
// reported in one box after the refill.

#include "platform/win32_desktop.h"
#include "shell/command_ids.h"
#include "shell/program_state.h"
#include "shell/win32_form1.h"
#include "windowops/state_commands.h"

namespace vantrel::win32 {

namespace {

// A check tool button has already flipped its own pressed state when its
// command runs; only the menu item's check mark, as the property list last
// set it, decides the direction.
void RunToggle(TForm1& form, StateCommand command, int menuItem) {
    const Handle window = SelectedWindow;
    const CommandOutcome outcome =
        RunStateCommand(TheDesktop(), window, command, form.IsMenuChecked(menuItem), form.OwnWindowOf(window));
    form.ShowProp(window);
    TForm1::ReportOutcome(outcome);
}

}  // namespace

void TForm1::Show1Click() { RunToggle(*this, StateCommand::Show, cmd::Show1); }
void TForm1::Enable1Click() { RunToggle(*this, StateCommand::Enable, cmd::Enable1); }
void TForm1::Stayontop1Click() { RunToggle(*this, StateCommand::Stayontop, cmd::Stayontop1); }
void TForm1::Minimize1Click() { RunToggle(*this, StateCommand::Minimize, cmd::Minimize1); }
void TForm1::Restore1Click() { RunToggle(*this, StateCommand::Restore, cmd::Restore1); }
void TForm1::Maximize1Click() { RunToggle(*this, StateCommand::Maximize, cmd::Maximize1); }

void TForm1::Close1Click() {
    const Handle window = SelectedWindow;
    const CloseOutcome closed = RunCloseCommand(
        TheDesktop(), window,
        [] {
            return MessageBoxFor(ApplicationWindow(), "Are you sure?", "Closing window", MB_YESNO | MB_ICONWARNING) ==
                   IDYES;
        },
        OwnWindowOf(window));
    if (closed.sent) TreeRefresh();
    ReportOutcome(closed.outcome);
}

}  // namespace vantrel::win32
