// Start-up: the application window, the six forms in their order, and the
// message loop that runs until the main window closes.

#include "app/win32_about_dialog.h"
#include "app/win32_form1.h"
#include "app/win32_forms.h"
#include "catch/win32_catch_window.h"
#include "locate/win32_find_dialog.h"
#include "windowops/win32_edit_move_dialog.h"
#include "windowops/win32_set_style_dialog.h"

#include <commctrl.h>

#include <memory>

namespace vantrel::win32 {

namespace {

std::unique_ptr<TForm1> g_form1;
std::unique_ptr<TForm2> g_form2;
std::unique_ptr<TForm3> g_form3;
std::unique_ptr<TForm4> g_form4;
std::unique_ptr<TForm5ForHook> g_form5;
std::unique_ptr<TForm6> g_form6;

int Run(HINSTANCE instance) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_TREEVIEW_CLASSES |
                                                        ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS | ICC_TAB_CLASSES};
    ::InitCommonControlsEx(&controls);
    CreateApplicationWindow(instance);

    // The main window first: its creation sets the program directory, which
    // the Catch Messages window reads when it is created.
    g_form1 = std::make_unique<TForm1>();
    g_form2 = std::make_unique<TForm2>();
    g_form3 = std::make_unique<TForm3>();
    g_form4 = std::make_unique<TForm4>();
    g_form5 = std::make_unique<TForm5ForHook>();
    g_form6 = std::make_unique<TForm6>();

    // Showing activates the main window, which builds the first tree.
    ::ShowWindow(g_form1->hwnd(), SW_SHOW);
    ::UpdateWindow(g_form1->hwnd());

    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) Form::DispatchLoopMessage(msg);

    g_form6.reset();
    g_form5.reset();
    g_form4.reset();
    g_form3.reset();
    g_form2.reset();
    g_form1.reset();
    ::DestroyWindow(ApplicationWindow());
    return static_cast<int>(msg.wParam);
}

}  // namespace

void LoadLibrariesFromTheSystemOnly() {
    // Everything vantrel.exe imports is a library of the system's own or
    // VANTREL.DLL beside it, loaded before this runs. From here on a library
    // that anything in the process loads by name comes from the system
    // folder alone: never one planted beside vantrel.exe (in a downloads
    // folder, say) nor one of the current folder. The call exists from
    // Windows 8 on (and on Windows 7 with its update); without it the current
    // folder at least leaves the search.
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    const auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFunction>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    if (setDefault) setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
    ::SetDllDirectoryW(L"");
}

TForm1& Form1() { return *g_form1; }
TForm2& Form2() { return *g_form2; }
TForm3& Form3() { return *g_form3; }
TForm4& Form4() { return *g_form4; }
TForm5ForHook& Form5ForHook() { return *g_form5; }
TForm6& Form6() { return *g_form6; }

}  // namespace vantrel::win32

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    vantrel::win32::LoadLibrariesFromTheSystemOnly();
    return vantrel::win32::Run(instance);
}
