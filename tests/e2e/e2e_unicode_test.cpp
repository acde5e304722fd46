// Texts in every script, on each road that carries one: the tree's labels and
// the property list read back in UTF-16 against the fixture's Unicode windows
// (Cyrillic, Greek, Chinese, Arabic, a surrogate pair), the 255-unit cut, Find
// without case, Window from point, the Edit / Move write, Copy value in both
// clipboard formats, the Catch Messages caption, and Save as in both file types
// and into a folder with a Chinese name. Under Wine the 8-bit code page is
// 1252: a text that went through it comes back with "?" and fails here.

#include "base/unicode.h"
#include "tests/e2e/driver/driver.h"
#include "tests/e2e/fixture/script_texts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vantrel::e2e {
namespace {

std::string U8(std::u16string_view text) { return Utf16ToUtf8(text); }

const ScriptWindow& Script(std::string_view name) {
    for (const ScriptWindow& script : kScriptWindows)
        if (script.name == name) return script;
    throw DriverError("no script window " + std::string(name));
}

// What a node label of the window is, written from the label's rule: handle
// field, two spaces and the text (when there is one), two spaces, {class}.
std::string Label(HWND window, std::u16string_view caption, std::u16string_view className) {
    return HandleField(window, false) + "  " + U8(caption) + "  {" + U8(className) + "}";
}

// The system's own upper case of a text, for finding labels without case.
std::wstring SystemUpper(const std::string& text) {
    std::wstring wide = WideText(text);
    ::CharUpperBuffW(wide.data(), static_cast<DWORD>(wide.size()));
    return wide;
}

class UnicodeTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { session_.Start("--only scripts"); }
    static void TearDownTestSuite() { session_.Stop(); }
    void SetUp() override {
        ASSERT_TRUE(session_.app && session_.app->Running());
        ASSERT_TRUE(App().Refresh());
    }
    void TearDown() override { session_.CloseStrays({"TForm2", "TForm4"}); }

    Vantrel& App() { return *session_.app; }
    Fixture& Fix() { return *session_.fixture; }
    HWND W(const std::string& name) { return Fix().Window(name); }

    int NodeOf(HWND window) { return FindNodeOf(App().Tree(), window, false); }
    bool WaitSelected(HWND window, const std::string& what) {
        return WaitFor([&] { return App().SelectedNodeIndex() == NodeOf(window); }, kWaitTimeout, what);
    }

    // The first node whose label holds the text in any case, as the system
    // folds case.
    int FirstHit(const std::string& text) {
        const auto tree = App().Tree();
        for (size_t i = 0; i < tree.size(); ++i)
            if (SystemUpper(tree[i].text).find(SystemUpper(text)) != std::wstring::npos) return static_cast<int>(i);
        return -1;
    }

    // Opens a dialog by its command, writes the text into its field Edit1,
    // which must keep it, checks the check box given and confirms with OK.
    void Enter(int command, const char* form, const std::string& text, int checkBox = 0) {
        ASSERT_TRUE(App().PostCommand(command));
        HWND dialog = App().WaitForWindow(form);
        ASSERT_NE(dialog, nullptr);
        HWND field = ::GetDlgItem(dialog, ctl::Edit1);
        ASSERT_TRUE(SetWindowTextRemote(field, text));
        ASSERT_EQ(WindowText(field), text) << "the field of " << form << " keeps the text";
        if (checkBox) ASSERT_TRUE(Send(::GetDlgItem(dialog, checkBox), BM_SETCHECK, BST_CHECKED, 0));
        ASSERT_TRUE(ClickDialogButton(dialog, IDOK));
        ASSERT_TRUE(App().WaitForWindowGone(form));
    }

    static Session session_;
};

Session UnicodeTest::session_;

TEST_F(UnicodeTest, TreeLabelsAndTextAndClassRowsKeepEveryScript) {
    const auto tree = App().Tree();
    for (const ScriptWindow& script : kScriptWindows) {
        SCOPED_TRACE(script.name);
        const int node = FindNodeOf(tree, W(script.name), false);
        ASSERT_GE(node, 0);
        EXPECT_EQ(tree[static_cast<size_t>(node)].text, Label(W(script.name), script.caption, script.className));
        ASSERT_TRUE(App().SelectWindow(W(script.name)));
        EXPECT_EQ(App().Property("Text"), U8(script.caption));
        EXPECT_EQ(App().Property("Class"), U8(script.className));
    }
}

TEST_F(UnicodeTest, ALongTitleIsCutAt255UnitsBeforeASurrogatePair) {
    HWND window = W("longscript");
    const std::u16string title = LongScriptTitle();
    ASSERT_EQ(Fix().Command("text longscript"), U8(title)) << "the fixture holds the whole title";
    // The label's 255th unit is the first half of the pair at 242: the label
    // ends before it, 254 units long; the Text row likewise before the pair at 254.
    const std::string label = HandleField(window, false) + "  " + U8(title.substr(0, kLongScriptPairs[0]));
    ASSERT_EQ(Utf16Length(label), 254u);
    const int node = NodeOf(window);
    ASSERT_GE(node, 0);
    EXPECT_EQ(App().Tree()[static_cast<size_t>(node)].text, label);
    ASSERT_TRUE(App().SelectWindow(window));
    EXPECT_EQ(App().Property("Text"), U8(title.substr(0, kLongScriptPairs[1])));
}

TEST_F(UnicodeTest, FindMatchesCyrillicAndGreekInEitherCase) {
    // "privet" in small letters finds "Privet", "ab" in Greek finds "AB".
    const std::vector<std::pair<std::string, std::string>> searches = {
        {U8(u"\u043F\u0440\u0438\u0432\u0435\u0442"), "cyrillic"},
        {U8(u"\u03B1\u03B2"), "greek"},
    };
    for (const auto& [text, name] : searches) {
        SCOPED_TRACE(name);
        for (const TreeNode& node : App().Tree()) ASSERT_EQ(node.text.find(text), std::string::npos);
        ASSERT_EQ(FirstHit(text), NodeOf(W(name)));
        // From the beginning.
        ASSERT_NO_FATAL_FAILURE(Enter(cmd::FindWindow1, "TForm4", text, ctl::CheckBox1));
        EXPECT_TRUE(WaitSelected(W(name), "the node of the " + name + " window"));
    }
}

TEST_F(UnicodeTest, WindowFromPointSelectsACyrillicWindow) {
    HWND window = W("cyrillic");
    ASSERT_TRUE(Activate(window));
    const RECT r = WindowRect(window);
    const POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    MoveMouse(p.x, p.y);
    ASSERT_EQ(::WindowFromPoint(p), window);
    // Sent, not keyed: activating Vantrel could cover the window.
    ASSERT_TRUE(App().SendCommand(cmd::Windowfrompoint1));
    ASSERT_TRUE(WaitSelected(window, "the node of the Cyrillic window"));
    EXPECT_EQ(App().Property("Text"), U8(Script("cyrillic").caption));
}

TEST_F(UnicodeTest, EditMoveWritesAGreekText) {
    // "Kalimera kosme" in Greek.
    const std::string greek = U8(u"\u039A\u03B1\u03BB\u03B7\u03BC\u03AD\u03C1\u03B1 \u03BA\u03CC\u03C3\u03BC\u03B5");
    ASSERT_TRUE(Fix().Command("create-wide edited Fixture edited"));
    HWND window = W("edited");
    ASSERT_TRUE(App().Refresh());
    ASSERT_TRUE(App().SelectWindow(window));
    ASSERT_NO_FATAL_FAILURE(Enter(cmd::EditMove1, "TForm2", greek));
    ASSERT_TRUE(WaitFor([&] { return Fix().Command("text edited") == greek; }, kWaitTimeout,
                        "the fixture window to hold the Greek text"));
    EXPECT_TRUE(WaitFor([&] { return App().Property("Text") == greek; }, kWaitTimeout, "the Text row"));
}

TEST_F(UnicodeTest, CopyValueOffersUnicodeTextAndTheSystemsAnsiConversion) {
    const ScriptWindow& script = Script("emoji");  // Latin letters and a surrogate pair
    ASSERT_TRUE(App().SelectWindow(W(script.name)));
    ASSERT_TRUE(App().SelectPropertyRow("Text"));
    ASSERT_TRUE(EmptyClipboardText());
    ASSERT_TRUE(App().SendCommand(cmd::Copy1));

    const std::string copied = U8(script.caption) + "\r\n";
    EXPECT_TRUE(ClipboardOffers(CF_UNICODETEXT));
    EXPECT_TRUE(ClipboardOffers(CF_TEXT));
    EXPECT_EQ(ClipboardUnicodeText(), copied);
    const std::wstring wide = WideText(copied);
    std::string ansi(wide.size() * 2 + 1, '\0');
    ansi.resize(static_cast<size_t>(::WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()),
                                                          ansi.data(), static_cast<int>(ansi.size()), nullptr,
                                                          nullptr)));
    EXPECT_EQ(ClipboardText(), ansi);
}

TEST_F(UnicodeTest, SaveAsWritesEveryFileTypeAndIntoAChineseFolder) {
    const ScriptWindow& script = Script("chinese");
    CatchSession session = CatchSession::Open(App(), W(script.name));
    EXPECT_EQ(WindowText(session.window),
              "Catch Messages - " + Label(W(script.name), script.caption, script.className));
    // A log of Latin lines: messages posted to the window while caught.
    ASSERT_TRUE(session.Clear());
    ASSERT_TRUE(session.Start());
    ASSERT_TRUE(Fix().Command(std::string("post ") + script.name + " 0x477 1 2"));
    ASSERT_TRUE(WaitFor([&] { return session.Log().find("WM_USER+119") != std::string::npos; }, kWaitTimeout,
                        "the posted message in the log"));
    ASSERT_TRUE(session.Stop());
    const std::string saved = session.Log() + "\r\n";
    ASSERT_TRUE(IsAscii(saved));

    // The three file types in order, the first offered first; each writes
    // the same bytes for a Latin log: 8-bit ANSI as always, UTF-8 without a
    // byte-order mark.
    const std::vector<std::string> types = {"Text files (*.txt)", "Unicode text (UTF-8)", "All files (*.*)"};
    for (int type = 1; type <= 3; ++type) {
        SCOPED_TRACE("file type " + std::to_string(type));
        const std::string path = TempFilePath("unicode-log");
        const SaveOutcome outcome = SaveLogAs(App(), session.window, path, 0, 60000, type);
        EXPECT_EQ(outcome.problem, "");
        EXPECT_EQ(outcome.Box(), "");
        EXPECT_EQ(outcome.fileTypes, types);
        if (type == 1) EXPECT_EQ(outcome.offeredFileType, 1);
        EXPECT_EQ(FileBytes(path), saved);
    }

    // A folder named in Chinese ("wenjianjia"), the type the dialog offers.
    const std::string folder = BuildDir() + "\\e2e-temp\\" + U8(u"\u6587\u4EF6\u5939");
    ::CreateDirectoryW(WideText(folder).c_str(), nullptr);
    const std::string path = folder + "\\" + U8(u"\u65E5\u5FD7") + ".txt";
    ::DeleteFileW(WideText(path).c_str());
    const SaveOutcome outcome = SaveLogAs(App(), session.window, path);
    EXPECT_EQ(outcome.problem, "");
    EXPECT_EQ(outcome.Box(), "");
    EXPECT_EQ(FileBytes(path), saved);
    session.Close();
}

}  // namespace
}  // namespace vantrel::e2e
