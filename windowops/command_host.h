#pragma once
// What the window commands need of the window that runs them: the selected
// window, the check marks the property list last set, which of Vantrel's own
// windows a handle is, and the refill, rebuild, report and question that
// follow a command. The main window answers them; the commands know nothing
// else of it.

#include "platform/desktop.h"
#include "windowops/state_commands.h"
#include "windowops/window_requests.h"

#include <string_view>

namespace vantrel {

class CommandHost {
public:
    virtual ~CommandHost() = default;

    // The window every command acts on.
    virtual Handle Selected() const = 0;
    // The check mark of a toggle's menu item, as the property list last set it.
    virtual bool IsToggleChecked(StateCommand command) const = 0;
    virtual OwnWindow OwnWindowOf(Handle window) const = 0;
    // Refills the property list for the window (ShowProp).
    virtual void Refill(Handle window) = 0;
    // Rebuilds the tree (TreeRefresh).
    virtual void Rebuild() = 0;
    // Tells the user, in one box, why a command stopped; nothing when it did not.
    virtual void Report(const CommandOutcome& outcome) = 0;
    // Asks the user a Yes / No question; true for Yes.
    virtual bool Confirm(std::string_view text, std::string_view caption) = 0;
};

}  // namespace vantrel
