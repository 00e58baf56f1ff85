// What the setup writes to the registry: the uninstall entry, listed in the
// order it is written. The Run value that starts the launcher at log-on is the
// launcher's own (core/shell/autostart.h), so both programs write one form.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/shell/autostart.h"
#include "setup/core/paths.h"

namespace talvo::setup {

// Under HKEY_CURRENT_USER.
inline constexpr std::string_view kUninstallKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Talvo";

enum class ValueType : std::uint8_t { String, Dword };  // REG_SZ, REG_DWORD

struct RegistryValue {
    std::string_view name;
    ValueType type;
    std::vector<std::uint8_t> data;  // the bytes passed to the system, count included
};

// UTF-16 little-endian with its terminating zero.
std::vector<std::uint8_t> string_data(std::string_view text);
// Four bytes, little-endian.
std::vector<std::uint8_t> dword_data(std::uint32_t value);

// KiB of the launcher plus KiB of the uninstaller file, each rounded down; the
// launcher alone when the uninstaller's size is unknown. Saturates at 2^32 - 1.
std::uint32_t estimated_size(std::uint32_t launcher_kib,
                             std::optional<std::uint64_t> uninstaller_bytes);

std::vector<RegistryValue> uninstall_entry_values(const InstallPaths& paths,
                                                  std::uint32_t estimated_size_kib);

}  // namespace talvo::setup
