#pragma once
// Paths: the folder of a file, such as Vantrel's own executable or library
// (where its companion and the Save dialog's first folder are found) or a log
// file about to be replaced.

#include <string>
#include <string_view>

namespace vantrel {

// The folder part of a full path, with its trailing "\" (or "/"); empty when
// the path names no folder.
std::string DirectoryOf(std::string_view path);

// The file name of a path, without its folder: the whole path when it names
// no folder.
std::string FileNameOf(std::string_view path);

// The folder of a full path ("X:\dir\" or "\\server\share\dir\"), empty
// for anything else: a name without a full folder would be looked up relative
// to the current directory, where any file may lie.
std::string FolderOfFullPath(std::string_view path);

}  // namespace vantrel
