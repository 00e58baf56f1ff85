// The start-with-Windows setting: one string value under the user's Run key,
// nothing else. The setup program writes the same value in the same form.
#pragma once

#include <string>
#include <string_view>

namespace talvo {

inline constexpr std::string_view kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr std::string_view kRunValueName = "Talvo";

// The quoted path of the launcher followed by " --hidden", so a start at
// log-on leaves the popup hidden.
std::string run_value_data(std::string_view launcher_path);

}  // namespace talvo
