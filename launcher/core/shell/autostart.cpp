#include "core/shell/autostart.h"

namespace talvo {

std::string run_value_data(std::string_view launcher_path) {
    std::string data = "\"";
    data.append(launcher_path);
    data.append("\" --hidden");
    return data;
}

}  // namespace talvo
