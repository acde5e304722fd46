// The main window and the window tree, worked from outside against the window
// fixture: start-up, node labels, pictures, hierarchy, status bar counts, the
// display mode, Refresh, a rebuild past a window that does not answer, and a
// Refresh sent while a rebuild waits for a slow window.

#include "tests/e2e/driver/driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

using namespace vantrel::e2e;
namespace cmd = vantrel::cmd;

namespace {

// One fixture and one Vantrel for the read-only tests of a suite: Vantrel
// starts after the fixture, so its first tree holds every fixture window.
class TreeTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { session_.Start("--only owner,main,hidden,minimized,topmost,popup,longtext,userdata"); }
    static void TearDownTestSuite() { session_.Stop(); }
    void SetUp() override {
        ASSERT_NE(session_.app, nullptr);
        ASSERT_TRUE(session_.app->Running()) << "vantrel.exe is no longer running";
    }

    static HWND W(const std::string& name) { return session_.fixture->Window(name); }

    // The node of a fixture window in a tree read now; fails the test if absent.
    static int NodeOf(const std::vector<TreeNode>& nodes, HWND window, bool hex = false) {
        int index = FindNodeOf(nodes, window, hex);
        EXPECT_GE(index, 0) << "no node for " << HandleField(window, hex) << " (" << WindowText(window)
                            << ")";
        return index;
    }

    static Session session_;
};

Session TreeTest::session_;

// The children of a window in the z-order the system reports, topmost first.
std::vector<HWND> ChildWindowsInZOrder(HWND parent) {
    std::vector<HWND> children;
    for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(child);
    }
    return children;
}

std::vector<std::string> Texts(const std::vector<TreeNode>& nodes, const std::vector<int>& indexes) {
    std::vector<std::string> texts;
    for (int index : indexes) {
        texts.push_back(nodes[index].text);
    }
    return texts;
}

}  // namespace

TEST_F(TreeTest, MainWindowStartsCentredWithItsCaptionAndHiddenForms) {
    HWND main = session_.app->MainWindow();
    EXPECT_EQ(WindowText(main), "Vantrel");
    RECT rect = WindowRect(main);
    EXPECT_EQ(rect.right - rect.left, 592);
    EXPECT_EQ(rect.bottom - rect.top, 398);
    const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    EXPECT_NEAR(rect.left, (screenWidth - 592) / 2, 1);
    EXPECT_NEAR(rect.top, (screenHeight - 398) / 2, 1);

    HWND application = session_.app->FindWindowOfClass("TApplication");
    ASSERT_NE(application, nullptr) << "no application window of class TApplication";
    EXPECT_EQ(WindowText(application), "Vantrel");

    for (const char* form : {"TForm2", "TForm3", "TForm4", "TForm5ForHook", "TForm6"}) {
        HWND window = session_.app->FindWindowOfClass(form);
        EXPECT_NE(window, nullptr) << "no window of class " << form;
        if (window) {
            EXPECT_FALSE(::IsWindowVisible(window)) << form << " is visible at start";
        }
    }
}

TEST_F(TreeTest, StatusBarCountsRootsAndAllNodes) {
    ASSERT_TRUE(session_.app->Refresh());
    auto nodes = session_.app->Tree();
    auto status = session_.app->StatusTexts();
    ASSERT_GE(status.size(), 2u);
    EXPECT_EQ(status[0], " Windows: " + std::to_string(ChildrenOfNode(nodes, -1).size()));
    EXPECT_EQ(status[1], " Total: " + std::to_string(nodes.size()));
}

TEST_F(TreeTest, LabelsCarryHandleTextAndClass) {
    auto nodes = session_.app->Tree();
    int ok = NodeOf(nodes, W("ok"));
    ASSERT_GE(ok, 0);
    EXPECT_EQ(nodes[ok].text, HandleField(W("ok"), false) + "  OK  {Button}");
    EXPECT_EQ(nodes[ok].text.substr(0, 10).find_first_not_of("0123456789"), std::string::npos);

    // No window text: only the braced class after the handle field.
    int listbox = NodeOf(nodes, W("listbox"));
    ASSERT_GE(listbox, 0);
    EXPECT_EQ(nodes[listbox].text, HandleField(W("listbox"), false) + "  {ListBox}");

    int main = NodeOf(nodes, W("main"));
    ASSERT_GE(main, 0);
    EXPECT_EQ(nodes[main].text, HandleField(W("main"), false) + "  Fixture main  {VantrelFixtureTop}");

    // A 300-character text: the label is cut to 255 characters, the class lost.
    int longtext = NodeOf(nodes, W("longtext"));
    ASSERT_GE(longtext, 0);
    const std::string text = WindowText(W("longtext"));
    ASSERT_EQ(text.size(), 300u);
    EXPECT_EQ(nodes[longtext].text, HandleField(W("longtext"), false) + "  " + text.substr(0, 243));
    EXPECT_EQ(nodes[longtext].text.size(), 255u);
}

TEST_F(TreeTest, PicturesFollowTheClassName) {
    auto nodes = session_.app->Tree();
    const std::vector<std::pair<std::string, int>> expected = {
        {"ok", 3},        // Button
        {"radio", 19},    // TRadioButton: the radio button test comes after the button test
        {"checklist", 12},  // TCheckListBox: the list box test comes after the check list test
        {"tree", 31},     // SysTreeView32
        {"toolbar", 29},  // MyToolbarWindow32: the tool bar test comes after the window test
        {"edit", 8},      // Edit
        {"static", 25},   // Static
        {"listbox", 12},  // ListBox
        {"host", 0},      // a child whose class matches no keyword
        {"main", 32},     // a root node
        {"owner", 32},
    };
    for (const auto& [name, image] : expected) {
        int index = NodeOf(nodes, W(name));
        if (index < 0) {
            continue;
        }
        EXPECT_EQ(nodes[index].image, image) << name << ": " << nodes[index].text;
        EXPECT_EQ(nodes[index].selectedImage, image) << name << ": " << nodes[index].text;
    }
    // Vantrel's own windows are listed too.
    int application = NodeOf(nodes, session_.app->FindWindowOfClass("TApplication"));
    if (application >= 0) {
        EXPECT_EQ(nodes[application].image, 1);
    }
    int treeView = NodeOf(nodes, session_.app->TreeView());
    if (treeView >= 0) {
        EXPECT_EQ(nodes[treeView].image, 31);
    }
}

TEST_F(TreeTest, ChildWindowsHangUnderTheirParentsInZOrder) {
    auto nodes = session_.app->Tree();
    for (const char* parentName : {"main", "host"}) {
        HWND parent = W(parentName);
        int parentIndex = NodeOf(nodes, parent);
        ASSERT_GE(parentIndex, 0);
        std::vector<std::string> expected;
        for (HWND child : ChildWindowsInZOrder(parent)) {
            expected.push_back(HandleField(child, false));
        }
        // Under a node its owned windows come first (a tree view's tool tip
        // window, say), then its child windows.
        std::vector<std::string> children;
        bool childSeen = false;
        for (int child : ChildrenOfNode(nodes, parentIndex)) {
            EXPECT_EQ(nodes[child].depth, nodes[parentIndex].depth + 1);
            HWND window = HandleFromValue(static_cast<uint32_t>(std::stoul(nodes[child].text.substr(0, 10))));
            if (::GetAncestor(window, GA_PARENT) == parent) {
                children.push_back(nodes[child].text.substr(0, 10));
                childSeen = true;
            } else {
                EXPECT_EQ(::GetWindow(window, GW_OWNER), parent) << nodes[child].text;
                EXPECT_FALSE(childSeen) << "owned window after a child window: " << nodes[child].text;
            }
        }
        EXPECT_EQ(children, expected) << "children of " << parentName << ": "
                                      << ::testing::PrintToString(Texts(nodes, ChildrenOfNode(nodes, parentIndex)));
    }
    int radio = NodeOf(nodes, W("radio"));
    ASSERT_GE(radio, 0);
    EXPECT_EQ(nodes[radio].depth, 2);
}

TEST_F(TreeTest, OwnedWindowMetBeforeItsOwnerHangsUnderItAndOneMetAfterIsARoot) {
    auto order = session_.fixture->Command("zorder");
    ASSERT_TRUE(order.has_value());
    ASSERT_LT(order->find("owned_early"), order->find("owner\n")) << *order;
    ASSERT_GT(order->find("owned_late"), order->find("owner\n")) << *order;

    auto nodes = session_.app->Tree();
    int owner = NodeOf(nodes, W("owner"));
    int early = NodeOf(nodes, W("owned_early"));
    int late = NodeOf(nodes, W("owned_late"));
    ASSERT_GE(owner, 0);
    ASSERT_GE(early, 0);
    ASSERT_GE(late, 0);
    EXPECT_EQ(nodes[owner].parent, -1);
    EXPECT_EQ(nodes[early].parent, owner);
    EXPECT_EQ(nodes[early].image, 0);  // not a root, and its class matches no keyword
    EXPECT_EQ(nodes[late].parent, -1);
    EXPECT_EQ(nodes[late].image, 32);
}

TEST_F(TreeTest, HiddenMinimizedMaximizedTopmostAndPopupWindowsAreListed) {
    auto nodes = session_.app->Tree();
    for (const char* name : {"hidden", "minimized", "topmost", "popup", "userdata"}) {
        int index = NodeOf(nodes, W(name));
        if (index >= 0) {
            EXPECT_EQ(nodes[index].parent, -1) << name;
        }
    }
    for (const char* form : {"TForm2", "TForm3", "TForm4", "TForm5ForHook", "TForm6"}) {
        HWND window = session_.app->FindWindowOfClass(form);
        if (window) {
            EXPECT_GE(FindNodeOf(nodes, window, false), 0) << form << " is missing from the tree";
        }
    }
}

TEST_F(TreeTest, HexadecimalModeRewritesLabelsAndKeepsTheSelection) {
    ASSERT_TRUE(session_.app->SelectWindow(W("ok")));
    for (int round = 0; round < 2; ++round) {  // choosing it again gives the same result
        ASSERT_TRUE(session_.app->SetHexMode(true));
        auto nodes = session_.app->Tree();
        for (const TreeNode& node : nodes) {
            ASSERT_GE(node.text.size(), 8u);
            EXPECT_EQ(node.text.substr(0, 8).find_first_not_of("0123456789ABCDEF"), std::string::npos)
                << node.text;
            EXPECT_TRUE(node.text.size() == 8 || node.text.compare(8, 2, "  ") == 0) << node.text;
        }
        int ok = NodeOf(nodes, W("ok"), true);
        ASSERT_GE(ok, 0);
        EXPECT_EQ(nodes[ok].text, HandleField(W("ok"), true) + "  OK  {Button}");
        EXPECT_TRUE(nodes[ok].selected) << "the selected window's node is not selected again";
        EXPECT_TRUE(WaitFor([&] { return session_.app->Property("Handle") == HandleField(W("ok"), true); },
                            kWaitTimeout, "the property list in hexadecimal"));
        int longtext = NodeOf(nodes, W("longtext"), true);
        if (longtext >= 0) {
            EXPECT_EQ(nodes[longtext].text,
                      HandleField(W("longtext"), true) + "  " + WindowText(W("longtext")).substr(0, 245));
        }
    }
    ASSERT_TRUE(session_.app->SetHexMode(false));
    auto nodes = session_.app->Tree();
    int ok = NodeOf(nodes, W("ok"));
    ASSERT_GE(ok, 0);
    EXPECT_TRUE(nodes[ok].selected);
    EXPECT_EQ(session_.app->Property("Handle"), std::to_string(HandleValue(W("ok"))));
}

TEST_F(TreeTest, SelectionOpensOnlyThePathToTheSelectedNodeAfterARebuild) {
    ASSERT_TRUE(session_.app->SelectWindow(W("radio")));
    ASSERT_TRUE(session_.app->Refresh());
    auto nodes = session_.app->Tree();
    int radio = NodeOf(nodes, W("radio"));
    ASSERT_GE(radio, 0);
    EXPECT_TRUE(nodes[radio].selected);
    std::set<int> path;
    for (int node = nodes[radio].parent; node >= 0; node = nodes[node].parent) {
        path.insert(node);
        EXPECT_TRUE(nodes[node].expanded) << nodes[node].text;
    }
    for (size_t i = 0; i < nodes.size(); ++i) {
        if (!path.count(static_cast<int>(i)) && nodes[i].hasChildren) {
            EXPECT_FALSE(nodes[i].expanded) << nodes[i].text;
        }
    }
}

TEST_F(TreeTest, RefreshListsWindowsCreatedAfterTheFirstTree) {
    auto created = session_.fixture->Command("create late_one Fixture late one");
    ASSERT_TRUE(created.has_value());
    HWND late = W("late_one");
    EXPECT_LT(FindNodeOf(session_.app->Tree(), late, false), 0) << "the tree changed without a rebuild";

    ASSERT_TRUE(session_.app->Refresh());
    auto nodes = session_.app->Tree();
    int index = NodeOf(nodes, late);
    ASSERT_GE(index, 0);
    EXPECT_EQ(nodes[index].text, HandleField(late, false) + "  Fixture late one  {VantrelFixtureTop}");

    // F5 from the keyboard does the same.
    ASSERT_TRUE(session_.fixture->Command("create late_two Fixture late two").has_value());
    HWND lateTwo = W("late_two");
    ASSERT_TRUE(session_.app->ActivateMain());
    PressKey(VK_F5);
    EXPECT_TRUE(WaitFor([&] { return session_.app->TreeComplete() && FindNodeOf(session_.app->Tree(), lateTwo, false) >= 0; },
                        kWaitTimeout, "the window created later in the tree after F5"));
    session_.fixture->Command("destroy late_one");
    session_.fixture->Command("destroy late_two");
}

TEST(TreeWithHungWindow, RebuildFinishesAndTheHungWindowTextReadsEmpty) {
    auto fixture = Fixture::Start("--only main,hung");
    auto app = Vantrel::Start();
    HWND hung = fixture->Window("hung");
    ASSERT_TRUE(fixture->Command("hang").has_value());
    ASSERT_TRUE(WaitFor([&] { return !Send(hung, WM_NULL, 0, 0, 1000).has_value(); }, kWaitTimeout,
                        "the fixture window to hang"));

    const bool finished = app->Refresh();
    EXPECT_TRUE(finished) << "the rebuild waited on the hung window";
    if (finished) {
        auto nodes = app->Tree();
        int index = FindNodeOf(nodes, hung, false);
        ASSERT_GE(index, 0);
        EXPECT_EQ(nodes[index].text, HandleField(hung, false) + "  {VantrelFixtureTop}");
        EXPECT_GE(FindNodeOf(nodes, fixture->Window("ok"), false), 0);
    }
    // Once the window answers again, its text comes back.
    fixture->Command("unhang");
    EXPECT_TRUE(WaitFor(
        [&] {
            if (!app->Refresh()) return false;
            const auto nodes = app->Tree();
            const int index = FindNodeOf(nodes, hung, false);
            return index >= 0 && nodes[static_cast<size_t>(index)].text.find("Fixture hung") != std::string::npos;
        },
        kWaitTimeout, "the text of the window that answers again"));
}

TEST(TreeWithSlowWindow, ARefreshSentDuringARebuildIsDoneOnceAfterIt) {
    auto fixture = Fixture::Start("--only main,slow");
    auto app = Vantrel::Start();
    auto slowTexts = [&] { return std::stoi(fixture->Command("slow-count").value_or("-1")); };
    const int before = slowTexts();
    ASSERT_GE(before, 1);

    // The rebuild waits for the slow window's text; a Refresh sent meanwhile
    // is taken at once and done after it, not inside it.
    ASSERT_TRUE(app->ActivateMain());
    ASSERT_TRUE(app->PostCommand(cmd::Refresh1));
    ASSERT_TRUE(WaitFor([&] { return slowTexts() > before; }, kWaitTimeout, "the rebuild to ask the slow window"));
    ASSERT_TRUE(app->SendCommand(cmd::Refresh1));
    ASSERT_TRUE(fixture->Command("release-slow").has_value());
    ASSERT_TRUE(WaitFor([&] { return slowTexts() == before + 2 && app->TreeComplete(); }, kWaitTimeout,
                        "one more rebuild after the running one"));
    Send(app->MainWindow(), WM_NULL, 0, 0);
    EXPECT_EQ(slowTexts(), before + 2);

    // One node per window, each under its parent, and the counts agree.
    const auto nodes = app->Tree();
    for (const auto& [name, window] : fixture->Windows()) {
        if (name == "control") continue;
        const std::string field = HandleField(window, false);
        const auto count = std::count_if(nodes.begin(), nodes.end(), [&](const TreeNode& node) {
            return node.text.compare(0, field.size(), field) == 0;
        });
        EXPECT_EQ(count, 1) << name;
    }
    const int host = FindNodeOf(nodes, fixture->Window("host"), false);
    const int radio = FindNodeOf(nodes, fixture->Window("radio"), false);
    ASSERT_GE(radio, 0);
    EXPECT_EQ(nodes[static_cast<size_t>(radio)].parent, host);
    const int slow = FindNodeOf(nodes, fixture->Window("slow"), false);
    ASSERT_GE(slow, 0);
    EXPECT_EQ(nodes[static_cast<size_t>(slow)].text, HandleField(fixture->Window("slow"), false) +
                                                         "  Fixture slow  {VantrelFixtureSlow}");
    const auto status = app->StatusTexts();
    ASSERT_GE(status.size(), 2u);
    EXPECT_EQ(status[0], " Windows: " + std::to_string(ChildrenOfNode(nodes, -1).size()));
    EXPECT_EQ(status[1], " Total: " + std::to_string(nodes.size()));
}
