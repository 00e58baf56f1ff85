// The setup's file operations: the install folder, the launcher written from
// the payload, the uninstaller copy, and the deletions of an uninstall.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "setup/core/paths.h"
#include "setup/core/result.h"

namespace talvo::setup::win {

// The folder and its missing parents.
StepResult create_install_folder(const std::string& folder);

// Writes `bytes` as the file at `path`, trying up to 20 times 150 ms apart
// while another program holds the file (write_retry.h).
StepResult write_payload(const std::string& path, std::span<const std::uint8_t> bytes);

// Copies this running program to `uninstaller`, unless it already is that
// file, without the download's Mark of the Web.
StepResult copy_uninstaller(const std::string& uninstaller);

std::optional<std::uint64_t> file_size(const std::string& path);
bool folder_exists(const std::string& path);

// Failures are ignored by the callers, so these report nothing.
void delete_file(const std::string& path);
// The folder with everything in it; links inside it are removed, never followed.
void delete_folder_tree(const std::string& folder);

}  // namespace talvo::setup::win
