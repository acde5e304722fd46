#include "locate/label_search.h"

namespace vantrel {

std::string MakeSearchText(std::string_view typed) {
    return UpperForSearch(CutToUtf16Units(typed, kMaxSearchTextLength));
}

bool LabelMatches(std::string_view label, std::string_view searchText) {
    if (searchText.empty()) return false;
    return UpperForSearch(label).find(searchText) != std::string::npos;
}

int FindAfter(const NodeLabels& nodes, int current, std::string_view searchText) {
    if (searchText.empty()) return -1;
    for (int i = (current < -1 ? -1 : current) + 1; i < nodes.count; ++i) {
        if (LabelMatches(nodes.label(i), searchText)) return i;
    }
    return -1;
}

namespace {

SearchOutcome SearchFrom(const NodeLabels& nodes, std::string_view searchText, int start) {
    if (searchText.empty()) return {};
    const int hit = FindAfter(nodes, start, searchText);
    if (hit < 0) return {SearchOutcome::Kind::Finished, -1};
    return {SearchOutcome::Kind::Select, hit};
}

}  // namespace

SearchOutcome FindWindowSearch(const NodeLabels& nodes, std::string_view searchText, bool fromBeginning,
                               int selectedNode) {
    // From the beginning, or with no start node: search from before node 0,
    // which tests node 0 itself first.
    const int start = fromBeginning ? -1 : selectedNode;
    return SearchFrom(nodes, searchText, start);
}

SearchOutcome FindNextSearch(const NodeLabels& nodes, std::string_view searchText, int selectedNode) {
    return SearchFrom(nodes, searchText, selectedNode);
}

}  // namespace vantrel
