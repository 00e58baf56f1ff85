#include "win/platform/system_error.h"

#include "core/text/fold.h"
#include "win/platform/text_win.h"

namespace talvo::win {

std::string system_error_text(DWORD code) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::string text;
    if (length != 0 && buffer != nullptr) {
        text = std::string(trim_white_space(narrow(std::wstring_view(buffer, length))));
    }
    LocalFree(buffer);
    const std::string number = "(os error " + std::to_string(code) + ")";
    return text.empty() ? number : text + " " + number;
}

}  // namespace talvo::win
