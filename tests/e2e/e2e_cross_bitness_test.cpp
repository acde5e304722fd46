// Catching across the two bitnesses, in a 64-bit Wine session that runs
// 32-bit programs beside 64-bit ones: this build's vantrel.exe catches the
// window fixture of the other bitness (through its companion) with the same
// lines as the fixture of its own, and the other bitness's vantrel.exe
// (other-bitness/ in this build folder) catches this build's fixture. Killing
// Vantrel while it catches through a companion leaves no companion behind,
// and the watched program keeps working. The details of a 64-bit program's
// message hold its whole values.

#include "tests/e2e/driver/driver.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace vantrel::e2e {
namespace {

std::string OtherVantrel() { return WindowsPath(VANTREL_E2E_OTHER_DIR "/vantrel.exe"); }
std::string OtherFixture() { return WindowsPath(VANTREL_E2E_OTHER_FIXTURE); }
bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

class CrossBitnessTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!VANTREL_E2E_CROSS_BUILT || !Exists(OtherVantrel()) || !Exists(OtherFixture()))
            GTEST_SKIP() << "this build holds no vantrel.exe and fixture of the other bitness (built with "
                            "VANTREL_CROSS_E2E=OFF, as scripts/test.sh does where Wine runs only 64-bit programs)";
        // The session must run 32-bit programs beside 64-bit ones.
        try {
            probe_ = Fixture::StartProgram(OtherFixture(), "--only recorder");
        } catch (const DriverError& error) {
            GTEST_SKIP() << "this Wine session does not run 32-bit programs beside 64-bit ones (" << error.what()
                         << ")";
        }
        probe_->Stop();
        registered_ = ::RegisterWindowMessageA("VantrelFixtureMessage");
    }

    // Vantrel (exe) catches the recorder of each fixture in turn: the lines
    // are those of every message once, the same for both. Then Vantrel is
    // killed while catching the last one.
    void CatchBothThenKill(const std::string& exe, const std::string& sameFixture, const std::string& otherFixture) {
        auto same = Fixture::StartProgram(sameFixture, "--only recorder");
        auto other = Fixture::StartProgram(otherFixture, "--only recorder");
        auto app = Vantrel::StartProgram(exe);
        std::vector<std::vector<std::string>> caught;
        for (Fixture* fixture : {same.get(), other.get()}) {
            CatchSession session = CatchSession::Open(*app, fixture->Window("recorder"), /*byFind*/ true);
            ASSERT_TRUE(session.Clear());
            std::string box;
            ASSERT_TRUE(session.Start(&box)) << box;
            caught.push_back(CatchFixtureSequence(session, *fixture));
            if (fixture == same.get()) {
                ASSERT_TRUE(session.Stop());
                ASSERT_TRUE(session.Close());
            }
        }
        EXPECT_EQ(caught[0], ExpectedSequenceLines(registered_));
        EXPECT_EQ(caught[1], caught[0]);

        // Killed while it catches the other bitness: its companion ends with
        // it, and the watched program still takes its posted messages.
        const std::vector<DWORD> companions = CompanionProcesses();
        ASSERT_EQ(companions.size(), 1u);
        app->Kill();
        EXPECT_TRUE(WaitForProcessEnd(companions[0])) << "the companion outlived Vantrel";
        EXPECT_TRUE(CompanionProcesses().empty());
        ASSERT_TRUE(other->Command("clear-log"));
        ASSERT_TRUE(Post(other->Window("recorder"), WM_USER + 0x55, 5, 6));
        EXPECT_TRUE(WaitFor([&] {
            for (const std::string& line : other->RecorderLog())
                if (line == "- 0455 5 6") return true;
            return false;
        }, kWaitTimeout, "the watched program handling a posted message"));
    }

    std::unique_ptr<Fixture> probe_;
    unsigned registered_ = 0;
};

TEST_F(CrossBitnessTest, VantrelCatchesAProgramOfTheOtherBitnessAsOneOfItsOwn) {
    CatchBothThenKill(VantrelExePath(), FixtureExePath(), OtherFixture());
}

TEST_F(CrossBitnessTest, VantrelOfTheOtherBitnessCatchesBothKindsToo) {
    CatchBothThenKill(OtherVantrel(), OtherFixture(), FixtureExePath());
}

TEST_F(CrossBitnessTest, AProgramOf64BitsHasItsWholeValuesInTheDetails) {
    const std::string fixtureExe = VANTREL_E2E_OTHER_BITS == 64 ? OtherFixture() : FixtureExePath();
    auto fixture = Fixture::StartProgram(fixtureExe, "--only capture");
    auto catcher = Fixture::StartProgram(BuildDir() + "\\vantrel_catcher.exe");
    ASSERT_TRUE(catcher->Command("options 0 1"));
    ASSERT_TRUE(catcher->Command("start " + std::to_string(HandleValue(fixture->Window("cap_main")))));
    ASSERT_TRUE(fixture->Command("capture-wide 0x0401 0x1122334455667788 0x123456789ABCDEF0"));
    std::string line;
    WaitFor([&] {
        for (const std::string& l : SplitLines(catcher->Command("lines").value_or("")))
            if (l.rfind("0401 ", 0) == 0) line = l;
        return !line.empty();
    }, kWaitTimeout, "the message's line");
    EXPECT_NE(line.find("| sent     wParam=0x1122334455667788 lParam=0x123456789ABCDEF0"), std::string::npos) << line;
    catcher->Command("stop");
}

}  // namespace
}  // namespace vantrel::e2e
