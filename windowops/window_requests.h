#pragma once
// What the window commands may ask of a window and what the user is told
// when a request was not made: the rules shared by the state commands, Close,
// Edit / Move and Set Style for Vantrel's own windows and for windows whose
// thread does not answer.

#include "platform/desktop.h"

#include <string>

namespace vantrel {

// Which of Vantrel's own windows a window is, as the Win32 layer finds out.
enum class OwnWindow {
    None,               // a window of another program
    MainWindow,         // TForm1
    MainWindowControl,  // a control of the main window at any depth: tree, list, tool bar, status bar, panels...
    ApplicationWindow,  // TApplication: closing it ends the program as closing the main window does
    Form,               // another form: the dialogs and the Catch Messages window
    FormControl,        // a control of another form, at any depth
    Other,              // any other window of Vantrel's: tool tips, message boxes...
};

// The change a command asks of a window.
enum class Change { Show, Hide, Enable, Disable, Topmost, NotTopmost, Minimize, Restore, Maximize, Close, Text, Placement, Long };

// Why a change is refused on one of Vantrel's own windows: it would leave the
// user without a way back (a closed control is gone for good; a hidden main
// window, a hidden control of it or a disabled main window cannot be reached
// to undo it). Empty when the change may go ahead, as every change to another
// program's window may.
std::string RefusalFor(OwnWindow window, Change change);

// The changes a new style asks for, beyond a plain write: hiding (WS_VISIBLE
// cleared) and disabling (WS_DISABLED set). Change::Long when neither.
Change StyleChange(std::uint32_t oldStyle, std::uint32_t newStyle);

inline constexpr const char* kNotAnsweredText = "The window did not answer. The request may still take effect later.";
inline constexpr const char* kBusyText = "The window has not answered an earlier request yet. This request was not made.";


// What one window command came to, for the one box the user is shown.
struct CommandOutcome {
    Reply reply = Reply::Answered;  // of the first request that was not answered, else Answered
    std::string refusal;            // why the command was not carried out on Vantrel's own window

    // The text of the box to show, empty when there is nothing to tell.
    std::string Report() const;
    // True when a request was refused or not answered: the command stops there.
    bool Stopped() const { return !refusal.empty() || reply != Reply::Answered; }
};

}  // namespace vantrel
