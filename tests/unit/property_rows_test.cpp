// The eighteen rows of the property list and the toggle states they set.

#include "tests/support/memory_desktop.h"
#include "windowops/property_rows.h"
#include "windowops/value_text.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

using testing::MemoryDesktop;

constexpr size_t kEighteen = 18;

// The values of the eighteen rows, or of the rows after them.
std::vector<std::string> Values(const PropertySheet& s, bool eighteen = true) {
    std::vector<std::string> v;
    for (size_t i = eighteen ? 0 : kEighteen; i < (eighteen ? kEighteen : s.rows.size()); ++i)
        v.push_back(s.rows[i].value);
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
    ASSERT_EQ(s.rows.size(), 40u);
    for (size_t i = 0; i < kEighteen; ++i) EXPECT_EQ(s.rows[i].property, names[i]);
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

TEST(PropertyRows, RowsAfterTheEighteenInBothNotations) {
    MemoryDesktop d;
    d.addTopLevel(7, "Main", "Frame");
    auto& w = d.addChild(7, 498, "OK", "Button");
    w.style = 0x50010001;
    w.exStyle = 0x204;
    w.ids = {77, 88};
    w.classInfo = {0x4008, 0xC01A, 4, 16, false, true, true, false};
    w.client = {-30, 20, 50, 45};
    w.scale = {144, DpiAwareness::PerMonitorV2};
    d.ownProcess = 5;
    d.processes[5] = {ProcessAccess::Opened, "C:\\Tools\\vantrel.exe", 32, false, 0x2000, {}};
    d.processes[88] = {ProcessAccess::Opened, "C:\\Program Files\\Notes\\notes.exe", 64, true, 0x3000,
                       DpiAwareness::System};
    const std::vector<std::string> names = {"Style flags", "Extended style flags", "Class style",
        "Class style flags", "Class atom", "Class extra bytes", "Window extra bytes", "Class icon",
        "Class small icon", "Class cursor", "Class background brush", "Program", "Program path",
        "Program bitness", "Higher rights", "Client left", "Client top", "Client width", "Client height", "DPI",
        "DPI awareness", "Program DPI awareness"};
    const PropertySheet s = ReadProperties(d, 498, false);
    for (size_t i = 0; i < names.size(); ++i) EXPECT_EQ(s.rows[kEighteen + i].property, names[i]);
    const std::vector<std::string> dec = {"WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON",
        "WS_EX_NOPARENTNOTIFY | WS_EX_CLIENTEDGE", "16392", "CS_DBLCLKS | CS_GLOBALCLASS", "49178", "4", "16",
        "No", "Yes", "Yes", "No", "notes.exe", "C:\\Program Files\\Notes\\notes.exe", "64-bit",
        "Yes (elevated, higher integrity level)", "-30", "20", "80", "25", "144", "Per monitor aware v2",
        "System aware"};
    EXPECT_EQ(Values(s, false), dec);
    std::vector<std::string> hex = dec;
    hex[2] = "00004008";
    hex[4] = "0000C01A";
    EXPECT_EQ(Values(ReadProperties(d, 498, true), false), hex);

    // Each way to higher rights, and none.
    const struct {
        bool elevated;
        std::uint32_t level;
        const char* text;
    } rights[] = {{true, 0x2000, "Yes (elevated)"}, {false, 0x3000, "Yes (higher integrity level)"},
                  {false, 0x2000, "No"}, {false, 0x1000, "No"}};
    for (const auto& r : rights) {
        d.processes[88].elevated = r.elevated;
        d.processes[88].integrityLevel = r.level;
        EXPECT_EQ(ReadProperties(d, 498, false).rows[kEighteen + 14].value, r.text) << r.elevated << r.level;
    }
}

TEST(PropertyRows, ValuesThatCannotBeReadSaySoNeverZero) {
    const std::string na = "(not available)", denied = "(access denied)";
    MemoryDesktop d;
    auto& w = d.addTopLevel(5, "w", "Frame");
    w.ids = {1, 2};
    w.classInfo.atom = 0xC001;  // the system tells no icon, cursor or brush of this class
    d.processes[2] = {ProcessAccess::Denied};
    std::vector<std::string> expected = {"0", "0", "0", "0", "49153", "0", "0", na, na, na, na, denied, denied,
        denied, denied, "0", "0", "0", "0", na, na, denied};
    EXPECT_EQ(Values(ReadProperties(d, 5, false), false), expected);

    // A program that was opened but tells little, and Vantrel's own unread.
    d.processes[2] = {ProcessAccess::Opened, {}, {}, true, {}, {}};
    expected[11] = expected[12] = expected[13] = expected[14] = expected[21] = na;
    EXPECT_EQ(Values(ReadProperties(d, 5, false), false), expected);

    // A window that has gone: every added row.
    EXPECT_EQ(Values(ReadProperties(d, 1234, true), false), std::vector<std::string>(22, na));
}

TEST(PropertyRows, CopyAllWritesEveryRowAsNameAndValue) {
    EXPECT_EQ(CopyAllText({{"Handle", "000001F2"}, {"Text", ""}, {"Style flags", "WS_CHILD | BS_FLAT"}}),
              "Handle: 000001F2\r\nText: \r\nStyle flags: WS_CHILD | BS_FLAT\r\n");
    EXPECT_EQ(CopyAllText({}), "");
}

TEST(PropertyRows, CopyValueAddsCrLf) {
    EXPECT_EQ(CopyValueText({"Class", "Edit"}), "Edit\r\n");
    EXPECT_EQ(CopyValueText({"Text", ""}), "\r\n");
}

}  // namespace
}  // namespace vantrel
