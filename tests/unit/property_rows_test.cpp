// The eighteen rows of the property list and the toggle states they set.

#include "tests/support/memory_desktop.h"
#include "windowops/property_rows.h"
#include "windowops/value_text.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

using testing::MemoryDesktop;

std::vector<std::string> Values(const PropertySheet& s) {
    std::vector<std::string> v;
    for (const auto& r : s.rows) v.push_back(r.value);
    return v;
}

TEST(ValueText, BothNotations) {
    EXPECT_EQ(ValueText(498, true), "000001F2");
    EXPECT_EQ(ValueText(498, false), "498");
    EXPECT_EQ(ValueText(4294967295u, true), "FFFFFFFF");
    EXPECT_EQ(ValueText(4294967295u, false), "4294967295");
    EXPECT_EQ(SignedValueText(0x80000000u, false), "-2147483648");
    EXPECT_EQ(SignedValueText(0x80000000u, true), "80000000");
}

TEST(PropertyRows, EighteenRowsOfAnOrdinaryWindow) {
    MemoryDesktop d;
    d.addTopLevel(100, "Owner", "TForm");
    auto& w = d.addTopLevel(498, "Hello", "Edit", 100);
    w.style = 0x80000000u;  // WS_POPUP
    w.exStyle = 0x100;
    w.userData = 42;
    w.rect = {-8, 10, 792, 610};
    w.placement.showCmd = 1;
    w.ids = {77, 88};
    const PropertySheet s = ReadProperties(d, 498, false);
    const std::vector<std::string> names = {"Handle", "Text", "Class", "Visible", "Enabled", "Stay on top",
        "State", "Left", "Top", "Width", "Height", "Parent window", "Parent real", "Thread ID",
        "Process ID", "Style", "Extended Style", "User Data"};
    ASSERT_EQ(s.rows.size(), 18u);
    for (size_t i = 0; i < 18; ++i) EXPECT_EQ(s.rows[i].property, names[i]);
    const std::vector<std::string> dec = {"498", "Hello", "Edit", "Yes", "Yes", "Off", "Normal", "-8", "10",
        "800", "600", "100", "100", "77", "88", "2147483648", "256", "42"};
    EXPECT_EQ(Values(s), dec);
    const std::vector<std::string> hex = {"000001F2", "Hello", "Edit", "Yes", "Yes", "Off", "Normal", "-8",
        "10", "800", "600", "00000064", "00000064", "0000004D", "00000058", "80000000", "00000100",
        "0000002A"};
    EXPECT_EQ(Values(ReadProperties(d, 498, true)), hex);
    EXPECT_TRUE(s.toggles.show);
    EXPECT_EQ(s.toggles.showHint, "Hide (now is visible)");
    EXPECT_EQ(s.toggles.enableHint, "Disable (now is enabled)");
    EXPECT_EQ(s.toggles.stayOnTopHint, "Stay on top (now is off)");
    EXPECT_TRUE(s.toggles.restore);
    EXPECT_FALSE(s.toggles.minimize || s.toggles.maximize);
}

TEST(PropertyRows, ParentRealWithTopBitReadsNegativeInDecimal) {
    MemoryDesktop d;
    d.addTopLevel(0x80000001u, "o", "c");
    d.addTopLevel(5, "w", "c", 0x80000001u);
    EXPECT_EQ(ReadProperties(d, 5, false).rows[12].value, "-2147483647");
    EXPECT_EQ(ReadProperties(d, 5, false).rows[11].value, "2147483649");
    EXPECT_EQ(ReadProperties(d, 5, true).rows[12].value, "80000001");
}

TEST(PropertyRows, HiddenDisabledTopmostMaximized) {
    MemoryDesktop d;
    auto& w = d.addTopLevel(5, "w", "c");
    w.visible = false;
    w.enabled = false;
    w.exStyle = kExTopmost;
    w.placement.showCmd = kShowMaximized;
    const PropertySheet s = ReadProperties(d, 5, false);
    EXPECT_EQ(s.rows[3].value, "No");
    EXPECT_EQ(s.rows[4].value, "No");
    EXPECT_EQ(s.rows[5].value, "On");
    EXPECT_EQ(s.rows[6].value, "Maximized");
    EXPECT_FALSE(s.toggles.show);
    EXPECT_EQ(s.toggles.showHint, "Show (now is hidden)");
    EXPECT_EQ(s.toggles.enableHint, "Enable (now is disabled)");
    EXPECT_TRUE(s.toggles.stayOnTop);
    EXPECT_EQ(s.toggles.stayOnTopHint, "Off (now is stay on top)");
    EXPECT_TRUE(s.toggles.maximize);
    EXPECT_FALSE(s.toggles.minimize || s.toggles.restore);
    w.placement.showCmd = kShowMinimized;
    const PropertySheet m = ReadProperties(d, 5, false);
    EXPECT_EQ(m.rows[6].value, "Minimized");
    EXPECT_TRUE(m.toggles.minimize);
    EXPECT_FALSE(m.toggles.restore || m.toggles.maximize);
}

TEST(PropertyRows, VanishedWindowStillHasEighteenRows) {
    MemoryDesktop d;
    const PropertySheet s = ReadProperties(d, 1234, false);
    const std::vector<std::string> expected = {"1234", "", "", "No", "No", "Off", "Normal", "0", "0", "0", "0",
        "0", "0", "0", "0", "0", "0", "0"};
    EXPECT_EQ(Values(s), expected);
    EXPECT_TRUE(s.toggles.restore);
    EXPECT_EQ(ReadProperties(d, 1234, true).rows[16].value, "00000000");
}

TEST(PropertyRows, CopyValueAddsCrLf) {
    EXPECT_EQ(CopyValueText({"Class", "Edit"}), "Edit\r\n");
    EXPECT_EQ(CopyValueText({"Text", ""}), "\r\n");
}

}  // namespace
}  // namespace vantrel
