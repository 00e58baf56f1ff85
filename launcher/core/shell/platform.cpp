#include "core/shell/platform.h"

namespace talvo {

std::string join_path(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (!path.empty() && path.back() != kPathSeparator && path.back() != '/') {
        path.push_back(kPathSeparator);
    }
    path.append(name);
    return path;
}

std::string data_folder(const Environment& environment) {
    const std::optional<std::string> appdata = environment.variable("APPDATA");
    return join_path(appdata ? *appdata : std::string("."), "Talvo");
}

}  // namespace talvo
