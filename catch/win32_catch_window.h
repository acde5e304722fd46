#pragma once
// The Catch Messages window TForm5ForHook: logs the messages of the selected
// window (or, by the Watch choice, of its descendants, its thread or its
// process), which VANTREL.DLL reports through the shared record, with the
// details object beside it and the sends' returns in its ring while the
// Details switch is on. Its own dialogs: the message filter and Find in the
// log.

#include "catch/catch_log.h"
#include "catch/win32_filter_dialog.h"
#include "catch/win32_log_find_dialog.h"
#include "catch/win32_log_view.h"
#include "platform/desktop.h"
#include "platform/win32_handles.h"
#include "shell/win32_form.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
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
    void DetailsButtonClick();    // the Details check button
    void MenuViewDetailsClick();  // the Details item
    void WatchClick(HookWatch watch);
    void MenuMessFilterClick();
    void MenuLogFindClick();
    void MenuLogFindNextClick();

    // The handler of HookNotifyMessage: logs the returns that came before
    // the announced report, then the message in the shared record.
    LRESULT InpMessage();

    bool PreTranslateMessage(MSG& msg) override;

    HWND ToolBar1 = nullptr;
    HWND Memo1 = nullptr;
    // The line under the log pane that tells how Find went: shown once
    // Find was used in this showing.
    HWND CatchStatus = nullptr;

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
    void AppendLine(const std::string& line, std::uint32_t message);
    void UpdateCaption();
    // Runs a step that logs lines: a failure (memory) stops catching once
    // the notification is over, and the caption follows what the log lacks.
    void Logging(const std::function<void()>& step);
    void LoggingFailed();
    void SetCatching(bool catching);
    // Sets the Details switch (button, item, log) and tells the library.
    void SetDetails(bool on);
    // Logs the sends' returns the library left in its ring since the last
    // report taken, up to the report numbered before (0: all).
    void TakeReturns(std::uint32_t before);
    void FindNext();
    void ShowNotice(const std::string& text);
    // The name of a registered message, as the system keeps it.
    std::string RegisteredName(std::uint32_t message);
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
    // The Watch choice, told to the library at Start, kept for the run.
    HookWatch watch_ = HookWatch::Window;
    // The returns are read from the ring from the moment the details are
    // on in a catch until it stops: they take numbers from the reports'
    // count, so skipping them would look like missed reports.
    bool takingReturns_ = false;
    // The number of the last report taken, announced or returned.
    std::uint32_t lastTaken_ = 0;
    std::unordered_map<std::uint32_t, std::string> registeredNames_;
    std::unique_ptr<TFormMessageFilter> filterDialog_;
    std::unique_ptr<TFormLogFind> findDialog_;
    std::string findText_;  // the last text Find looked for
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
