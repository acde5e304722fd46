#pragma once
// The Catch Messages window TForm5ForHook: logs the messages of the selected
// window, which VANTREL.DLL reports through the shared record.

#include "catch/catch_log.h"
#include "catch/win32_log_view.h"
#include "platform/desktop.h"
#include "platform/win32_handles.h"
#include "shell/win32_form.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace vantrel::win32 {

class TForm5ForHook : public Form {
public:
    TForm5ForHook();

    // Shows the window modally for the selected node: its text goes into the
    // caption, and Start asks selectedWindow for the window to watch.
    int ShowFor(std::string nodeText, std::function<Handle()> selectedWindow);

    // Commands.
    void ToolButton2Click();   // Start
    void ToolButton4Click();   // Stop
    void MenuCatchExitClick();
    void CategoryButtonClick(Category category);  // ToolButton6Click ... ToolButton11Click
    void CategoryMenuClick(Category category);    // MenuMessTimerClick ... MenuMessOtherClick
    void Hiderepetitions1Click();
    void MenuCatchClearClick();
    void MenuCatchSaveClick();

    // The handler of HookNotifyMessage: logs the message in the shared record.
    LRESULT InpMessage();

    bool PreTranslateMessage(MSG& msg) override;

    HWND ToolBar1 = nullptr;
    HWND Memo1 = nullptr;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void FormShow() override;
    void FormClose() override;
    void DpiChanged(int oldDpi) override;

private:
    void FormCreate();
    void RunCommand(int command);
    void LayoutControls();
    // The log pane's font for the window's pixels per inch.
    void ScaleLogFont();
    void AppendLine(const std::string& line);
    void UpdateCaption();
    void LoggingFailed();
    void SetCatching(bool catching);
    HMENU Menu() const { return ::GetMenu(hwnd()); }

    CatchLog log_;
    LogView* logView_ = nullptr;  // the view behind Memo1, which it owns
    bool catching_ = false;
    // The selected node's text, named in the caption with what the log lacks.
    std::string captionNode_;
    std::function<Handle()> selectedWindow_;
    std::string caption_;
    // Logging failed (memory): further reports are let go at once until the
    // failure is reported, once, outside the notification, and catching stops.
    bool loggingFailed_ = false;
    std::string failure_;
    // The watched window belongs to this program (the log pane itself, the
    // main window...): its lines are painted while their report is handled.
    // Found once per Start.
    bool watchingOwnWindow_ = false;
    // The shared record, held from the showing of the window to its closing.
    KernelHandle mapping_;
    MappedView view_;
    // The details object beside it, for as long.
    KernelHandle detailsMapping_;
    MappedView detailsView_;
    ImageListHandle imageList1_;
    AcceleratorHandle accelerators_;
    std::vector<BitmapHandle> menuBitmaps_;
    std::map<int, std::string> hints_;
    FontHandle memoFont_;
    std::string saveDirectory_;  // the Save dialog's initial directory
    std::string saveFileName_;   // the last chosen file, offered again
    // The last chosen file type, offered again: 1 the ANSI text file, 2 UTF-8.
    DWORD saveFileType_ = 1;
    static constexpr DWORD kUtf8FileType = 2;
};


}  // namespace vantrel::win32
