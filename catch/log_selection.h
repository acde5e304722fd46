#pragma once
// The caret and the selection of the log pane, as a read-only text control
// keeps them, without the window: where the caret may stand, how the keys
// move it, what a double-click selects, what is copied, and how the
// text control's line and selection messages answer.
//
// Positions are byte offsets into the log's whole text (UTF-8), CR LF
// counting two. A valid position lies within the text, never between the CR
// and the LF of a line break and never inside a character. Columns count
// UTF-16 units, as a text control's do. The anchor is where the selection
// began, the caret where it ends; either may come first.

#include "catch/log_buffer.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>

namespace vantrel {

// The caret movements of the keys (Shift extends the selection with them).
enum class CaretMove {
    CharLeft,   // Left
    CharRight,  // Right
    WordLeft,   // Ctrl+Left
    WordRight,  // Ctrl+Right
    LineUp,     // Up
    LineDown,   // Down
    PageUp,     // Page Up
    PageDown,   // Page Down
    LineStart,  // Home
    LineEnd,    // End
    TextStart,  // Ctrl+Home
    TextEnd,    // Ctrl+End
};

// A run of characters [begin, end).
struct TextSpan {
    std::size_t begin = 0;
    std::size_t end = 0;
};

// The nearest valid position: within the text, a position between CR and
// LF moved back to its line's end.
std::size_t ValidPosition(const LogBuffer& log, std::size_t position);
// The position of a column of a line, both clamped to what exists.
std::size_t PositionAt(const LogBuffer& log, std::size_t line, std::size_t column);
// The column of a position within its line.
std::size_t ColumnOf(const LogBuffer& log, std::size_t position);
// What a double-click selects: the run of non-blank characters under the
// position, or the run of blanks (spaces, tabs) there; at a line's end the
// run before it.
TextSpan WordAt(const LogBuffer& log, std::size_t position);
// Ctrl+Right and Ctrl+Left: the start of the next word (the next line's start
// from a line's end), the start of this or the previous word (the previous
// line's end from a line's start).
std::size_t WordRightOf(const LogBuffer& log, std::size_t position);
std::size_t WordLeftOf(const LogBuffer& log, std::size_t position);

class LogSelection {
public:
    std::size_t Anchor() const { return anchor_; }
    std::size_t Caret() const { return caret_; }
    std::size_t Start() const { return anchor_ < caret_ ? anchor_ : caret_; }
    std::size_t End() const { return anchor_ < caret_ ? caret_ : anchor_; }
    bool Empty() const { return anchor_ == caret_; }

    // The caret to a position (made valid); extend keeps the anchor, else the
    // selection collapses there.
    void Place(const LogBuffer& log, std::size_t position, bool extend);
    // Anchor and caret, each made valid.
    void Select(const LogBuffer& log, std::size_t anchor, std::size_t caret);
    void SelectAll(const LogBuffer& log);
    void SelectWord(const LogBuffer& log, std::size_t position);
    // A key's movement. Without extend, Left and Right on a selection only
    // collapse it to its start or end. Up, Down and the pages keep the column
    // the caret came from across lines too short for it; pageLines is the
    // number of lines a page moves.
    void Move(const LogBuffer& log, CaretMove move, bool extend, std::size_t pageLines);
    // Lines were dropped from the text: positions after them move back,
    // positions inside them go to where they were.
    void Shift(const LogBuffer::Trim& trim);

    // The selected characters, CR LF between lines as in the text.
    std::string_view Text(const LogBuffer& log) const;

private:
    std::size_t anchor_ = 0;
    std::size_t caret_ = 0;
    std::optional<std::size_t> goalColumn_;  // of consecutive Up, Down and page moves
};

// The text control's line and selection messages. Character positions and
// lengths count UTF-16 units, as a Unicode text control's do. Indexes arrive
// as the signed 32-bit values the messages carry; -1 means what the control
// makes of it (the caret's line, the selected lines, no selection).
namespace edit {

// EM_LINEINDEX: where a line begins; -1 = the caret's line; -1 past the last line.
std::int64_t LineIndex(const LogBuffer& log, const LogSelection& selection, std::int32_t line);
// EM_LINELENGTH: the length of the line holding a position; -1 = the
// characters left unselected on the lines the selection touches (the caret's
// line length without a selection); 0 past the text.
std::int64_t LineLength(const LogBuffer& log, const LogSelection& selection, std::int32_t position);
// EM_LINEFROMCHAR: the line holding a position; -1 = the line of the
// selection's start (the caret's without one); the last line past the text.
std::int64_t LineFromChar(const LogBuffer& log, const LogSelection& selection, std::int32_t position);
// EM_SETSEL: start -1 removes the selection and keeps the caret; start 0 and
// end -1 select everything; any other negative value or a value past the
// text means the text's end. The caret goes to end.
void SetSel(const LogBuffer& log, LogSelection& selection, std::int32_t start, std::int32_t end);
// EM_GETSEL: the selection's start and end.
std::pair<std::size_t, std::size_t> GetSel(const LogBuffer& log, const LogSelection& selection);
// EM_GETLINE: copies at most capacity units of a line, a terminating zero
// only where room is left; returns the units copied, 0 past the last line.
std::size_t GetLine(const LogBuffer& log, std::int32_t line, char16_t* out, std::size_t capacity);

}  // namespace edit

}  // namespace vantrel
