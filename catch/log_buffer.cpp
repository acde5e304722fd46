#include "catch/log_buffer.h"

#include "base/unicode.h"

#include <algorithm>

namespace vantrel {

namespace {
constexpr std::string_view kLineBreak = "\r\n";
}

LogBuffer::LogBuffer(std::string_view header) : header_(header) { Clear(); }

void LogBuffer::Clear() { Assign(header_); }

void LogBuffer::Assign(std::string_view text) {
    text_.clear();
    starts_.clear();
    tags_.clear();
    longest_ = 0;
    nonAsciiLines_ = 0;
    limitReached_ = false;
    text_.reserve(text.size());
    starts_.push_back(0);
    tags_.push_back(kNoTag);
    AddLines(text, kNoTag);
    Enforce();
}

void LogBuffer::SetLineLimit(std::size_t limit) {
    limit_ = limit;
    Enforce();
}

LogBuffer::Trim LogBuffer::Append(std::string_view line, std::uint32_t tag) {
    const std::size_t oldSize = text_.size();
    const std::size_t oldCount = starts_.size();
    const std::size_t oldLongest = longest_;
    const std::size_t oldNonAscii = nonAsciiLines_;
    try {
        text_ += kLineBreak;
        starts_.push_back(text_.size());
        tags_.push_back(tag);
        AddLines(line, tag);
    } catch (...) {
        // Shrinking allocates nothing: the log is whole again.
        text_.resize(oldSize);
        starts_.resize(oldCount);
        tags_.resize(oldCount);
        longest_ = oldLongest;
        nonAsciiLines_ = oldNonAscii;
        throw;
    }
    return Enforce();
}

// Adds text to the last line, which begins at starts_.back(); every CR LF in
// it starts a new line.
void LogBuffer::AddLines(std::string_view text, std::uint32_t tag) {
    for (;;) {
        const std::size_t brk = text.find(kLineBreak);
        const std::string_view piece = text.substr(0, brk);
        if (!IsAscii(piece)) ++nonAsciiLines_;
        text_ += piece;
        longest_ = std::max(longest_, text_.size() - starts_.back());
        if (brk == std::string_view::npos) return;
        text_ += kLineBreak;
        starts_.push_back(text_.size());
        tags_.push_back(tag);
        text.remove_prefix(brk + kLineBreak.size());
    }
}

// Past the limit, the oldest lines after the first go: at least a tenth of
// the limit at once, so that a log at its limit moves its text only once per
// tenth of the limit rather than on every line. Nothing here allocates.
LogBuffer::Trim LogBuffer::Enforce() {
    const std::size_t kept = starts_.size() - 1;
    if (limit_ == 0 || kept <= limit_) return {};
    // Fewer than kept: limit_ / 10 < limit_ + 1, and the excess is below kept.
    const std::size_t drop = std::max({limit_ / 10, std::size_t{1}, kept - limit_});
    Trim trim;
    trim.lines = drop;
    trim.position = starts_[1];
    trim.characters = starts_[1 + drop] - starts_[1];
    text_.erase(trim.position, trim.characters);
    starts_.erase(starts_.begin() + 1, starts_.begin() + 1 + static_cast<std::ptrdiff_t>(drop));
    tags_.erase(tags_.begin() + 1, tags_.begin() + 1 + static_cast<std::ptrdiff_t>(drop));
    for (std::size_t i = 1; i < starts_.size(); ++i) starts_[i] -= trim.characters;
    limitReached_ = true;
    Recount();
    return trim;
}

void LogBuffer::Recount() {
    longest_ = 0;
    nonAsciiLines_ = 0;
    for (std::size_t i = 0; i < starts_.size(); ++i) {
        longest_ = std::max(longest_, LineLength(i));
        if (!IsAscii(Line(i))) ++nonAsciiLines_;
    }
}

std::string_view LogBuffer::Line(std::size_t i) const {
    if (i >= starts_.size()) return {};
    const std::size_t begin = starts_[i];
    const std::size_t end = i + 1 < starts_.size() ? starts_[i + 1] - kLineBreak.size() : text_.size();
    return std::string_view(text_).substr(begin, end - begin);
}

std::size_t LogBuffer::LineOf(std::size_t position) const {
    const auto after = std::upper_bound(starts_.begin(), starts_.end(), position);
    return static_cast<std::size_t>(after - starts_.begin()) - 1;
}

std::size_t LogBuffer::CopyText(char16_t* out, std::size_t capacity) const {
    if (!out || capacity == 0) return 0;
    std::size_t n = 0;
    if (Ascii()) {
        n = std::min(text_.size(), capacity - 1);
        std::copy(text_.begin(), text_.begin() + static_cast<std::ptrdiff_t>(n), out);
    } else {
        const std::u16string units = Utf8ToUtf16(CutToUtf16Units(text_, capacity - 1));
        n = units.size();
        std::copy(units.begin(), units.end(), out);
    }
    out[n] = u'\0';
    return n;
}

std::size_t LogBuffer::Utf16Offset(std::size_t position) const {
    position = std::min(position, text_.size());
    if (Ascii()) return position;
    return Utf16Length(std::string_view(text_).substr(0, position));
}

std::size_t LogBuffer::ByteOffset(std::size_t utf16Position) const {
    if (Ascii()) return std::min(utf16Position, text_.size());
    return CutToUtf16Units(text_, utf16Position).size();
}

}  // namespace vantrel
