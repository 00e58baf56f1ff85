// Values the system hands out in buffers of unknown size, read whole: an
// environment variable and the running program's path.
#pragma once

#include <optional>
#include <string>

namespace talvo::win {

// The variable's value; nothing when it is not set (an empty value is a value).
std::optional<std::wstring> environment_variable(const wchar_t* name);

// The running program's full path; nothing when the system cannot tell it.
std::optional<std::wstring> own_program_path();

}  // namespace talvo::win
