// Puts the "Talvo" Run value back as it was before a test, on every path:
// the test prefix is shared by every program of the run.
#pragma once

#include <windows.h>

#include <optional>
#include <vector>

namespace talvo::testing {

inline constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr wchar_t kRunValueName[] = L"Talvo";

class RunValueGuard {
  public:
    RunValueGuard() {
        DWORD bytes = 0;
        if (RegGetValueW(HKEY_CURRENT_USER, kRunKey, kRunValueName, RRF_RT_ANY | RRF_NOEXPAND,
                         &type_, nullptr, &bytes) != ERROR_SUCCESS) {
            return;
        }
        std::vector<BYTE> data(bytes);
        if (RegGetValueW(HKEY_CURRENT_USER, kRunKey, kRunValueName, RRF_RT_ANY | RRF_NOEXPAND,
                         &type_, data.data(), &bytes) == ERROR_SUCCESS) {
            data.resize(bytes);
            saved_ = std::move(data);
        }
    }
    ~RunValueGuard() {
        if (saved_) {
            RegSetKeyValueW(HKEY_CURRENT_USER, kRunKey, kRunValueName, type_, saved_->data(),
                            static_cast<DWORD>(saved_->size()));
        } else {
            RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, kRunValueName);
        }
    }
    RunValueGuard(const RunValueGuard&) = delete;
    RunValueGuard& operator=(const RunValueGuard&) = delete;

  private:
    DWORD type_ = 0;
    std::optional<std::vector<BYTE>> saved_;
};

}  // namespace talvo::testing
