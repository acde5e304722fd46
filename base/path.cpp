#include "base/path.h"

namespace vantrel {

std::string DirectoryOf(std::string_view path) {
    const std::size_t slash = path.find_last_of("\\/");
    if (slash == std::string_view::npos) return {};
    return std::string(path.substr(0, slash + 1));
}

std::string FileNameOf(std::string_view path) { return std::string(path.substr(DirectoryOf(path).size())); }

}  // namespace vantrel
