// The hook library's portable rules: which way a hook is set for a watched
// program of either bitness, the whole-record count of the details header,
// and the writers' lock in the shared record when its holder has gone.

#include "hooklib/hook_channel.h"
#include "hooklib/hook_rules.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <set>

namespace {

using vantrel::hook::ChooseRoute;
using vantrel::hook::Route;

TEST(HookRoute, OtherBitnessGoesThroughItsCompanionAndTheSwitchRoutesTheOwnToo) {
    // A 32-bit library on a 64-bit system: 32-bit programs (WOW64) directly,
    // 64-bit ones through the 64-bit companion.
    EXPECT_EQ(ChooseRoute(false, true, true, false), Route::Direct);
    EXPECT_EQ(ChooseRoute(false, true, false, false), Route::Companion64);
    // A 64-bit library: the other way round.
    EXPECT_EQ(ChooseRoute(true, true, false, false), Route::Direct);
    EXPECT_EQ(ChooseRoute(true, true, true, false), Route::Companion32);
    // A 32-bit system knows no WOW64; a process that cannot be asked counts
    // as one of the library's own bitness.
    EXPECT_EQ(ChooseRoute(false, false, false, false), Route::Direct);
    EXPECT_EQ(ChooseRoute(false, true, std::nullopt, false), Route::Direct);
    EXPECT_EQ(ChooseRoute(true, true, std::nullopt, false), Route::Direct);
    // The test switch: the library's own bitness through the companion of that bitness.
    EXPECT_EQ(ChooseRoute(false, true, true, true), Route::Companion32);
    EXPECT_EQ(ChooseRoute(true, true, false, true), Route::Companion64);
    EXPECT_EQ(ChooseRoute(false, false, false, true), Route::Companion32);
    EXPECT_EQ(vantrel::hook::CompanionProgram(64), "vantrel64.exe");
    EXPECT_EQ(vantrel::hook::CompanionLibrary(32), "VANTREL32.DLL");
}

TEST(HookRecordWords, PendingFormOfAWindowIsNoWindowAndNoneOfTheLibrarysWordsIsTheProgramsField) {
    using vantrel::hook::PendingWindow;
    for (std::uint32_t w : {0x10020u, 0x2003Au, 0x7FFFFFFFu, 0x80000001u}) {
        EXPECT_NE(PendingWindow(w), w);
        EXPECT_NE(PendingWindow(w), 0u);
        EXPECT_EQ(PendingWindow(PendingWindow(w)), w);
    }
    EXPECT_LT(offsetof(vantrel::HookRecord, writerLock), offsetof(vantrel::HookRecord, sequence));
}

TEST(HookDetailsHeader, AWriterMakesTheCountOddThenEvenAndAReaderTellsWhatWasNotWhole) {
    using vantrel::ReadWhole;
    using vantrel::WholeWriteBegins;
    using vantrel::WholeWriteEnds;
    std::uint32_t count = 0;
    EXPECT_TRUE(ReadWhole(count, [] {}));  // no writer ever: whole
    const std::uint32_t even = WholeWriteBegins(count);
    EXPECT_EQ(count, 1u);
    EXPECT_FALSE(ReadWhole(count, [] {}));  // a writer is writing
    WholeWriteEnds(count, even);
    EXPECT_EQ(count, 2u);
    bool copied = false;
    EXPECT_TRUE(ReadWhole(count, [&] { copied = true; }));
    EXPECT_TRUE(copied);
    // A write while the reader copies.
    EXPECT_FALSE(ReadWhole(count, [&] { WholeWriteEnds(count, WholeWriteBegins(count)); }));
    // Words left odd or planted: up to the next even number, never back to 0.
    struct Case {
        std::uint32_t planted, writing, whole;
    };
    for (const Case& c : {Case{5, 7, 8}, Case{0xFFFFFFFE, 0xFFFFFFFF, 2}, Case{0xFFFFFFFF, 1, 2}}) {
        count = c.planted;
        const std::uint32_t end = WholeWriteBegins(count);
        EXPECT_EQ(count, c.writing) << c.planted;
        EXPECT_EQ(end, c.whole) << c.planted;
    }
    for (std::uint32_t number : {0u, 1u, 0xFFFFFFFFu, 0x5A3C96E1u}) {
        EXPECT_NE(vantrel::HandshakeAnswer(number), 0u);
        EXPECT_NE(vantrel::HandshakeAnswer(number), number);
    }
}

// A clock that moves one millisecond per pause, a set of living threads, and
// a holder that may give the lock back at a given moment.
struct FakeSystem {
    std::uint64_t now = 1000;
    std::set<std::uint32_t> alive;
    std::uint32_t* word = nullptr;
    std::uint64_t releaseAt = 0;  // 0: the holder never releases
    std::uint64_t NowMs() const { return now; }
    bool ThreadAlive(std::uint32_t id) {
        ++asked;
        return alive.count(id) != 0;
    }
    void Pause(unsigned) {
        ++now;
        if (releaseAt && now >= releaseAt) *word = 0;
    }
    int asked = 0;
};

TEST(HookWriterLock, FreeLockIsTakenAtOnceAndReleasedOnlyByItsHolder) {
    std::uint32_t word = 0;
    FakeSystem system;
    vantrel::hook::TakeWriterLock(word, 7, system);
    EXPECT_EQ(word, 7u);
    EXPECT_EQ(system.now, 1000u);
    vantrel::hook::ReleaseWriterLock(word, 8);  // not the holder: no effect
    EXPECT_EQ(word, 7u);
    vantrel::hook::ReleaseWriterLock(word, 7);
    EXPECT_EQ(word, 0u);
}

TEST(HookWriterLock, HolderThatEndedIsReplacedWithinAFewMilliseconds) {
    // A watched program crashed while it reported: its thread holds the lock for good.
    std::uint32_t word = 41;
    FakeSystem system;
    system.word = &word;
    vantrel::hook::TakeWriterLock(word, 7, system);
    EXPECT_EQ(word, 7u);
    EXPECT_LE(system.now - 1000, vantrel::hook::kOwnerCheckMs + 1);
    EXPECT_EQ(system.asked, 1);
}

TEST(HookWriterLock, LivingHolderIsWaitedForAndALockLeftUnderAReusedNumberIsTakenOnceStale) {
    // A living writer that releases after 30 ms: waited for, asked about once.
    std::uint32_t word = 41;
    FakeSystem system;
    system.word = &word;
    system.alive = {41};
    system.releaseAt = 1030;
    vantrel::hook::TakeWriterLock(word, 7, system);
    EXPECT_EQ(word, 7u);
    EXPECT_EQ(system.now, 1030u);
    EXPECT_EQ(system.asked, 1);

    // The number of a writer that ended now belongs to a living thread: the
    // word stays unchanged past any report's length and is then taken over.
    word = 42;
    system.now = 1000;
    system.asked = 0;
    system.alive = {42};
    system.releaseAt = 0;
    vantrel::hook::TakeWriterLock(word, 7, system);
    EXPECT_EQ(word, 7u);
    EXPECT_EQ(system.now - 1000, vantrel::hook::kStaleLockMs);
    EXPECT_GE(vantrel::hook::kStaleLockMs, vantrel::hook::kNotifyTimeoutMs);

    // The lock word left with this thread's own number (it was given the
    // number of a writer that ended) is this thread's at once.
    word = 7;
    system.now = 1000;
    vantrel::hook::TakeWriterLock(word, 7, system);
    EXPECT_EQ(system.now, 1000u);
}

}  // namespace
