// The hook library's portable rules: which way a hook is set for a watched
// program of either bitness, the whole-record count of the details header,
// the writers' lock in the shared record whatever its word holds, and when a
// watched thread reports.

#include "hooklib/hook_channel.h"
#include "hooklib/hook_rules.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <set>
#include <vector>

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

TEST(HookReturnRing, ReturnsAfterTheLastTakenAndBeforeTheAnnouncedOneComeOldestFirstAndWholeOnly) {
    using vantrel::DetailMark;
    using vantrel::ReturnEntry;
    std::vector<std::uint8_t> object(vantrel::kDetailsObjectSize);
    auto* ring = reinterpret_cast<ReturnEntry*>(object.data() + vantrel::kReturnRingOffset);
    auto put = [&](std::uint32_t number, DetailMark mark = DetailMark::Returned) {
        ReturnEntry& entry = ring[number % vantrel::kReturnRingEntries];
        entry.reportNumber = number;
        entry.details.mark = static_cast<std::uint8_t>(mark);
        entry.details.result = number * 10;
    };
    auto take = [&](std::uint32_t after, std::uint32_t before, std::vector<std::uint32_t>& taken) {
        taken.clear();
        return vantrel::TakeReturns(object.data(), after, before, [&](const ReturnEntry& e) {
            EXPECT_EQ(e.details.result, e.reportNumber * 10u);
            taken.push_back(e.reportNumber);
        });
    };
    // Numbers near the wrap, written out of their ring order; an empty entry
    // and a sent mark are no returns.
    for (std::uint32_t n : {0xFFFFFFFEu, 3u, 0xFFFFFFFDu, 1u, 0u}) put(n);
    put(2, DetailMark::Sent);
    put(5, DetailMark::None);
    std::vector<std::uint32_t> taken;
    EXPECT_EQ(take(0xFFFFFFFCu, 3, taken), 1u);
    EXPECT_EQ(taken, (std::vector<std::uint32_t>{0xFFFFFFFDu, 0xFFFFFFFEu, 0u, 1u}));
    EXPECT_EQ(take(1, 0, taken), 3u);
    EXPECT_EQ(taken, (std::vector<std::uint32_t>{3u}));
    EXPECT_EQ(take(3, 0, taken), 3u);
    EXPECT_TRUE(taken.empty());
    // An entry being written is left for the next look.
    ring[4].wholeCount = 7;
    put(4);
    EXPECT_EQ(take(3, 0, taken), 3u);
    ring[4].wholeCount = 8;
    EXPECT_EQ(take(3, 0, taken), 4u);
    EXPECT_TRUE(vantrel::NumberAfter(0, 0xFFFFFFFFu) && !vantrel::NumberAfter(7, 7));
}

// A clock that moves one millisecond per pause, a set of living threads, and
// a holder that may give the lock back at a given moment, or write another
// holder's number into the word at every pause.
struct FakeSystem {
    std::uint64_t now = 1000;
    std::set<std::uint32_t> alive;
    std::uint32_t* word = nullptr;
    std::uint64_t releaseAt = 0;  // 0: the holder never releases
    bool changing = false;
    std::uint64_t NowMs() const { return now; }
    bool ThreadAlive(std::uint32_t id) {
        ++asked;
        return alive.count(id) != 0;
    }
    void Pause(unsigned) {
        ++now;
        if (releaseAt && now >= releaseAt) *word = 0;
        if (changing) *word = 100 + static_cast<std::uint32_t>(now % 7);
    }
    int asked = 0;
};

using vantrel::hook::kReportDeadlineMs;
using vantrel::hook::kStaleLockMs;
using vantrel::hook::TakeWriterLock;

TEST(HookWriterLock, FreeLockIsTakenAtOnceAndReleasedOnlyByItsHolder) {
    std::uint32_t word = 0;
    FakeSystem system;
    EXPECT_TRUE(TakeWriterLock(word, 7, system, 1000 + kReportDeadlineMs));
    EXPECT_EQ(word, 7u);
    EXPECT_EQ(system.now, 1000u);
    vantrel::hook::ReleaseWriterLock(word, 8);  // not the holder: no effect
    EXPECT_EQ(word, 7u);
    vantrel::hook::ReleaseWriterLock(word, 7);
    EXPECT_EQ(word, 0u);
    // The lock word left with this thread's own number (it was given the
    // number of a writer that ended) is this thread's at once.
    word = 7;
    EXPECT_TRUE(TakeWriterLock(word, 7, system, 1000));
}

TEST(HookWriterLock, DeadHolderIsReplacedAtOnceAndALiveOneWaitedForUntilItGoesOrGoesStale) {
    struct Case {
        std::uint32_t holder;
        bool alive;
        std::uint64_t releaseAt;
        std::uint64_t takenAfter;
        int asked;
    };
    const Case cases[] = {
        // A watched program crashed while it reported: its thread holds the lock for good.
        {41, false, 0, vantrel::hook::kOwnerCheckMs, 1},
        // A living writer that releases after 30 ms: waited for, asked about once.
        {41, true, 1030, 30, 1},
        // A number planted, or left by a writer that ended and now given to
        // a living thread: unchanged for kStaleLockMs, then taken over, with
        // time left before the deadline.
        {42, true, 0, kStaleLockMs, 1},
    };
    for (const Case& c : cases) {
        std::uint32_t word = c.holder;
        FakeSystem system;
        system.word = &word;
        if (c.alive) system.alive = {c.holder};
        system.releaseAt = c.releaseAt;
        EXPECT_TRUE(TakeWriterLock(word, 7, system, 1000 + kReportDeadlineMs)) << c.holder;
        EXPECT_EQ(word, 7u);
        EXPECT_EQ(system.now - 1000, c.takenAfter) << c.holder << " " << c.releaseAt;
        EXPECT_EQ(system.asked, c.asked);
    }
    EXPECT_LT(kStaleLockMs, kReportDeadlineMs);
}

TEST(HookWriterLock, AHolderThatKeepsChangingIsWaitedForOnlyUntilTheDeadline) {
    // Another program writes a new living thread's number every millisecond:
    // the wait ends at the deadline, measured from the first try, and the
    // word is left as it is.
    std::uint32_t word = 100;
    FakeSystem system;
    system.word = &word;
    system.changing = true;
    for (std::uint32_t id = 100; id < 107; ++id) system.alive.insert(id);
    EXPECT_FALSE(TakeWriterLock(word, 7, system, 1000 + kReportDeadlineMs));
    EXPECT_EQ(system.now, 1000 + kReportDeadlineMs);
    EXPECT_NE(word, 7u);
    // A deadline already passed: one try, no wait.
    system.now = 5000;
    EXPECT_FALSE(TakeWriterLock(word, 7, system, 4000));
    EXPECT_EQ(system.now, 5000u);
}

TEST(HookReportGate, AMissedDeadlineStopsReportingUntilAProbeIsAnswered) {
    using vantrel::hook::ReportGate;
    using Step = ReportGate::Step;
    ReportGate gate;
    EXPECT_EQ(gate.Next(10), Step::Report);
    EXPECT_EQ(gate.Word(), 0u);
    // Missed at a time with the lowest bit clear and set, and across the
    // wrap of the millisecond count.
    for (std::uint32_t missed : {1000u, 1001u, 0xFFFFFF00u}) {
        gate.Missed(missed);
        ReportGate kept(gate.Word());  // what a thread slot keeps
        EXPECT_EQ(kept.Next(missed + 1), Step::Skip) << missed;
        EXPECT_EQ(kept.Next(missed + vantrel::hook::kProbeEveryMs - 2), Step::Skip) << missed;
        EXPECT_EQ(kept.Next(missed + vantrel::hook::kProbeEveryMs), Step::Probe) << missed;
        gate.Answered();
        EXPECT_EQ(gate.Next(missed + 1), Step::Report);
    }
}

}  // namespace
