#pragma once
// The Edit / Move command without its dialog: what is read from the window,
// what the eight spin fields show, what counts as a change and what record is
// written back.

#include "platform/desktop.h"
#include "windowops/spin_field.h"
#include "windowops/window_requests.h"

#include <array>
#include <cstdint>
#include <string>

namespace vantrel {

// The eight spin fields in their order: Normal Left, Normal Top, Minimized
// Left, Minimized Top, Maximized Left, Maximized Top, Width, Height.
inline constexpr int kEditMoveFieldCount = 8;
using EditMoveValues = std::array<int, kEditMoveFieldCount>;
// Values derived from a record before they are brought into range.
using EditMoveDerived = std::array<std::int64_t, kEditMoveFieldCount>;

inline constexpr SpinRange kPositionRange{-4000, 4000};
inline constexpr SpinRange kSizeRange{0, 4000};
inline constexpr std::array<SpinRange, kEditMoveFieldCount> kEditMoveRanges{
    kPositionRange, kPositionRange, kPositionRange, kPositionRange,
    kPositionRange, kPositionRange, kSizeRange,     kSizeRange};

// The window as the command found it. The record lives for the whole command:
// its length, flags and showCmd go back unchanged.
struct EditMoveRead {
    std::string text;
    Placement placement;
};

// Reads the text (at most 255 characters) and the placement. A window whose
// placement cannot be read gives a record of zeros with its length set.
EditMoveRead ReadForEditMove(Desktop& desktop, Handle window);

// The eight values as the record holds them, not yet brought into range.
EditMoveDerived DerivedValues(const Placement& placement);

// The eight values the dialog shows: each derived value brought into range.
EditMoveValues ShownValues(const Placement& placement);

// True when any entered value differs from its derived value, so a stored
// value outside a field's range counts as changed even when left alone.
bool PlacementChanged(const Placement& read, const EditMoveValues& entered);

// The record read, with all eight entered values stored into it; right and
// bottom follow from left plus width and top plus height.
Placement PlacementToWrite(const Placement& read, const EditMoveValues& entered);

enum class EditMoveRefresh { Tree, PropertyList };

struct EditMoveOutcome {
    EditMoveRefresh refresh = EditMoveRefresh::PropertyList;
    Reply reply = Reply::Answered;  // of the write that was not answered, else Answered
};

// Writes what the user changed after OK: the text (compared exactly) by
// setText, then the placement only when a value changed. A write the window
// does not answer ends the command there: the placement does not queue up
// behind an unanswered text. Tells which refresh follows: the tree when the
// text changed, since nodes show window texts.
EditMoveOutcome ApplyEditMove(Desktop& desktop, Handle window, const EditMoveRead& read,
                              const std::string& enteredText, const EditMoveValues& entered);

}  // namespace vantrel
