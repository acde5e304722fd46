#include "base/path.h"

namespace vantrel {

std::string DirectoryOf(std::string_view path) {
    const std::size_t slash = path.find_last_of("\\/");
    if (slash == std::string_view::npos) return {};
    return std::string(path.substr(0, slash + 1));
}

std::string FileNameOf(std::string_view path) { return std::string(path.substr(DirectoryOf(path).size())); }

std::string FolderOfFullPath(std::string_view path) {
    const bool drive = path.size() > 2 && path[1] == ':' && (path[2] == '\\' || path[2] == '/');
    const bool share = path.substr(0, 2) == "\\\\";
    return drive || share ? DirectoryOf(path) : std::string();
}

}  // namespace vantrel
