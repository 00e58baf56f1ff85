#include "setup/core/write_retry.h"

namespace talvo::setup {
namespace {

// Windows system error codes.
constexpr std::uint32_t kAccessDenied = 5;       // also a file whose deletion is pending
constexpr std::uint32_t kSharingViolation = 32;  // opened elsewhere without sharing
constexpr std::uint32_t kLockViolation = 33;     // a range locked elsewhere
constexpr std::uint32_t kUserMappedFile = 1224;  // mapped elsewhere: cannot be truncated

}  // namespace

bool counts_as_sharing_violation(std::uint32_t system_error) {
    return system_error == kAccessDenied || system_error == kSharingViolation ||
           system_error == kLockViolation || system_error == kUserMappedFile;
}

std::uint32_t write_with_retries(const std::function<std::uint32_t()>& attempt,
                                 const std::function<void(std::chrono::milliseconds)>& pause) {
    std::uint32_t error = attempt();
    for (int done = 1; done < kWriteAttempts && error != 0 && counts_as_sharing_violation(error);
         ++done) {
        pause(kWriteRetryPause);
        error = attempt();
    }
    return error;
}

}  // namespace talvo::setup
