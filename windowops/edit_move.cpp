#include "windowops/edit_move.h"

namespace vantrel {

EditMoveRead ReadForEditMove(Desktop& desktop, Handle window) {
    EditMoveRead read;
    read.text = desktop.text(window);
    if (auto placement = desktop.placement(window)) read.placement = *placement;
    read.placement.length = 44;
    return read;
}

EditMoveDerived DerivedValues(const Placement& p) {
    const Rect& n = p.normalPosition;
    return {n.left,
            n.top,
            p.minPosition.x,
            p.minPosition.y,
            p.maxPosition.x,
            p.maxPosition.y,
            static_cast<std::int64_t>(n.right) - n.left,
            static_cast<std::int64_t>(n.bottom) - n.top};
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
    p.normalPosition.left = v[0];
    p.normalPosition.top = v[1];
    p.minPosition = {v[2], v[3]};
    p.maxPosition = {v[4], v[5]};
    // Computed in 64 bits and kept in 32: entered values are normally within
    // their ranges, but the sum must not overflow whatever the caller passes.
    p.normalPosition.right = static_cast<std::int32_t>(static_cast<std::int64_t>(v[0]) + v[6]);
    p.normalPosition.bottom = static_cast<std::int32_t>(static_cast<std::int64_t>(v[1]) + v[7]);
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
