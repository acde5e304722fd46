// Window from point: handle keys, node keys and the not-found message.

#include "locate/window_from_point.h"

#include "tests/support/memory_desktop.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vantrel {
namespace {

NodeLabels Labels(const std::vector<std::string>& labels) {
    return {static_cast<int>(labels.size()), [labels](int i) { return labels.at(static_cast<size_t>(i)); }};
}

TEST(LocateFromPointKey, WritesTheHandleAsTheLabelsDo) {
    EXPECT_EQ(HandleKey(131634, false), "0000131634");
    EXPECT_EQ(HandleKey(131634, true), "00020232");
    EXPECT_EQ(HandleKey(0, false), "0000000000");
    EXPECT_EQ(HandleKey(0, true), "00000000");
    EXPECT_EQ(HandleKey(0xFFFFFFFFu, false), "4294967295");
    EXPECT_EQ(HandleKey(0xFFFFFFFFu, true), "FFFFFFFF");
    EXPECT_EQ(HandleKey(2147483648u, false), "2147483648");
    EXPECT_EQ(HandleKey(0xABCDEFu, true), "00ABCDEF");
}

TEST(LocateFromPointKey, NodeKeyIsTheLeadingFieldOrTheWholeShortLabel) {
    EXPECT_EQ(NodeKey("0000131634  OK  {Button}", false), "0000131634");
    EXPECT_EQ(NodeKey("00020232  OK  {Button}", true), "00020232");
    EXPECT_EQ(NodeKey("0002", true), "0002");
    EXPECT_EQ(NodeKey("", false), "");
}

TEST(LocateFromPointFind, MatchesTheWholeKeyOnlyAndTakesTheFirstNode) {
    const NodeLabels decimal = Labels({
        "0000001313  {Other}",
        "0000013134  x0000131634  {Static}",  // the digits appear, but not as the handle field
        "000013163  {Short}",                 // one digit short
        "0000131634  OK  {Button}",
        "0000131634  OK  {Button}",  // listed twice: the first in tree order wins
    });
    EXPECT_EQ(FindHandleNode(decimal, 131634, false), 3);
    EXPECT_EQ(FindHandleNode(decimal, 1313, false), 0);
    EXPECT_EQ(FindHandleNode(decimal, 4242, false), -1);
    EXPECT_EQ(FindHandleNode(Labels({}), 131634, false), -1);

    const NodeLabels hex = Labels({"00020231  {A}", "00020232  OK  {Button}", "0002023"});
    EXPECT_EQ(FindHandleNode(hex, 0x20232, true), 1);
    // A decimal label in hexadecimal mode does not pass for a handle.
    EXPECT_EQ(FindHandleNode(Labels({"0000131634  OK  {Button}"}), 0x20232, true), -1);
    // Handle 0 (no window under the pointer) is only found as a real node.
    EXPECT_EQ(FindHandleNode(hex, 0, true), -1);
    EXPECT_EQ(FindHandleNode(Labels({"00000000  {}"}), 0, true), 0);
}

TEST(LocateFromPointMessage, NamesTheHandleThenAdvisesARefresh) {
    EXPECT_EQ(WindowNotFoundText(1182268, false), "Window [1182268] not found.\rClick \"Refresh\".");
    EXPECT_EQ(WindowNotFoundText(1182268, true), "Window [00120A3C] not found.\rClick \"Refresh\".");
    EXPECT_EQ(WindowNotFoundText(0, false), "Window [0] not found.\rClick \"Refresh\".");
    const std::string text = WindowNotFoundText(7, true);
    const std::size_t cr = text.find('\r');
    ASSERT_NE(cr, std::string::npos);
    EXPECT_EQ(text.find('\n'), std::string::npos);
    EXPECT_EQ(text.substr(cr + 1).size(), 16u);
}

TEST(LocateFromPointCommand, SelectsTheWindowUnderThePointerOrReportsIt) {
    testing::MemoryDesktop desktop;
    desktop.addTopLevel(100, "Dialog", "#32770");
    desktop.addChild(100, 101, "OK", "Button");
    desktop.addTopLevel(200, "Later", "Fresh");
    desktop.cursor = {40, 50};
    desktop.pointMap[{40, 50}] = 101;
    const NodeLabels tree = Labels({"0000000100  Dialog  {#32770}", "0000000101  OK  {Button}"});

    FromPointOutcome onButton = LocateWindowFromPoint(desktop, tree, false);
    EXPECT_EQ(onButton.kind, FromPointOutcome::Kind::Select);
    EXPECT_EQ(onButton.node, 1);  // the button itself, not its dialog

    desktop.pointMap[{40, 50}] = 200;  // created after the tree was built
    FromPointOutcome onNew = LocateWindowFromPoint(desktop, tree, false);
    EXPECT_EQ(onNew.kind, FromPointOutcome::Kind::NotFound);
    EXPECT_EQ(onNew.message, "Window [200] not found.\rClick \"Refresh\".");

    desktop.pointMap.clear();  // nothing under the pointer: handle 0
    FromPointOutcome onNothing = LocateWindowFromPoint(desktop, tree, false);
    EXPECT_EQ(onNothing.kind, FromPointOutcome::Kind::NotFound);
    EXPECT_EQ(onNothing.message, "Window [0] not found.\rClick \"Refresh\".");

    EXPECT_EQ(LocateWindowFromPoint(desktop, Labels({}), true).message,
              "Window [00000000] not found.\rClick \"Refresh\".");
}

}  // namespace
}  // namespace vantrel
