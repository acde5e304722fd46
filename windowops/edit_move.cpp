#include "windowops/edit_move.h"

namespace vantrel {

EditMoveRead ReadForEditMove(Desktop& desktop, Handle window) {
    EditMoveRead read;
    read.text = desktop.text(window);
    if (auto placement = desktop.placement(window)) read.placement = *placement;
    read.placement.length = 44;
    return read;
}

namespace {

// The six position fields of the dialog, in field order, where they live in
// the placement record: reading and writing go through the same list. The
// two size fields follow them, as the normal rectangle's width and height.
template <typename P>
auto PositionFields(P& p) {
    return std::array{&p.normalPosition.left, &p.normalPosition.top, &p.minPosition.x,
                      &p.minPosition.y,       &p.maxPosition.x,      &p.maxPosition.y};
}

constexpr std::size_t kWidthField = 6;
constexpr std::size_t kHeightField = 7;

}  // namespace

EditMoveDerived DerivedValues(const Placement& p) {
    EditMoveDerived derived{};
    const auto positions = PositionFields(p);
    for (std::size_t i = 0; i < positions.size(); ++i) derived[i] = *positions[i];
    const Rect& n = p.normalPosition;
    derived[kWidthField] = static_cast<std::int64_t>(n.right) - n.left;
    derived[kHeightField] = static_cast<std::int64_t>(n.bottom) - n.top;
    return derived;
}

EditMoveValues ShownValues(const Placement& placement) {
    const EditMoveDerived derived = DerivedValues(placement);
    EditMoveValues shown{};
    for (int i = 0; i < kEditMoveFieldCount; ++i) shown[i] = ClampToRange(derived[i], kEditMoveRanges[i]);
    return shown;
}

bool PlacementChanged(const Placement& read, const EditMoveValues& entered) {
    const EditMoveDerived derived = DerivedValues(read);
    for (int i = 0; i < kEditMoveFieldCount; ++i)
        if (entered[i] != derived[i]) return true;
    return false;
}

Placement PlacementToWrite(const Placement& read, const EditMoveValues& v) {
    Placement p = read;
    const auto positions = PositionFields(p);
    for (std::size_t i = 0; i < positions.size(); ++i) *positions[i] = v[i];
    // Computed in 64 bits and kept in 32: entered values are normally within
    // their ranges, but the sum must not overflow whatever the caller passes.
    p.normalPosition.right = static_cast<std::int32_t>(static_cast<std::int64_t>(v[0]) + v[kWidthField]);
    p.normalPosition.bottom = static_cast<std::int32_t>(static_cast<std::int64_t>(v[1]) + v[kHeightField]);
    return p;
}

EditMoveOutcome ApplyEditMove(Desktop& desktop, Handle window, const EditMoveRead& read,
                              const std::string& enteredText, const EditMoveValues& entered) {
    EditMoveOutcome outcome;
    const bool textChanged = enteredText != read.text;
    if (textChanged) {
        outcome.refresh = EditMoveRefresh::Tree;
        outcome.reply = desktop.setText(window, enteredText);
    }
    if (outcome.reply == Reply::Answered && PlacementChanged(read.placement, entered))
        outcome.reply = desktop.setPlacement(window, PlacementToWrite(read.placement, entered));
    return outcome;
}

}  // namespace vantrel
