// Vantrel on a screen at 150 and 200 %. tests/e2e/e2e_dpi_around.sh runs this
// suite twice, with the Wine session's screen at 144 and at 192 pixels per
// inch (VANTREL_E2E_DPI names the scale it is to find). Every window is laid
// out at its scale with fonts sized for it and pictures from the set nearest
// to it; a move to a monitor of another scale lays the main window out again;
// Window from point, the property rows, Edit / Move and the corner arrows work
// in the screen's real pixels.

#include "base/dpi.h"
#include "resources/resource_names.h"
#include "tests/e2e/driver/driver.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace vantrel::e2e {
namespace {

// The scale this run is for, 0 when the suite was not started for one.
int ExpectedDpi() {
    const char* value = std::getenv("VANTREL_E2E_DPI");
    return value ? std::atoi(value) : 0;
}

int ScreenDpi() {
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSX);
    ::ReleaseDC(nullptr, screen);
    return dpi;
}

// The test program, too, sees the screen's real pixels.
void SeeRealPixels() {
    using SetContext = BOOL(WINAPI*)(HANDLE);
    HMODULE user32 = ::GetModuleHandleA("user32.dll");
    auto set = reinterpret_cast<SetContext>(
        reinterpret_cast<void*>(::GetProcAddress(user32, "SetProcessDpiAwarenessContext")));
    // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2; an error when already so.
    if (!set || !set(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4)))) ::SetProcessDPIAware();
}

SIZE ClientSize(HWND window) {
    RECT r{};
    ::GetClientRect(window, &r);
    return {r.right, r.bottom};
}

SIZE OuterSize(HWND window) {
    const RECT r = WindowRect(window);
    return {r.right - r.left, r.bottom - r.top};
}

// A control's rectangle in its dialog's client area.
RECT PlaceIn(HWND dialog, HWND control) {
    RECT r = WindowRect(control);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// The width of a text in a font made here as Vantrel makes its own.
int TextWidth(const std::string& text, int height, BYTE charset, const char* face) {
    HFONT font = ::CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, charset, OUT_DEFAULT_PRECIS,
                               CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, face);
    HDC dc = ::GetDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, font);
    SIZE size{};
    ::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    ::SelectObject(dc, old);
    ::ReleaseDC(nullptr, dc);
    ::DeleteObject(font);
    return size.cx;
}

// The width of the first n characters of an edit control's text, as it lays
// them out in its font.
int EditTextWidth(HWND edit, int n) {
    const auto first = Send(edit, EM_POSFROMCHAR, 0, 0);
    const auto last = Send(edit, EM_POSFROMCHAR, static_cast<WPARAM>(n), 0);
    if (!first || !last || *last == -1) return -1;
    return static_cast<short>(LOWORD(*last)) - static_cast<short>(LOWORD(*first));
}

// The screen's pixels in a rectangle, top row first.
struct Capture {
    RECT area{};
    std::vector<COLORREF> pixels;
    int Width() const { return area.right - area.left; }
    int Height() const { return area.bottom - area.top; }
    COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y * Width() + x)]; }
};

Capture CaptureScreen(const RECT& area) {
    Capture c;
    c.area = area;
    const int w = c.Width(), h = c.Height();
    if (w <= 0 || h <= 0) return c;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, w, h, screen, area.left, area.top, SRCCOPY);
    ::GdiFlush();
    const auto* raw = static_cast<const std::uint32_t*>(bits);
    for (int i = 0; i < w * h; ++i) {
        const std::uint32_t p = raw[i];
        c.pixels.push_back(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
    }
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return c;
}

constexpr COLORREF kMagenta = ProgramImages::kTransparent;

// One drawing of an image strip, as vantrel.exe carries it.
class Strip : public ProgramImages {
public:
    explicit Strip(const resources::ImageStrip& strip) : ProgramImages(strip.resource, strip.size) {}

    // The largest share of the image's opaque pixels that the screen area
    // shows exactly, wherever in the area the image lies.
    double BestMatchIn(int image, const Capture& area) const {
        std::vector<std::array<int, 3>> opaque;  // x, y, colour
        for (int y = 0; y < size(); ++y)
            for (int x = 0; x < size(); ++x)
                if (const COLORREF c = Pixel(image, x, y); c != kMagenta) opaque.push_back({x, y, static_cast<int>(c)});
        double best = 0;
        for (int dy = 0; dy + size() <= area.Height(); ++dy)
            for (int dx = 0; dx + size() <= area.Width(); ++dx) {
                size_t same = 0;
                for (const auto& [x, y, c] : opaque)
                    if (area.At(dx + x, dy + y) == static_cast<COLORREF>(c)) ++same;
                best = std::max(best, opaque.empty() ? 0.0 : static_cast<double>(same) / opaque.size());
            }
        return best;
    }
};

RECT ScreenRectOf(HWND control, RECT client) {
    ::MapWindowPoints(control, nullptr, reinterpret_cast<POINT*>(&client), 2);
    return client;
}

// A tool bar button's rectangle on the screen.
RECT ToolButtonRect(HWND toolBar, int command) {
    const auto buttons = ReadToolBar(toolBar);
    for (size_t i = 0; i < buttons.size(); ++i) {
        if (buttons[i].command != command) continue;
        RECT r{};
        if (!SendWithBuffer(toolBar, TB_GETITEMRECT, i, &r, sizeof r).value_or(0)) break;
        return ScreenRectOf(toolBar, r);
    }
    return {};
}

// A tree node's row (whole == true) or label on the screen.
RECT TreeItemRect(HWND tree, HTREEITEM item, bool labelOnly) {
    RECT r{};
    *reinterpret_cast<HTREEITEM*>(&r) = item;
    if (!SendWithBuffer(tree, TVM_GETITEMRECT, labelOnly ? TRUE : FALSE, &r, sizeof r).value_or(0)) return {};
    return ScreenRectOf(tree, r);
}

// "left top right bottom" as the fixture writes a rectangle.
RECT ParseRect(const std::string& text) {
    std::istringstream in(text);
    RECT r{};
    in >> r.left >> r.top >> r.right >> r.bottom;
    return r;
}

// What the main window's layout reads from outside.
struct MainLayout {
    SIZE outer{};
    int toolBarHeight = 0;
    LRESULT toolButtonSize = 0;
    int statusBarHeight = 0;
    std::array<int, 2> statusParts{};
    int listWidth = 0;
    int propertyColumn = 0;
    int indent = 0;
    int itemHeight = 0;
    int listTextWidth = 0;  // "Extended Style" in the list's font
};

class DpiTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (ExpectedDpi() == 0) return;
        SeeRealPixels();
        session_.Start("--only main");
    }
    static void TearDownTestSuite() { session_.Stop(); }
    void SetUp() override {
        if (ExpectedDpi() == 0)
            GTEST_SKIP() << "the screen's scale is set by tests/e2e/e2e_dpi_around.sh, which names it in VANTREL_E2E_DPI";
        ASSERT_EQ(ScreenDpi(), ExpectedDpi()) << "the Wine session's screen is not at the scale the suite was run for";
        ASSERT_TRUE(session_.app && session_.app->Running());
        ASSERT_TRUE(App().Refresh());
    }
    void TearDown() override {
        if (ExpectedDpi() != 0) session_.CloseStrays({"TForm2", "TForm4", "TForm6"});
    }

    Vantrel& App() { return *session_.app; }
    Fixture& Fix() { return *session_.fixture; }
    static int Dpi() { return ExpectedDpi(); }
    // The scale of the other monitor a window is moved to.
    static int OtherDpi() { return Dpi() == 144 ? 192 : 144; }
    // The system's notice that a window was moved onto a monitor of another
    // scale: the new pixels per inch and the rectangle it suggests there.
    static bool MoveToScale(HWND window, int dpi, RECT suggested) {
        return SendWithBuffer(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), &suggested, sizeof suggested).has_value();
    }
    // A measure at 96 pixels per inch on this screen.
    static int Scale(int measure, int dpi = Dpi()) { return MulDivRounded(measure, dpi, 96); }

    MainLayout ReadMainLayout() {
        MainLayout l;
        l.outer = OuterSize(App().MainWindow());
        const RECT bar = WindowRect(App().ToolBar());
        l.toolBarHeight = bar.bottom - bar.top;
        l.toolButtonSize = Send(App().ToolBar(), TB_GETBUTTONSIZE, 0, 0).value_or(0);
        const RECT status = WindowRect(App().StatusBar());
        l.statusBarHeight = status.bottom - status.top;
        SendWithBuffer(App().StatusBar(), SB_GETPARTS, 2, l.statusParts.data(), sizeof l.statusParts);
        const RECT list = WindowRect(App().ListView());
        l.listWidth = list.right - list.left;
        l.propertyColumn = static_cast<int>(Send(App().ListView(), LVM_GETCOLUMNWIDTH, 0, 0).value_or(0));
        l.indent = static_cast<int>(Send(App().TreeView(), TVM_GETINDENT, 0, 0).value_or(0));
        l.itemHeight = static_cast<int>(Send(App().TreeView(), TVM_GETITEMHEIGHT, 0, 0).value_or(0));
        const char text[] = "Extended Style";
        RemoteProcess process(App().ProcessId());
        RemoteBuffer buffer(process.handle(), sizeof text);
        buffer.Write(text, sizeof text);
        l.listTextWidth = static_cast<int>(Send(App().ListView(), LVM_GETSTRINGWIDTHA, 0, buffer.param()).value_or(0));
        return l;
    }

    // The main window's layout as it must be at dpi, with the property list
    // listWidth wide.
    void ExpectMainLayoutAt(const MainLayout& l, int dpi, int listWidth) {
        SCOPED_TRACE("main window at " + std::to_string(dpi) + " pixels per inch");
        EXPECT_EQ(l.toolBarHeight, Scale(29, dpi));
        EXPECT_EQ(LOWORD(l.toolButtonSize), Scale(23, dpi));
        EXPECT_EQ(HIWORD(l.toolButtonSize), Scale(22, dpi));
        EXPECT_EQ(l.statusBarHeight, Scale(16, dpi));
        EXPECT_EQ(l.statusParts[0], Scale(180, dpi));
        EXPECT_EQ(l.statusParts[1], Scale(180, dpi) + Scale(120, dpi));
        EXPECT_EQ(l.listWidth, listWidth);
        EXPECT_EQ(l.propertyColumn, Scale(85, dpi));
        EXPECT_EQ(l.indent, Scale(27, dpi));
        // Rows hold the tree pictures of the set nearest the scale: 33 or 44
        // pixels high, where those at 96 are 22.
        EXPECT_EQ(l.itemHeight, ImageSizeAt(resources::kTreeImageSize, NearestImageScale(dpi)));
        // The list's font: MS Sans Serif 9 point for this scale.
        EXPECT_EQ(l.listTextWidth, TextWidth("Extended Style", FontHeightForPoints(9, dpi), RUSSIAN_CHARSET, "MS Sans Serif"));
    }

    // The tool bar's Refresh picture and a tree node's picture are those of
    // the set drawn for dpi.
    void ExpectPicturesAt(int dpi) {
        SCOPED_TRACE("pictures at " + std::to_string(dpi) + " pixels per inch");
        const int scale = NearestImageScale(dpi);
        const Strip tools(resources::StripAt(resources::kToolStrips, scale));
        const Strip tree(resources::StripAt(resources::kTreeStrips, scale));
        ASSERT_TRUE(tools.ok() && tree.ok()) << "the strips of vantrel.exe";
        ASSERT_TRUE(App().ActivateMain());
        MoveMouse(5, 1000);  // no button is hot
        HWND main = Fix().Window("main");
        const auto nodes = App().Tree();
        const int node = FindNodeOf(nodes, main, false);
        ASSERT_GE(node, 0);
        ASSERT_TRUE(Send(App().TreeView(), TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(nodes[static_cast<size_t>(node)].item)));
        ASSERT_TRUE(Send(App().MainWindow(), WM_NULL, 0, 0).has_value());
        RECT row = TreeItemRect(App().TreeView(), nodes[static_cast<size_t>(node)].item, false);
        row.top -= 2;
        row.bottom += 2;
        const RECT button = ToolButtonRect(App().ToolBar(), cmd::Refresh1);
        // Painting catches up with the layout within the wait.
        EXPECT_TRUE(WaitFor([&] { return tools.BestMatchIn(0, CaptureScreen(button)) == 1.0; }, kWaitTimeout,
                            "the Refresh button showing the Refresh picture of " + std::to_string(tools.size()) +
                                " pixels"));
        // The fixture's main window is a root without a keyword: picture 32.
        EXPECT_TRUE(WaitFor([&] { return tree.BestMatchIn(32, CaptureScreen(row)) == 1.0; }, kWaitTimeout,
                            "the node of the fixture's main window showing picture 32 of " +
                                std::to_string(tree.size()) + " pixels"));
    }

    static Session session_;
};

Session DpiTest::session_;

TEST_F(DpiTest, TheMainWindowIsLaidOutAtItsScaleWithFontsAndPicturesForIt) {
    HWND main = App().MainWindow();
    const SIZE outer = OuterSize(main);
    EXPECT_EQ(outer.cx, Scale(592));
    EXPECT_EQ(outer.cy, Scale(398));
    const RECT r = WindowRect(main);
    EXPECT_NEAR(r.left, (::GetSystemMetrics(SM_CXSCREEN) - outer.cx) / 2, 1);
    EXPECT_NEAR(r.top, (::GetSystemMetrics(SM_CYSCREEN) - outer.cy) / 2, 1);
    ExpectMainLayoutAt(ReadMainLayout(), Dpi(), Scale(188));

    // The tree's labels in MS Sans Serif 8 point for this scale.
    const auto nodes = App().Tree();
    const int node = FindNodeOf(nodes, Fix().Window("main"), false);
    ASSERT_GE(node, 0);
    const RECT label = TreeItemRect(App().TreeView(), nodes[static_cast<size_t>(node)].item, true);
    const int expected = TextWidth(nodes[static_cast<size_t>(node)].text, FontHeightForPoints(8, Dpi()), DEFAULT_CHARSET,
                                   "MS Sans Serif");
    EXPECT_GE(label.right - label.left, expected);
    EXPECT_LE(label.right - label.left, expected + Scale(6));

    ExpectPicturesAt(Dpi());
}

TEST_F(DpiTest, DialogsAndTheCatchMessagesWindowAreLaidOutAtTheirScale) {
    const int dpi = Dpi();
    // A control's left, top, width and height in its dialog, at this scale.
    const auto expectPlace = [](HWND dialog, int id, RECT measures) {
        const RECT place = PlaceIn(dialog, ::GetDlgItem(dialog, id));
        EXPECT_EQ(place.left, Scale(measures.left)) << id;
        EXPECT_EQ(place.top, Scale(measures.top)) << id;
        EXPECT_EQ(place.right - place.left, Scale(measures.right)) << id;
        EXPECT_EQ(place.bottom - place.top, Scale(measures.bottom)) << id;
    };
    // Edit / Move: 306 x 258, OK at 72, 229 with 75 x 25, text in the dialog's font.
    ASSERT_TRUE(App().SelectWindow(Fix().Window("main")));
    ASSERT_TRUE(App().PostCommand(cmd::EditMove1));
    HWND editMove = App().WaitForWindow("TForm2", "Edit / Move window");
    ASSERT_NE(editMove, nullptr);
    EXPECT_EQ(ClientSize(editMove).cx, Scale(306));
    EXPECT_EQ(ClientSize(editMove).cy, Scale(258));
    expectPlace(editMove, ctl::Button1, {72, 229, 75, 25});
    HWND text = ::GetDlgItem(editMove, ctl::Edit1);
    ASSERT_TRUE(SetWindowTextRemote(text, "Fixture main"));
    EXPECT_EQ(EditTextWidth(text, 11),
              TextWidth("Fixture mai", FontHeightForPoints(8, dpi), DEFAULT_CHARSET, "MS Sans Serif"));
    ASSERT_TRUE(Post(editMove, WM_CLOSE, 0, 0));
    ASSERT_TRUE(App().WaitForWindowGone("TForm2"));

    // Set Style: 671 x 250, the extended style's flags at 448, 24 with 215 x 218.
    ASSERT_TRUE(App().PostCommand(cmd::SetStyle1));
    HWND setStyle = App().WaitForWindow("TForm6", "Set Style");
    ASSERT_NE(setStyle, nullptr);
    EXPECT_EQ(ClientSize(setStyle).cx, Scale(671));
    EXPECT_EQ(ClientSize(setStyle).cy, Scale(250));
    expectPlace(setStyle, ctl::ExStyleFlagList, {448, 24, 215, 218});
    ASSERT_TRUE(Post(setStyle, WM_CLOSE, 0, 0));
    ASSERT_TRUE(App().WaitForWindowGone("TForm6"));

    // About: 298 x 204.
    ASSERT_TRUE(App().PostCommand(cmd::About1));
    HWND about = App().WaitForWindow("TForm3", "Vantrel - About");
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(ClientSize(about).cx, Scale(298));
    EXPECT_EQ(ClientSize(about).cy, Scale(204));
    ASSERT_TRUE(Post(about, WM_CLOSE, 0, 0));
    ASSERT_TRUE(App().WaitForWindowGone("TForm3"));

    // Find: its measures are given at 120 pixels per inch.
    ASSERT_TRUE(App().PostCommand(cmd::FindWindow1));
    HWND find = App().WaitForWindow("TForm4", "Vantrel - Find");
    ASSERT_NE(find, nullptr);
    EXPECT_EQ(ClientSize(find).cx, MulDivRounded(378, dpi, 120));
    EXPECT_EQ(ClientSize(find).cy, MulDivRounded(105, dpi, 120));
    const RECT edit = PlaceIn(find, ::GetDlgItem(find, ctl::Edit1));
    EXPECT_EQ(edit.left, MulDivRounded(120, dpi, 120));
    EXPECT_EQ(edit.top, MulDivRounded(4, dpi, 120));
    EXPECT_EQ(edit.right - edit.left, MulDivRounded(249, dpi, 120));
    EXPECT_EQ(edit.bottom - edit.top, MulDivRounded(24, dpi, 120));
    const RECT cancel = PlaceIn(find, ::GetDlgItem(find, IDCANCEL));
    EXPECT_EQ(cancel.left, MulDivRounded(200, dpi, 120));
    EXPECT_EQ(cancel.right - cancel.left, MulDivRounded(118, dpi, 120));
    // Moved to a monitor of another scale, it keeps its client area and its
    // controls at their measures there, wherever the system suggests it goes.
    const int other = OtherDpi();
    ASSERT_TRUE(MoveToScale(find, other, RECT{50, 60, 50 + Scale(300, other), 60 + Scale(100, other)}));
    EXPECT_EQ(ClientSize(find).cx, MulDivRounded(378, other, 120));
    EXPECT_EQ(ClientSize(find).cy, MulDivRounded(105, other, 120));
    EXPECT_EQ(WindowRect(find).left, 50);
    EXPECT_EQ(PlaceIn(find, ::GetDlgItem(find, IDCANCEL)).left, MulDivRounded(200, other, 120));
    ASSERT_TRUE(Post(find, WM_CLOSE, 0, 0));
    ASSERT_TRUE(App().WaitForWindowGone("TForm4"));

    // Catch Messages: 703 x 403, as wide as the screen where that is
    // narrower; its tool bar and pictures at the scale.
    ASSERT_TRUE(App().PostCommand(cmd::Catchmessages1));
    HWND catchWindow = App().WaitForWindow("TForm5ForHook");
    ASSERT_NE(catchWindow, nullptr);
    EXPECT_EQ(OuterSize(catchWindow).cx, std::min(Scale(703), ::GetSystemMetrics(SM_CXSCREEN)));
    EXPECT_EQ(OuterSize(catchWindow).cy, Scale(403));
    HWND catchBar = FindWindowExA(catchWindow, nullptr, TOOLBARCLASSNAMEA, nullptr);
    ASSERT_NE(catchBar, nullptr);
    const RECT bar = WindowRect(catchBar);
    EXPECT_EQ(bar.bottom - bar.top, Scale(29));
    const LRESULT buttonSize = Send(catchBar, TB_GETBUTTONSIZE, 0, 0).value_or(0);
    EXPECT_EQ(LOWORD(buttonSize), Scale(23));
    EXPECT_EQ(HIWORD(buttonSize), Scale(23));
    const Strip pictures(resources::StripAt(resources::kCatchStrips, NearestImageScale(dpi)));
    ASSERT_TRUE(pictures.ok());
    MoveMouse(5, 1000);
    EXPECT_TRUE(WaitFor(
        [&] { return pictures.BestMatchIn(resources::kCatchStart, CaptureScreen(ToolButtonRect(catchBar, cmd::MenuCatchRun))) == 1.0; },
        kWaitTimeout, "the Start button showing its picture of " + std::to_string(pictures.size()) + " pixels"));
    // On a monitor of another scale: its tool bar and pictures for that one,
    // the pressed and disabled buttons as they were.
    const RECT placed = WindowRect(catchWindow);
    ASSERT_TRUE(MoveToScale(catchWindow, other, RECT{0, 0, Scale(600, other), Scale(300, other)}));
    const RECT otherBar = WindowRect(catchBar);
    EXPECT_EQ(otherBar.bottom - otherBar.top, Scale(29, other));
    EXPECT_EQ(LOWORD(Send(catchBar, TB_GETBUTTONSIZE, 0, 0).value_or(0)), Scale(23, other));
    const Strip otherPictures(resources::StripAt(resources::kCatchStrips, NearestImageScale(other)));
    EXPECT_TRUE(WaitFor(
        [&] { return otherPictures.BestMatchIn(resources::kCatchStart, CaptureScreen(ToolButtonRect(catchBar, cmd::MenuCatchRun))) == 1.0; },
        kWaitTimeout, "the Start button showing its picture of " + std::to_string(otherPictures.size()) + " pixels"));
    for (const ToolButton& b : ReadToolBar(catchBar)) {
        if (b.separator) continue;
        EXPECT_EQ(b.enabled, b.command != cmd::MenuCatchStop) << "button " << b.command;
        if (b.command >= cmd::ToolButton6 && b.command <= cmd::ToolButton11) EXPECT_TRUE(b.checked) << b.command;
    }
    ASSERT_TRUE(MoveToScale(catchWindow, dpi, placed));
    ASSERT_TRUE(Post(catchWindow, WM_COMMAND, cmd::MenuCatchExit, 0));
    ASSERT_TRUE(App().WaitForWindowGone("TForm5ForHook"));
}

TEST_F(DpiTest, WindowFromPointTheRowsEditMoveAndTheArrowsUseTheScreensPixels) {
    // The fixture's own rectangle of its OK button.
    HWND button = Fix().Window("ok");
    const auto reply = Fix().Command("rect ok");
    ASSERT_TRUE(reply.has_value());
    const RECT own = ParseRect(*reply);
    ASSERT_GT(own.right, own.left);

    // The pointer on the button's middle: Window from point selects it.
    ASSERT_TRUE(Activate(Fix().Window("main")));
    MoveMouse((own.left + own.right) / 2, (own.top + own.bottom) / 2);
    ASSERT_TRUE(App().SendCommand(cmd::Windowfrompoint1));
    const int node = FindNodeOf(App().Tree(), button, false);
    ASSERT_GE(node, 0);
    ASSERT_TRUE(WaitFor([&] { return App().SelectedNodeIndex() == node; }, kWaitTimeout, "the OK button's node selected"));
    ASSERT_TRUE(WaitFor([&] { return App().Property("Handle") == ValueText(HandleValue(button), false); },
                        kWaitTimeout, "the OK button's properties"));
    EXPECT_EQ(App().Property("Left"), std::to_string(own.left));
    EXPECT_EQ(App().Property("Top"), std::to_string(own.top));
    EXPECT_EQ(App().Property("Width"), std::to_string(own.right - own.left));
    EXPECT_EQ(App().Property("Height"), std::to_string(own.bottom - own.top));

    // Edit / Move shows the fixture main window's placement in the same pixels.
    const auto mainReply = Fix().Command("rect main");
    ASSERT_TRUE(mainReply.has_value());
    const RECT main = ParseRect(*mainReply);
    ASSERT_TRUE(App().SelectWindow(Fix().Window("main")));
    ASSERT_TRUE(App().PostCommand(cmd::EditMove1));
    HWND dialog = App().WaitForWindow("TForm2", "Edit / Move window");
    ASSERT_NE(dialog, nullptr);
    auto spin = [dialog](int n) { return WindowText(::GetDlgItem(dialog, ctl::SpinEdit1 + n - 1)); };
    EXPECT_EQ(spin(1), std::to_string(main.left));
    EXPECT_EQ(spin(2), std::to_string(main.top));
    EXPECT_EQ(spin(7), std::to_string(main.right - main.left));
    EXPECT_EQ(spin(8), std::to_string(main.bottom - main.top));
    ASSERT_TRUE(Post(dialog, WM_CLOSE, 0, 0));
    ASSERT_TRUE(App().WaitForWindowGone("TForm2"));

    // Show position around the list box: the arrows of the set for this
    // scale, each lying off its corner with its tip on the corner's pixel.
    const Strip arrows(resources::StripAt(resources::kToolStrips, NearestImageScale(Dpi())));
    ASSERT_TRUE(arrows.ok());
    const int n = arrows.size();
    HWND listBox = Fix().Window("listbox");
    const auto listReply = Fix().Command("rect listbox");
    ASSERT_TRUE(listReply.has_value());
    const RECT r = ParseRect(*listReply);
    ASSERT_TRUE(App().SelectWindow(listBox));
    ASSERT_TRUE(Activate(Fix().Window("main")));
    MoveMouse(5, 1000);
    const std::array<std::pair<int, POINT>, 4> squares{{{12, {r.left - n, r.top - n}},
                                                        {13, {r.right, r.top - n}},
                                                        {14, {r.right, r.bottom}},
                                                        {15, {r.left - n, r.bottom}}}};
    auto capture = [&](const POINT& p) { return CaptureScreen(RECT{p.x, p.y, p.x + n, p.y + n}); };
    std::vector<Capture> before;
    for (const auto& [image, at] : squares) {
        ASSERT_EQ(::GetAncestor(::WindowFromPoint(at), GA_ROOT), Fix().Window("main")) << "room for arrow " << image;
        before.push_back(capture(at));
    }
    ASSERT_TRUE(App().SendCommand(cmd::Showposition1));
    for (size_t k = 0; k < squares.size(); ++k) {
        const auto& [image, at] = squares[k];
        const Capture shown = capture(at);
        int wrong = 0;
        for (int y = 0; y < n; ++y)
            for (int x = 0; x < n; ++x) {
                const COLORREF picture = arrows.Pixel(image, x, y);
                const COLORREF expected = picture == kMagenta ? before[k].At(x, y) : picture;
                if (shown.At(x, y) != expected) ++wrong;
            }
        EXPECT_EQ(wrong, 0) << "arrow " << image << " of " << n << " pixels at " << at.x << "," << at.y;
    }
    ASSERT_TRUE(App().SendCommand(cmd::Clearpointers1));
}

TEST_F(DpiTest, AMoveToAMonitorOfAnotherScaleLaysTheMainWindowOutAgain) {
    // The notice comes as when the window is dragged onto the other monitor.
    const int other = OtherDpi();
    HWND main = App().MainWindow();
    const RECT before = WindowRect(main);
    const MainLayout start = ReadMainLayout();
    auto moveTo = [&](int dpi, RECT suggested) { return MoveToScale(main, dpi, suggested); };
    const RECT suggested{40, 30, 40 + MulDivRounded(before.right - before.left, other, Dpi()),
                         30 + MulDivRounded(before.bottom - before.top, other, Dpi())};
    ASSERT_TRUE(moveTo(other, suggested));
    const RECT moved = WindowRect(main);
    EXPECT_EQ(moved.left, suggested.left);
    EXPECT_EQ(moved.top, suggested.top);
    EXPECT_EQ(moved.right, suggested.right);
    EXPECT_EQ(moved.bottom, suggested.bottom);
    ExpectMainLayoutAt(ReadMainLayout(), other, Rescale(start.listWidth, Dpi(), other));
    ExpectPicturesAt(other);
    // The tree still lists and selects as before.
    ASSERT_TRUE(App().SelectWindow(Fix().Window("edit")));

    // And back: everything as it was.
    ASSERT_TRUE(moveTo(Dpi(), before));
    EXPECT_EQ(WindowRect(main).left, before.left);
    EXPECT_EQ(WindowRect(main).right, before.right);
    const MainLayout back = ReadMainLayout();
    ExpectMainLayoutAt(back, Dpi(), start.listWidth);
    EXPECT_EQ(back.listTextWidth, start.listTextWidth);
    ExpectPicturesAt(Dpi());
}

}  // namespace
}  // namespace vantrel::e2e
