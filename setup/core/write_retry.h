// How the launcher file is written while another program may still hold it:
// up to 20 attempts, 150 ms apart, for as long as the failure is one that
// waiting can cure.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>

namespace talvo::setup {

inline constexpr int kWriteAttempts = 20;
inline constexpr std::chrono::milliseconds kWriteRetryPause{150};

// Whether a system error code (Windows numbering) means that another program
// has the file open or mapped: a launcher that is still ending, an antivirus
// scan, a file whose deletion is pending. Such a failure goes away by itself.
bool counts_as_sharing_violation(std::uint32_t system_error);

// Calls `attempt` (0 when the file is written, else the system's error code)
// until it succeeds, fails with an error that is no sharing violation, or has
// failed `kWriteAttempts` times; `pause` runs between two attempts. Returns the
// code of the last attempt.
std::uint32_t write_with_retries(const std::function<std::uint32_t()>& attempt,
                                 const std::function<void(std::chrono::milliseconds)>& pause);

}  // namespace talvo::setup
