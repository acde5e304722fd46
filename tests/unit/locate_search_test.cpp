// Finding windows by a piece of their node label.

#include "locate/label_search.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vantrel {
namespace {

NodeLabels Labels(const std::vector<std::string>& labels) {
    return {static_cast<int>(labels.size()), [labels](int i) { return labels.at(static_cast<size_t>(i)); }};
}

using Kind = SearchOutcome::Kind;

TEST(LocateSearchText, IsUpperCasedAndCutTo255Characters) {
    EXPECT_EQ(MakeSearchText("{button}"), "{BUTTON}");
    EXPECT_EQ(MakeSearchText(""), "");
    const std::string typed = std::string(254, 'a') + "bc";
    const std::string text = MakeSearchText(typed);
    EXPECT_EQ(text, std::string(254, 'A') + "B");
    EXPECT_EQ(MakeSearchText(std::string(255, 'x')).size(), 255u);
}

TEST(LocateSearchMatch, FindsAnyPartOfTheLabelIgnoringLatinCase) {
    const std::string label = "0000131634  Ok Then  {Button}";
    EXPECT_TRUE(LabelMatches(label, MakeSearchText("ok then")));
    EXPECT_TRUE(LabelMatches(label, MakeSearchText("{button}")));
    EXPECT_TRUE(LabelMatches(label, MakeSearchText("131634")));
    EXPECT_TRUE(LabelMatches(label, MakeSearchText("0000131634  OK THEN  {BUTTON}")));
    EXPECT_FALSE(LabelMatches(label, MakeSearchText("okthen")));
    // An empty search text matches nothing, not every label.
    EXPECT_FALSE(LabelMatches(label, ""));
    EXPECT_FALSE(LabelMatches("", ""));
}

TEST(LocateSearchMatch, BracedClassNameSkipsClassesEndingInTheSameName) {
    const std::string search = MakeSearchText("{Button}");
    EXPECT_TRUE(LabelMatches("0000000010  {button}", search));
    EXPECT_FALSE(LabelMatches("0000000011  {TRadioButton}", search));
    EXPECT_FALSE(LabelMatches("0000000012  {Button2}", search));
}

TEST(LocateSearchMatch, NonLatinLowerCaseLettersDoNotFindTheirUpperCase) {
    // "\xE9" is e-acute, "\xC9" its capital, in the 8-bit Latin-1 code page.
    EXPECT_FALSE(LabelMatches("0000000001  CAF\xC9  {Static}", MakeSearchText("caf\xE9")));
    EXPECT_TRUE(LabelMatches("0000000001  caf\xE9  {Static}", MakeSearchText("CAF\xE9")));
}

TEST(LocateSearchMatch, HexadecimalHandleDigitsInAnyCase) {
    const std::string label = "00120A3C  Main  {TForm1}";
    EXPECT_TRUE(LabelMatches(label, MakeSearchText("00120a3c")));
    EXPECT_TRUE(LabelMatches(label, MakeSearchText("120A3c")));
}

TEST(LocateSearchFindAfter, GoesForwardWithoutTestingTheStartAndWithoutWrapping) {
    const NodeLabels nodes = Labels({"0 {Edit}", "1 {Button}", "2 {Edit}", "3 {Static}", "4 {Edit}"});
    const std::string edit = MakeSearchText("{edit}");
    EXPECT_EQ(FindAfter(nodes, -1, edit), 0);  // before the first node: node 0 is tested
    EXPECT_EQ(FindAfter(nodes, 0, edit), 2);   // the start node itself is skipped
    EXPECT_EQ(FindAfter(nodes, 1, edit), 2);
    EXPECT_EQ(FindAfter(nodes, 2, edit), 4);
    EXPECT_EQ(FindAfter(nodes, 4, edit), -1);  // no wrap to the top
    EXPECT_EQ(FindAfter(nodes, 3, MakeSearchText("{button}")), -1);
    EXPECT_EQ(FindAfter(nodes, -1, ""), -1);
    EXPECT_EQ(FindAfter(Labels({}), -1, edit), -1);
}

TEST(LocateSearchFindNext, WalksThroughEveryHitThenReportsTheEnd) {
    const NodeLabels nodes = Labels({"0 {Edit}", "1 {Button}", "2 {Edit}", "3 {Static}", "4 {Edit}", "5 {Static}"});
    const std::string edit = MakeSearchText("{EDIT}");
    std::vector<int> hits;
    int selected = 0;
    for (;;) {
        const SearchOutcome step = FindNextSearch(nodes, edit, selected);
        if (step.kind != Kind::Select) {
            EXPECT_EQ(step.kind, Kind::Finished);
            break;
        }
        hits.push_back(step.node);
        selected = step.node;
        ASSERT_LT(hits.size(), 10u);
    }
    EXPECT_EQ(hits, (std::vector<int>{2, 4}));

    // The last node selected: the end at once.
    EXPECT_EQ(FindNextSearch(nodes, edit, 5).kind, Kind::Finished);
    // No search confirmed yet, or an empty text confirmed: nothing at all.
    EXPECT_EQ(FindNextSearch(nodes, "", 0).kind, Kind::Nothing);
    EXPECT_EQ(FindWindowSearch(nodes, "", true, 0).kind, Kind::Nothing);
    EXPECT_EQ(FindWindowSearch(nodes, "", false, 3).kind, Kind::Nothing);
}

TEST(LocateSearchFindWindow, FromTheBeginningTestsTheFirstNodeItself) {
    const NodeLabels nodes = Labels({"0 Alpha {A}", "1 Beta {B}", "2 Alpha {C}"});
    const SearchOutcome first = FindWindowSearch(nodes, MakeSearchText("alpha"), true, 2);
    EXPECT_EQ(first.kind, Kind::Select);
    EXPECT_EQ(first.node, 0);
    const SearchOutcome beta = FindWindowSearch(nodes, MakeSearchText("beta"), true, 2);
    EXPECT_EQ(beta.node, 1);
    EXPECT_EQ(FindWindowSearch(nodes, MakeSearchText("gamma"), true, -1).kind, Kind::Finished);
}

TEST(LocateSearchFindWindow, FromTheSelectionIsAFindNextWithoutTheFirstNodeTest) {
    const NodeLabels nodes = Labels({"0 Alpha {A}", "1 Beta {B}", "2 Alpha {C}", "3 Delta {D}"});
    // The first node matches too, but lies before the selection: not picked.
    const SearchOutcome fromOne = FindWindowSearch(nodes, MakeSearchText("alpha"), false, 1);
    EXPECT_EQ(fromOne.kind, Kind::Select);
    EXPECT_EQ(fromOne.node, 2);
    EXPECT_EQ(FindWindowSearch(nodes, MakeSearchText("alpha"), false, 2).kind, Kind::Finished);
    // With the first node selected it is the start node and skipped.
    EXPECT_EQ(FindWindowSearch(nodes, MakeSearchText("alpha"), false, 0).node, 2);
}

TEST(LocateSearchFindWindow, WithoutAStartNodeTheSearchBeginsAtTheTop) {
    const NodeLabels nodes = Labels({"0 Alpha {A}", "1 Beta {B}"});
    const SearchOutcome fromNothing = FindWindowSearch(nodes, MakeSearchText("alpha"), false, -1);
    EXPECT_EQ(fromNothing.kind, Kind::Select);
    EXPECT_EQ(fromNothing.node, 0);
    const SearchOutcome nextFromNothing = FindNextSearch(nodes, MakeSearchText("alpha"), -1);
    EXPECT_EQ(nextFromNothing.node, 0);
    // A tree without nodes has nothing to find, from the beginning or not.
    EXPECT_EQ(FindWindowSearch(Labels({}), MakeSearchText("alpha"), true, -1).kind, Kind::Finished);
    EXPECT_EQ(FindWindowSearch(Labels({}), MakeSearchText("alpha"), false, -1).kind, Kind::Finished);
    EXPECT_EQ(FindNextSearch(Labels({}), MakeSearchText("alpha"), -1).kind, Kind::Finished);
}

}  // namespace
}  // namespace vantrel
