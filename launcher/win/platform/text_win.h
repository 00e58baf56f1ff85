// Conversions between the core's UTF-8 text and the wide strings of Win32.
#pragma once

#include <string>
#include <string_view>

#include "core/text/utf.h"

namespace talvo::win {

inline std::wstring widen(std::string_view text) {
    const std::u16string units = utf8_to_utf16(text);
    return std::wstring(units.begin(), units.end());
}

inline std::string narrow(std::wstring_view text, InvalidUtf16 policy = InvalidUtf16::Replace) {
    const std::u16string_view units(reinterpret_cast<const char16_t*>(text.data()), text.size());
    return utf16_to_utf8(units, policy);
}

}  // namespace talvo::win
