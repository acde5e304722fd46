// The message filter beyond the six categories: the named messages grouped
// by category, the typed numbers, ranges and names, "Hide this message", and
// a message logged only when its category and the filter both allow it.

#include "catch/catch_log.h"
#include "catch/int2msg.h"
#include "catch/message_filter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace {

using vantrel::Category;
using vantrel::MessageRange;

const std::vector<vantrel::FilterEntry>& Group(Category category) {
    return vantrel::FilterGroups()[static_cast<std::size_t>(category)].messages;
}

bool Listed(Category category, std::uint32_t number) {
    const auto& list = Group(category);
    return std::any_of(list.begin(), list.end(), [number](const auto& e) { return e.number == number; });
}

TEST(MessageFilter, EveryNamedMessageIsListedUnderItsCategories) {
    ASSERT_EQ(vantrel::FilterGroups().size(), 6u);
    EXPECT_TRUE(Listed(Category::Timer, 0x0113));     // WM_TIMER
    EXPECT_TRUE(Listed(Category::Paint, 0x000F));     // WM_PAINT
    EXPECT_TRUE(Listed(Category::Paint, 0x0309));     // WM_PAINTCLIPBOARD
    EXPECT_TRUE(Listed(Category::Mouse, 0x00A1));     // WM_NCLBUTTONDOWN
    EXPECT_TRUE(Listed(Category::Mouse, 0x020A));     // WM_MOUSEWHEEL
    EXPECT_TRUE(Listed(Category::Keyboard, 0x0100));  // WM_KEYDOWN
    EXPECT_TRUE(Listed(Category::Keyboard, 0x0291));  // WM_IME_KEYUP
    EXPECT_TRUE(Listed(Category::Other, 0x0005));     // WM_SIZE
    EXPECT_TRUE(Listed(Category::Other, 0x8000));     // WM_APP
    EXPECT_FALSE(Listed(Category::Other, 0x000F));
    EXPECT_TRUE(Group(Category::Cursor).empty());     // the caret blink (280) has no name
    // Each named message once per category it belongs to, in order, with its name.
    std::set<std::uint32_t> seen;
    for (const auto& group : vantrel::FilterGroups()) {
        EXPECT_TRUE(std::is_sorted(group.messages.begin(), group.messages.end(),
                                   [](const auto& a, const auto& b) { return a.number < b.number; }));
        for (const auto& entry : group.messages) {
            EXPECT_EQ(entry.name, vantrel::MessageName(static_cast<std::int32_t>(entry.number)));
            seen.insert(entry.number);
        }
    }
    EXPECT_EQ(seen.size(), vantrel::NamedMessages().size());
    EXPECT_EQ(seen.size(), 199u);  // the table's 199 names
}

TEST(MessageFilter, TheDialogsRowsHeadEachListedCategoryAndAHeadingTicksItsWholeGroup) {
    const auto& rows = vantrel::FilterRows();
    std::size_t headings = 0, messages = 0;
    for (const auto& row : rows) (row.message ? messages : headings) += 1;
    EXPECT_EQ(headings, 5u);  // the caret blink has no name, so Cursor lists nothing
    std::size_t listed = 0;
    for (const auto& group : vantrel::FilterGroups()) listed += group.messages.size();
    EXPECT_EQ(messages, listed);
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows[0].text, "Timer");
    EXPECT_FALSE(rows[0].message);
    const auto heading = [&](Category c) {
        return *std::find_if(rows.begin(), rows.end(), [c](const auto& r) { return !r.message && r.category == c; });
    };
    EXPECT_EQ(heading(Category::Other).text, "Other");

    vantrel::MessageFilter filter;
    EXPECT_TRUE(vantrel::RowShown(filter, heading(Category::Timer)));
    filter.SetShown(0x0113, false);  // WM_TIMER
    EXPECT_FALSE(vantrel::RowShown(filter, heading(Category::Timer)));
    EXPECT_TRUE(vantrel::RowShown(filter, heading(Category::Paint)));
    vantrel::SetRowShown(filter, heading(Category::Paint), false);
    for (std::uint32_t n : {0x000Fu, 0x0309u}) EXPECT_FALSE(filter.Allows(n));  // WM_PAINT, WM_PAINTCLIPBOARD
    EXPECT_TRUE(filter.Allows(0x0005));
    vantrel::SetRowShown(filter, heading(Category::Paint), true);
    vantrel::SetRowShown(filter, {Category::Timer, 0x0113, "WM_TIMER"}, true);
    for (std::uint32_t n : {0x000Fu, 0x0309u, 0x0113u}) EXPECT_TRUE(filter.Allows(n));
}

TEST(MessageFilter, TypedNumbersRangesAndNamesOrAPlainError) {
    const auto parsed = vantrel::ParseMessageRanges("0x400-0x4FF, 49152, WM_TIMER; wm_paint ,, TVM_INSERTITEMW ,0X10");
    EXPECT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.ranges, (std::vector<MessageRange>{
                                 {0x400, 0x4FF}, {49152, 49152}, {0x113, 0x113}, {0x0F, 0x0F}, {0x1132, 0x1132}, {16, 16}}));
    EXPECT_TRUE(vantrel::ParseMessageRanges("  ").ranges.empty());
    EXPECT_EQ(vantrel::ParseMessageRanges("4294967295 - 0xFFFFFFFF").ranges,
              (std::vector<MessageRange>{{0xFFFFFFFF, 0xFFFFFFFF}}));
    struct Bad {
        const char* text;
        const char* error;
    } bad[] = {
        {"1, 0x4GG", "\"0x4GG\" is not a message number, a range of numbers or a message name."},
        {"WM_NOTHING", "\"WM_NOTHING\" is not a message number, a range of numbers or a message name."},
        {"0x", "\"0x\" is not a message number, a range of numbers or a message name."},
        {"-5", "\"-5\" is not a message number, a range of numbers or a message name."},
        {"0x4FF-0x400", "In \"0x4FF-0x400\" the range ends before it starts."},
        {"4294967296", "\"4294967296\" is larger than the largest message number (0xFFFFFFFF)."},
        {"1-0x100000000", "\"1-0x100000000\" is larger than the largest message number (0xFFFFFFFF)."},
    };
    for (const Bad& b : bad) {
        const auto p = vantrel::ParseMessageRanges(b.text);
        EXPECT_EQ(p.error, b.error);
        EXPECT_TRUE(p.ranges.empty());
    }
}

TEST(MessageFilter, ShowsEverythingAtStartAndHidesBoxesTypedEntriesAndSingleMessages) {
    vantrel::MessageFilter filter;
    for (std::uint32_t n : {0u, 0x0Fu, 0x400u, 0xC000u, 0xFFFFu, 0x10000u, 0xFFFFFFFFu}) EXPECT_TRUE(filter.Allows(n));

    filter.SetShown(0x0113, false);  // WM_TIMER's box
    EXPECT_FALSE(filter.Allows(0x0113));
    EXPECT_FALSE(filter.Shown(0x0113));
    EXPECT_TRUE(filter.Allows(0x0112));

    EXPECT_EQ(filter.SetHiddenText(" 0x400-0x4FF, 0x10000-0x10002 "), std::nullopt);
    EXPECT_EQ(filter.HiddenText(), "0x400-0x4FF, 0x10000-0x10002");
    EXPECT_FALSE(filter.Allows(0x401));
    EXPECT_FALSE(filter.Allows(0x10001));
    EXPECT_TRUE(filter.Allows(0x500));
    EXPECT_TRUE(filter.Allows(0x10003));
    // A bad entry keeps what was there.
    EXPECT_EQ(filter.SetHiddenText("0x500, nonsense"),
              "\"nonsense\" is not a message number, a range of numbers or a message name.");
    EXPECT_EQ(filter.HiddenText(), "0x400-0x4FF, 0x10000-0x10002");
    EXPECT_TRUE(filter.Allows(0x500));

    // Hide this message: a named one's box goes off, another number is typed in.
    filter.Hide(0x000F);
    EXPECT_FALSE(filter.Shown(0x000F));
    EXPECT_EQ(filter.HiddenText(), "0x400-0x4FF, 0x10000-0x10002");
    filter.Hide(0xC0F1);
    EXPECT_EQ(filter.HiddenText(), "0x400-0x4FF, 0x10000-0x10002, 0xC0F1");
    filter.Hide(0x450);  // already hidden by a range
    EXPECT_EQ(filter.HiddenText(), "0x400-0x4FF, 0x10000-0x10002, 0xC0F1");
    EXPECT_FALSE(filter.Allows(0xC0F1));
    // Typed entries hide named messages too, whatever their boxes say.
    EXPECT_EQ(filter.SetHiddenText("WM_SIZE"), std::nullopt);
    EXPECT_FALSE(filter.Allows(0x0005));
    EXPECT_TRUE(filter.Shown(0x0005));
    EXPECT_TRUE(filter.Allows(0x401));

    filter.ShowAll();
    EXPECT_EQ(filter.HiddenText(), "");
    for (std::uint32_t n : {0x0005u, 0x000Fu, 0x0113u, 0xC0F1u}) EXPECT_TRUE(filter.Allows(n));
}

TEST(MessageFilter, TheLogTakesAMessageOnlyWhenItsCategoryAndTheFilterAllowIt) {
    vantrel::CatchLog log;
    std::uint32_t sequence = 0;
    const auto logged = [&](std::uint32_t message) {
        vantrel::HookRecord r{};
        r.sequence = ++sequence;
        r.message = message;
        return log.Take(r, false).has_value();
    };
    EXPECT_TRUE(logged(0x0113));
    log.messages.SetShown(0x0113, false);
    EXPECT_FALSE(logged(0x0113));
    log.messages.SetShown(0x0113, true);
    log.filter[Category::Timer] = false;
    EXPECT_FALSE(logged(0x0113));
    log.filter[Category::Timer] = true;
    EXPECT_TRUE(logged(0x0113));
    ASSERT_EQ(log.messages.SetHiddenText("0x400-0x4FF"), std::nullopt);
    EXPECT_FALSE(logged(0x0401));
    EXPECT_TRUE(logged(0x0500));
}

}  // namespace
