#pragma once
// The picture of a tree node, chosen from the window's class name.

#include <string>
#include <string_view>

namespace vantrel {

inline constexpr int kTreeImageCount = 37;
inline constexpr int kRootDefaultImage = 32;   // a plain window with a title bar
inline constexpr int kChildDefaultImage = 0;   // a question mark

// Runs the keyword tests in order over the upper-cased class name; the last
// test that hits decides. Without a hit a root node keeps 32 and a child 0.
int PictureForClass(std::string_view className, bool isRoot);

}  // namespace vantrel
