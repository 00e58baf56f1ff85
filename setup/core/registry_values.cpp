#include "setup/core/registry_values.h"

#include <limits>

#include "core/text/utf.h"
#include "version.h"

namespace talvo::setup {
namespace {

std::string quoted(std::string_view path) {
    return "\"" + std::string(path) + "\"";
}

RegistryValue string_value(std::string_view name, std::string_view text) {
    return {name, ValueType::String, string_data(text)};
}

RegistryValue dword_value(std::string_view name, std::uint32_t value) {
    return {name, ValueType::Dword, dword_data(value)};
}

}  // namespace

std::vector<std::uint8_t> string_data(std::string_view text) {
    std::u16string units = utf8_to_utf16(text);
    units.push_back(u'\0');
    std::vector<std::uint8_t> bytes;
    bytes.reserve(units.size() * 2);
    for (const char16_t unit : units) {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    return bytes;
}

std::vector<std::uint8_t> dword_data(std::uint32_t value) {
    return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
            static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
}

std::uint32_t estimated_size(std::uint32_t launcher_kib,
                             std::optional<std::uint64_t> uninstaller_bytes) {
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint32_t>::max();
    const std::uint64_t total = launcher_kib + uninstaller_bytes.value_or(0) / 1024;
    return static_cast<std::uint32_t>(total < kMax ? total : kMax);
}

std::vector<RegistryValue> uninstall_entry_values(const InstallPaths& paths,
                                                  std::uint32_t estimated_size_kib) {
    std::vector<RegistryValue> values;
    values.push_back(string_value("DisplayName", TALVO_PRODUCT_NAME));
    values.push_back(string_value("DisplayVersion", TALVO_VERSION_TEXT));
    values.push_back(string_value("Publisher", TALVO_COMPANY_NAME));
    values.push_back(string_value("DisplayIcon", paths.launcher + ",0"));
    values.push_back(string_value("InstallLocation", paths.folder));
    values.push_back(string_value("UninstallString", quoted(paths.uninstaller) + " /uninstall"));
    values.push_back(
        string_value("QuietUninstallString", quoted(paths.uninstaller) + " /uninstall /S"));
    values.push_back(dword_value("EstimatedSize", estimated_size_kib));
    values.push_back(dword_value("NoModify", 1));
    values.push_back(dword_value("NoRepair", 1));
    return values;
}

}  // namespace talvo::setup
