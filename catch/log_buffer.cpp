#include "catch/log_buffer.h"

#include <algorithm>
#include <cstring>

namespace vantrel {

namespace {
constexpr std::string_view kLineBreak = "\r\n";
}

LogBuffer::LogBuffer(std::string_view header) : header_(header) { Clear(); }

void LogBuffer::Clear() { Assign(header_); }

void LogBuffer::Assign(std::string_view text) {
    text_.clear();
    starts_.clear();
    longest_ = 0;
    text_.reserve(text.size());
    starts_.push_back(0);
    AddLines(text);
}

void LogBuffer::Append(std::string_view line) {
    text_ += kLineBreak;
    starts_.push_back(text_.size());
    AddLines(line);
}

// Adds text to the last line, which begins at starts_.back(); every CR LF in
// it starts a new line.
void LogBuffer::AddLines(std::string_view text) {
    for (;;) {
        const std::size_t brk = text.find(kLineBreak);
        const std::string_view piece = text.substr(0, brk);
        text_ += piece;
        longest_ = std::max(longest_, text_.size() - starts_.back());
        if (brk == std::string_view::npos) return;
        text_ += kLineBreak;
        starts_.push_back(text_.size());
        text.remove_prefix(brk + kLineBreak.size());
    }
}

std::string_view LogBuffer::Line(std::size_t i) const {
    if (i >= starts_.size()) return {};
    const std::size_t begin = starts_[i];
    const std::size_t end = i + 1 < starts_.size() ? starts_[i + 1] - kLineBreak.size() : text_.size();
    return std::string_view(text_).substr(begin, end - begin);
}

std::size_t LogBuffer::CopyText(char* out, std::size_t capacity) const {
    if (!out || capacity == 0) return 0;
    const std::size_t n = std::min(text_.size(), capacity - 1);
    std::memcpy(out, text_.data(), n);
    out[n] = '\0';
    return n;
}

}  // namespace vantrel
