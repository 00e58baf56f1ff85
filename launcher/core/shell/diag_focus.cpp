#include "core/shell/diag_focus.h"

namespace talvo {
namespace {

constexpr std::string_view kWindowLinePrefix = "diag-focus fenêtre : ";

const char* yes_no(bool value) {
    return value ? "true" : "false";
}

}  // namespace

std::string format_window_handle(std::uintptr_t handle) {
    constexpr char kDigits[] = "0123456789abcdef";
    std::string digits;
    do {
        digits.insert(digits.begin(), kDigits[handle % 16]);
        handle /= 16;
    } while (handle != 0);
    return "0x" + digits;
}

std::string format_optional_text(const std::optional<std::string>& text) {
    if (!text) {
        return "None";
    }
    std::string out = "Some(\"";
    for (const char c : *text) {
        if (c == '\\' || c == '"') {
            out.push_back('\\');
        }
        out.push_back(c);
    }
    out.append("\")");
    return out;
}

std::string switchable_window_line(const SwitchableWindowFacts& window) {
    std::string line(kWindowLinePrefix);
    line += format_window_handle(window.handle);
    line += " [" + window.class_name + "] « " + window.title + " » aumid=";
    line += format_optional_text(window.app_id);
    line += " exe=" + format_optional_text(window.process_path);
    return line;
}

std::string frame_window_line(const FrameWindowFacts& window) {
    std::string line(kWindowLinePrefix);
    line += "UWP " + format_window_handle(window.handle) + " « " + window.title + " »";
    line += std::string(" visible=") + yes_no(window.visible);
    line += " cloaked=" + std::to_string(window.cloaked);
    line += std::string(" owner=") + yes_no(window.owned);
    line += std::string(" toolwindow=") + yes_no(window.tool_window);
    line += " aumid=" + format_optional_text(window.app_id);
    return line;
}

std::string found_window_line(std::string_view name, std::string_view key, std::uintptr_t handle) {
    std::string line = "diag-focus : ";
    line.append(name);
    line.append(" (");
    line.append(key);
    line.append(") → fenêtre ");
    line += format_window_handle(handle);
    return line;
}

}  // namespace talvo
