#include "catch/win32_catch_window.h"

#include "base/path.h"
#include "catch/catch_window_tables.h"
#include "catch/log_find.h"
#include "hooklib/vantrel_hook.h"
#include "platform/win32_desktop.h"
#include "platform/win32_text.h"
#include "resources/resource_names.h"
#include "shell/command_ids.h"
#include "shell/error_report.h"
#include "shell/program_state.h"
#include "shell/win32_command_bars.h"

#include <commctrl.h>
#include <commdlg.h>

#include <atomic>
#include <new>
#include <optional>
#include <string_view>
#include <vector>

namespace vantrel::win32 {

namespace {

// Measures at 96 pixels per inch.
constexpr int kWidth = 703;
constexpr int kHeight = 403;
constexpr int kMinWidth = 294;
constexpr int kMinHeight = 188;
constexpr int kToolBarHeight = 29;
constexpr int kButtonHeight = 23;
constexpr int kButtonWidth = 23;
constexpr int kLogFontHeight = 11;
constexpr int kStatusHeight = 17;
// Posted by the notification handler when a line could not be logged.
constexpr UINT kLoggingFailedMessage = WM_APP + 1;
// While the returns are taken: the last send's return shows this long after
// it came, also when nothing more is announced.
constexpr UINT_PTR kReturnsTimer = 1;
constexpr UINT kReturnsDelayMs = 100;
constexpr std::uint32_t kFirstRegistered = 0xC000, kLastRegistered = 0xFFFF;

// Writes the log file. A file the user agreed to replace is written beside
// it first and put in its place only once complete, so a write that fails
// (a full disk) leaves the old log as it was instead of a cut-off one.
void WriteLogFile(const std::string& name, const std::string& bytes, bool replacing) {
    const std::wstring wideName = Wide(name);
    std::wstring target = wideName;
    if (replacing) {
        const std::string directory = DirectoryOf(name);
        const std::wstring folder = directory.empty() ? std::wstring(L".") : Wide(directory);
        wchar_t temporary[MAX_PATH] = {};
        if (!::GetTempFileNameW(folder.c_str(), L"vtl", 0, temporary)) throw VantrelError("Cannot create file " + name);
        target = temporary;
    }
    {
        FileHandle out(::CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                     nullptr));
        if (!out) {
            if (replacing) ::DeleteFileW(target.c_str());
            throw VantrelError("Cannot create file " + name);
        }
        DWORD written = 0;
        if (!::WriteFile(out.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
            written != bytes.size()) {
            out.reset();
            ::DeleteFileW(target.c_str());
            throw VantrelError("Stream write error");
        }
    }
    if (replacing && !::MoveFileExW(target.c_str(), wideName.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        ::DeleteFileW(target.c_str());
        throw VantrelError("Cannot create file " + name);
    }
}

}  // namespace

TForm5ForHook::TForm5ForHook() : Form("TForm5ForHook") {
    CreateFormWindow("Catch Messages", WS_OVERLAPPEDWINDOW, 0);
    // On a screen narrower than the window the window takes the screen's width.
    const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    const int width = screenWidth < Scale(kWidth) ? screenWidth : Scale(kWidth);
    SetWindowSize(width, Scale(kHeight));
    swallowEscape_ = true;
    dialogKeys_ = false;
    FormCreate();
}

void TForm5ForHook::FormCreate() {
    imageList1_ = LoadImageStrip(resources::kCatchStrips, Dpi());
    MenuHandle menu = BuildMenuBar(CatchMenuTable(), imageList1_.get(), menuBitmaps_);
    // The window destroys its menu bar with itself.
    ::SetMenu(hwnd(), menu.release());
    accelerators_ = BuildAccelerators(CatchMenuTable());
    ToolBar1 = BuildToolBar(hwnd(), ctl::CatchToolBar1, CatchToolBarTable(), imageList1_.get(), kButtonWidth,
                            kButtonHeight, hints_, DpiScale{Dpi()});
    ::SendMessageW(ToolBar1, WM_SETFONT, reinterpret_cast<WPARAM>(DialogFont()), FALSE);
    // A new font makes the tool bar measure its buttons anew: they keep their size.
    ::SendMessageW(ToolBar1, TB_SETBUTTONSIZE, 0, MAKELPARAM(Scale(kButtonWidth), Scale(kButtonHeight)));

    LogView::Register();
    // The pane's style tells tools that read it what it stands in for: a
    // read-only multi-line text control that keeps its selection shown.
    Memo1 = AddControl(LogView::kClassName, "",
                       WS_VSCROLL | WS_HSCROLL | WS_TABSTOP | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL |
                           ES_AUTOHSCROLL | ES_NOHIDESEL,
                       0, kToolBarHeight, 100, 100, ctl::Memo1, WS_EX_CLIENTEDGE);
    logView_ = LogView::Of(Memo1);
    ScaleLogFont();
    CatchStatus = AddControl("STATIC", "", SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS | SS_CENTERIMAGE, 0, 0, 100,
                             kStatusHeight, ctl::CatchStatus);
    ::ShowWindow(CatchStatus, SW_HIDE);
    if (logView_) {
        // "Hide this message": the message of the line clicked, from then on.
        logView_->SetLineMenuItem("&Hide this message", [this](std::uint32_t message) {
            RunGuarded([&] { log_.messages.Hide(message); });
        });
    }
    log_.registeredName = [this](std::uint32_t message) { return RegisteredName(message); };
    SetOwnWindowText(Memo1, kLogHeader);
    char limit[32] = {};
    const DWORD length = ::GetEnvironmentVariableA(kLogLineLimitVariable, limit, sizeof limit);
    if (logView_) logView_->SetLineLimit(LogLineLimit(length > 0 && length < sizeof limit ? limit : nullptr));

    saveDirectory_ = ProgramDir;
    LayoutControls();
}

void TForm5ForHook::ScaleLogFont() {
    // Courier New, 11 pixels high at 96 pixels per inch.
    FontHandle old = std::move(memoFont_);
    memoFont_.reset(::CreateFontW(-Scale(kLogFontHeight), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN,
                                  L"Courier New"));
    ::SendMessageW(Memo1, WM_SETFONT, reinterpret_cast<WPARAM>(memoFont_.get()), TRUE);
}

void TForm5ForHook::DpiChanged(int) {
    // The new pictures go into the tool bar and the menu before the old list
    // goes; every button keeps its state.
    ImageListHandle images = LoadImageStrip(resources::kCatchStrips, Dpi());
    ::SendMessageW(ToolBar1, WM_SETFONT, reinterpret_cast<WPARAM>(DialogFont()), FALSE);
    RescaleToolBar(ToolBar1, CatchToolBarTable(), images.get(), kButtonWidth, kButtonHeight, DpiScale{Dpi()});
    std::vector<BitmapHandle> menuBitmaps;
    ReplaceMenuBitmaps(Menu(), CatchMenuTable(), {}, images.get(), menuBitmaps);
    std::swap(menuBitmaps_, menuBitmaps);
    ::DrawMenuBar(hwnd());
    std::swap(imageList1_, images);
    ScaleLogFont();
    LayoutControls();
}

void TForm5ForHook::LayoutControls() {
    RECT client;
    ::GetClientRect(hwnd(), &client);
    const int toolBar = Scale(kToolBarHeight);
    ::MoveWindow(ToolBar1, 0, 0, client.right, toolBar, TRUE);
    const int status = ::IsWindowVisible(CatchStatus) ? Scale(kStatusHeight) : 0;
    const int height = client.bottom - toolBar - status;
    ::MoveWindow(Memo1, 0, toolBar, client.right, height < 0 ? 0 : height, TRUE);
    if (status) ::MoveWindow(CatchStatus, Scale(2), client.bottom - status, client.right - Scale(4), status, TRUE);
}

int TForm5ForHook::ShowFor(std::string nodeText, std::function<Handle()> selectedWindow) {
    // With no node selected there is nothing to name after the dash.
    captionNode_ = std::move(nodeText);
    selectedWindow_ = std::move(selectedWindow);
    return ShowModal();
}

void TForm5ForHook::FormShow() {
    caption_.clear();
    UpdateCaption();
    // Each showing begins without a Find notice.
    ::ShowWindow(CatchStatus, SW_HIDE);
    SetOwnWindowText(CatchStatus, "");
    LayoutControls();
    // The log pane, the window's one control that takes keys, has them from
    // the start: the keys that select and copy work without a click first.
    ::SetFocus(Memo1);

    mapping_.reset(::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kHookRecordSize,
                                        kHookMappingName));
    if (mapping_) view_.reset(::MapViewOfFile(mapping_.get(), FILE_MAP_ALL_ACCESS, 0, 0, kHookRecordSize));
    // The details object beside it, whose header tells whether a record is whole.
    detailsMapping_.reset(::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kDetailsObjectSize,
                                               kDetailsMappingName));
    if (detailsMapping_)
        detailsView_.reset(::MapViewOfFile(detailsMapping_.get(), FILE_MAP_READ, 0, 0, kDetailsObjectSize));
    SetCatching(false);
    if (!view_ || !detailsView_) {
        // Without the shared record no report could be read: say so, and keep
        // Start disabled for this showing.
        view_.reset();
        mapping_.reset();
        detailsView_.reset();
        detailsMapping_.reset();
        MessageBoxFor(hwnd(), "Unable to create the shared memory of the hook\rMessages cannot be caught.",
                      kApplicationTitle, MB_ICONERROR);
        ::SendMessageW(ToolBar1, TB_ENABLEBUTTON, cmd::MenuCatchRun, FALSE);
        EnableMenuCommand(Menu(), cmd::MenuCatchRun, false);
    }
}

void TForm5ForHook::FormClose() {
    ToolButton4Click();
    view_.reset();
    mapping_.reset();
    detailsView_.reset();
    detailsMapping_.reset();
}

void TForm5ForHook::SetCatching(bool catching) {
    catching_ = catching;
    const bool canStart = !catching && view_;
    ::SendMessageW(ToolBar1, TB_ENABLEBUTTON, cmd::MenuCatchRun, canStart);
    EnableMenuCommand(Menu(), cmd::MenuCatchRun, canStart);
    ::SendMessageW(ToolBar1, TB_ENABLEBUTTON, cmd::MenuCatchStop, catching);
    EnableMenuCommand(Menu(), cmd::MenuCatchStop, catching);
    EnableMenuCommand(Menu(), cmd::MenuCatchSave, !catching);
    // What a catch watches is chosen before it starts.
    for (std::uint32_t w = 0; w < kHookWatchCount; ++w)
        EnableMenuCommand(Menu(), WatchCommand(static_cast<HookWatch>(w)), !catching);
    if (catching && takingReturns_) ::SetTimer(hwnd(), kReturnsTimer, kReturnsDelayMs, nullptr);
    else ::KillTimer(hwnd(), kReturnsTimer);
}

void TForm5ForHook::ToolButton2Click() {
    if (catching_ || !view_) return;
    const HWND watched = ToHwnd(selectedWindow_ ? selectedWindow_() : 0);
    DWORD owner = 0;
    watchingOwnWindow_ = ::GetWindowThreadProcessId(watched, &owner) != 0 && owner == ::GetCurrentProcessId();
    log_.reports.Restart();
    log_.fates.Clear();
    loggingFailed_ = false;
    // The library keeps the choice; told again before every Start, the two
    // never differ.
    SetMyHookOptions(static_cast<DWORD>(watch_), log_.details ? kHookOptionDetails : 0);
    if (SetMyHook(hwnd(), watched) == 0) {
        // The library leaves the reason, where it can tell one, as the last
        // error; a program with higher rights than Vantrel's is the reason
        // Windows itself gives no word of.
        const DWORD reason = ::GetLastError();
        Desktop& desktop = TheDesktop();
        const bool higherRights = RunsWithHigherRights(desktop.processInfo(desktop.threadProcess(ToHandle(watched)).process),
                                                       desktop.processInfo(desktop.ownProcessId()));
        MessageBoxFor(hwnd(), StartFailureText(reason, higherRights), kApplicationTitle, MB_ICONERROR);
        return;
    }
    // Start leaves there the number just before the catch's first report.
    lastTaken_ = std::atomic_ref<std::uint32_t>(
                     static_cast<HookDetailsHeader*>(detailsView_.get())->reportNumber).load();
    takingReturns_ = log_.details;
    log_.targets = watch_ != HookWatch::Window;
    SetCatching(true);
}

void TForm5ForHook::ToolButton4Click() {
    RemoveMyHook();
    // The returns that came after the last announced report.
    if (catching_ && takingReturns_) Logging([&] { TakeReturns(0); });
    SetCatching(false);
}

void TForm5ForHook::MenuCatchExitClick() { SetModalResult(kResultCancel); }

void TForm5ForHook::CategoryButtonClick(Category category) {
    const CategoryControls& controls = CategoryTable()[static_cast<int>(category)];
    const bool pressed = ::SendMessageW(ToolBar1, TB_ISBUTTONCHECKED, controls.toolButton, 0) != 0;
    log_.filter[category] = pressed;
    CheckMenuCommand(Menu(), controls.menuItem, pressed);
}

void TForm5ForHook::CategoryMenuClick(Category category) {
    const CategoryControls& controls = CategoryTable()[static_cast<int>(category)];
    const bool pressed = ::SendMessageW(ToolBar1, TB_ISBUTTONCHECKED, controls.toolButton, 0) != 0;
    ::SendMessageW(ToolBar1, TB_CHECKBUTTON, controls.toolButton, !pressed);
    CategoryButtonClick(category);
}

void TForm5ForHook::Hiderepetitions1Click() {
    log_.hideRepetitions = !log_.hideRepetitions;
    CheckMenuCommand(Menu(), cmd::Hiderepetitions1, log_.hideRepetitions);
}

void TForm5ForHook::MenuCatchClearClick() {
    SetOwnWindowText(Memo1, kLogHeader);
    // A log begun afresh lacks nothing yet.
    log_.reports.ForgetMissed();
    UpdateCaption();
}

// The caption names the node and tells what the log lacks: set only when
// that changes, not on every line.
void TForm5ForHook::UpdateCaption() {
    const LogBuffer* buffer = logView_ ? &logView_->Buffer() : nullptr;
    const std::string caption = CatchCaption(captionNode_, buffer && buffer->LimitReached(),
                                             buffer ? buffer->LineLimit() : 0, log_.reports.Missed());
    if (caption == caption_) return;
    caption_ = caption;
    SetOwnWindowText(hwnd(), caption);
}

void TForm5ForHook::AppendLine(const std::string& line, std::uint32_t message) {
    if (!logView_) return;
    logView_->Append(line, message);
    if (watchingOwnWindow_) {
        // Paint now, while the report is handled: a repaint left for later
        // would itself be reported when the watched window is one of ours
        // (the log pane above all), and log a line that asks for the next
        // repaint, without end.
        logView_->UpdateNow();
    } else {
        // Another program's window: the screen catches up a moment later,
        // once for however many lines came in meanwhile.
        logView_->RequestUpdate();
    }
}

LRESULT TForm5ForHook::InpMessage() {
    // After a failure the reporting program is let go at once: no box from
    // inside a notification, and none for every further one. Nothing is
    // announced while Vantrel does not catch, whoever sends the notification.
    if (!catching_ || !view_ || !detailsView_ || loggingFailed_) return 0;
    // A record a writer was still writing is no message. The details are
    // read with it whenever the library may have written them.
    const auto* object = static_cast<const std::uint8_t*>(detailsView_.get());
    const bool withDetails = log_.details || log_.targets || takingReturns_;
    const std::optional<AnnouncedReport> report =
        ReadAnnouncedReport(view_.get(), *reinterpret_cast<const HookDetailsHeader*>(object),
                            withDetails ? reinterpret_cast<const MessageDetails*>(object + kDetailsOffset) : nullptr);
    if (!report) return 0;
    Logging([&] {
        // The returns before this report come first, in their order.
        if (takingReturns_ && report->number) TakeReturns(*report->number);
        if (auto line = log_.Take(*report, HexMode)) AppendLine(*line, report->record.message);
        if (report->number && NumberAfter(*report->number, lastTaken_)) lastTaken_ = *report->number;
    });
    return 0;
}

void TForm5ForHook::TakeReturns(std::uint32_t before) {
    lastTaken_ = vantrel::TakeReturns(detailsView_.get(), lastTaken_, before, [&](const ReturnEntry& entry) {
        const AnnouncedReport report = ReturnedReport(entry);
        if (auto line = log_.Take(report, HexMode)) AppendLine(*line, report.record.message);
    });
}

void TForm5ForHook::Logging(const std::function<void()>& step) {
    const bool limitReached = logView_ && logView_->Buffer().LimitReached();
    const std::uint64_t missed = log_.reports.Missed();
    try {
        step();
    } catch (const std::bad_alloc&) {
        failure_ = "Out of memory: the log takes no more lines, catching has stopped";
    } catch (const std::exception& error) {
        failure_ = std::string(error.what()) + ": catching has stopped";
    }
    if (!failure_.empty() && !loggingFailed_) {
        loggingFailed_ = true;
        ::PostMessageW(hwnd(), kLoggingFailedMessage, 0, 0);
    }
    if (logView_ && (logView_->Buffer().LimitReached() != limitReached || log_.reports.Missed() != missed))
        UpdateCaption();
}

std::string TForm5ForHook::RegisteredName(std::uint32_t message) {
    if (message < kFirstRegistered || message > kLastRegistered) return {};
    const auto known = registeredNames_.find(message);
    if (known != registeredNames_.end()) return known->second;
    // Registered messages and clipboard formats share the system's names.
    wchar_t name[256] = {};
    const int length = ::GetClipboardFormatNameW(message, name, 256);
    return registeredNames_[message] = length > 0 ? Narrow(std::wstring_view(name, static_cast<std::size_t>(length)))
                                                  : std::string();
}

void TForm5ForHook::SetDetails(bool on) {
    // While catching the library switches the details in the watched
    // programs at once; where it cannot, the switch stays as it was.
    if (!SetMyHookOptions(static_cast<DWORD>(watch_), on ? kHookOptionDetails : 0) && catching_) {
        const std::string reason = HookFailureReason(::GetLastError());
        ::SendMessageW(ToolBar1, TB_CHECKBUTTON, cmd::DetailsButton, log_.details);
        MessageBoxFor(hwnd(), "Unable to switch the details\r(VANTREL.DLL)" + (reason.empty() ? "" : "\r" + reason),
                      kApplicationTitle, MB_ICONERROR);
        return;
    }
    log_.details = on;
    ::SendMessageW(ToolBar1, TB_CHECKBUTTON, cmd::DetailsButton, on);
    CheckMenuCommand(Menu(), cmd::MenuViewDetails, on);
    if (on && catching_ && !takingReturns_) {
        takingReturns_ = true;
        SetCatching(true);
    }
}

void TForm5ForHook::DetailsButtonClick() {
    SetDetails(::SendMessageW(ToolBar1, TB_ISBUTTONCHECKED, cmd::DetailsButton, 0) != 0);
}

void TForm5ForHook::MenuViewDetailsClick() { SetDetails(!log_.details); }

void TForm5ForHook::WatchClick(HookWatch watch) {
    if (catching_) return;
    watch_ = watch;
    ::CheckMenuRadioItem(Menu(), WatchCommand(HookWatch::Window), WatchCommand(HookWatch::Process),
                         WatchCommand(watch), MF_BYCOMMAND);
}

void TForm5ForHook::MenuMessFilterClick() {
    if (!filterDialog_) filterDialog_ = std::make_unique<TFormMessageFilter>();
    filterDialog_->Edit(log_.messages);
}

void TForm5ForHook::MenuLogFindClick() {
    if (!logView_) return;
    if (!findDialog_) findDialog_ = std::make_unique<TFormLogFind>();
    if (findDialog_->ShowModal() != kResultOk) return;
    findText_ = findDialog_->Text();
    FindNext();
}

void TForm5ForHook::MenuLogFindNextClick() {
    if (findText_.empty()) MenuLogFindClick();
    else FindNext();
}

// The next line after the caret's that holds the text, selected and in
// view; how it went is told under the log, never in a box.
void TForm5ForHook::FindNext() {
    if (!logView_) return;
    const std::optional<LogFindResult> found = FindInLog(logView_->Buffer(), findText_, logView_->CaretLine());
    if (found) logView_->SelectLine(found->line);
    ShowNotice(FindNotice(findText_, found));
}

void TForm5ForHook::ShowNotice(const std::string& text) {
    SetOwnWindowText(CatchStatus, text);
    if (::IsWindowVisible(CatchStatus)) return;
    ::ShowWindow(CatchStatus, SW_SHOWNA);
    LayoutControls();
}

// Once the failed notification has returned: catching stops and the user
// learns why, once.
void TForm5ForHook::LoggingFailed() {
    if (failure_.empty()) return;
    const std::string failure = std::move(failure_);
    failure_.clear();
    if (catching_) ToolButton4Click();
    ShowErrorReport(failure);
}

void TForm5ForHook::MenuCatchSaveClick() {
    if (catching_) return;
    std::wstring file = Wide(saveFileName_);
    file.resize(MAX_PATH * 4, L'\0');
    const std::wstring initialDirectory = Wide(saveDirectory_);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = hwnd();
    // The log file as ever comes first; the same lines in UTF-8 come second.
    dialog.lpstrFilter = L"Text files (*.txt)\0*.TXT\0Unicode text (UTF-8)\0*.TXT\0All files (*.*)\0*.*\0";
    dialog.nFilterIndex = saveFileType_;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = initialDirectory.empty() ? nullptr : initialDirectory.c_str();
    dialog.lpstrDefExt = L"TXT";
    dialog.Flags = OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_EXPLORER;
    if (!::GetSaveFileNameW(&dialog)) return;
    const std::string name = Narrow(file.c_str());
    saveFileName_ = name;
    saveFileType_ = dialog.nFilterIndex;

    const DWORD attributes = ::GetFileAttributesW(Wide(name).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        const std::string question = name + " already exist.\rDo you want to replace them?";
        if (MessageBoxFor(hwnd(), question, "Warning", MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    }

    const std::string lines = LogFileBytes(logView_ ? std::string_view(logView_->Buffer().Text()) : kLogHeader);
    std::string bytes = lines;
    if (saveFileType_ != kUtf8FileType) {
        // An ANSI file keeps only the characters of the code page: rather
        // than writing "?" for the others unasked, the user may take UTF-8.
        bool lost = false;
        bytes = ToAnsi(lines, true, &lost);
        if (lost) {
            switch (MessageBoxFor(hwnd(), kAnsiLossQuestion, kApplicationTitle, MB_YESNOCANCEL | MB_ICONWARNING)) {
            case IDYES:
                bytes = lines;
                break;
            case IDNO:
                break;
            default:
                return;
            }
        }
    }

    WriteLogFile(name, bytes, attributes != INVALID_FILE_ATTRIBUTES);
}

void TForm5ForHook::RunCommand(int command) {
    if (const CategoryControls* controls = CategoryOfCommand(command)) {
        if (command == controls->toolButton) CategoryButtonClick(controls->category);
        else CategoryMenuClick(controls->category);
        return;
    }
    switch (command) {
        case cmd::MenuCatchRun: ToolButton2Click(); break;
        case cmd::MenuCatchStop: ToolButton4Click(); break;
        case cmd::Hiderepetitions1: Hiderepetitions1Click(); break;
        case cmd::MenuCatchClear: MenuCatchClearClick(); break;
        case cmd::MenuCatchSave: MenuCatchSaveClick(); break;
        case cmd::MenuCatchExit: MenuCatchExitClick(); break;
        case cmd::DetailsButton: DetailsButtonClick(); break;
        case cmd::MenuViewDetails: MenuViewDetailsClick(); break;
        case cmd::MenuMessFilter: MenuMessFilterClick(); break;
        case cmd::MenuLogFind: MenuLogFindClick(); break;
        case cmd::MenuLogFindNext: MenuLogFindNextClick(); break;
        default:
            if (const std::optional<HookWatch> watch = WatchOfCommand(command)) WatchClick(*watch);
            break;
    }
}

bool TForm5ForHook::PreTranslateMessage(MSG& msg) {
    if (accelerators_ && ::TranslateAcceleratorW(hwnd(), accelerators_.get(), &msg)) return true;
    return Form::PreTranslateMessage(msg);
}

LRESULT TForm5ForHook::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case HookNotifyMessage:
            return InpMessage();
        case kLoggingFailedMessage:
            LoggingFailed();
            return 0;
        case WM_TIMER:
            if (wParam != kReturnsTimer) break;
            if (catching_ && takingReturns_ && detailsView_ && !loggingFailed_) Logging([&] { TakeReturns(0); });
            return 0;
        case WM_COMMAND: {
            const int command = LOWORD(wParam);
            // Notifications of the log pane are no commands.
            if (lParam && reinterpret_cast<HWND>(lParam) == Memo1) break;
            RunGuarded([&] { RunCommand(command); });
            return 0;
        }
        case WM_NOTIFY:
            if (AnswerToolTip(reinterpret_cast<NMHDR*>(lParam), hints_)) return 0;
            break;
        case WM_SIZE:
            LayoutControls();
            return 0;
        case WM_GETMINMAXINFO: {
            auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
            info->ptMinTrackSize.x = Scale(kMinWidth);
            info->ptMinTrackSize.y = Scale(kMinHeight);
            return 0;
        }
        default:
            break;
    }
    return Form::HandleMessage(message, wParam, lParam);
}


}  // namespace vantrel::win32
