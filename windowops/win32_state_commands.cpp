// The window state commands. Each acts on the selected window and refills
// the property list, whose refill also sets the check marks and tool buttons
// again; Close rebuilds the tree instead. A command refused on Vantrel's own
// window, or one the window did not answer, is reported in one box after the
// refill.

#include "windowops/win32_state_commands.h"

#include "platform/win32_desktop.h"

namespace vantrel::win32 {

void RunStateCommand(CommandHost& host, StateCommand command) {
    // A check tool button has already flipped its own pressed state when its
    // command runs; only the menu item's check mark, as the property list
    // last set it, decides the direction.
    const Handle window = host.Selected();
    const CommandOutcome outcome = vantrel::RunStateCommand(TheDesktop(), window, command,
                                                            host.IsToggleChecked(command), host.OwnWindowOf(window));
    host.Refill(window);
    host.Report(outcome);
}

void RunCloseCommand(CommandHost& host) {
    const Handle window = host.Selected();
    const CloseOutcome closed = vantrel::RunCloseCommand(
        TheDesktop(), window, [&host] { return host.Confirm("Are you sure?", "Closing window"); },
        host.OwnWindowOf(window));
    if (closed.sent) host.Rebuild();
    host.Report(closed.outcome);
}

}  // namespace vantrel::win32
