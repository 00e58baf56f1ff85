// The desktop's shell (the Explorer that shows the desktop), asked to start a
// program: it runs with the rights of the person logged on, never elevated
// when they are not.
#pragma once

#include <windows.h>

#include <shldisp.h>

#include <optional>
#include <string>

#include "win/platform/unique_resource.h"

namespace talvo::setup::win {

class DesktopShell {
  public:
    // The shell behind the desktop's folder view; nothing when no shell shows
    // the desktop. Needs COM on this thread.
    static std::optional<DesktopShell> find();

    DWORD process_id() const { return process_id_; }

    // Starts `program` with `arguments`, `folder` as its current folder, and
    // does not wait for it; false when the shell refuses.
    bool start(const std::wstring& program, const std::wstring& arguments,
               const std::wstring& folder) const;

  private:
    DesktopShell(talvo::win::ComPtr<IShellDispatch2> dispatch, DWORD process_id)
        : dispatch_(std::move(dispatch)), process_id_(process_id) {}

    talvo::win::ComPtr<IShellDispatch2> dispatch_;
    DWORD process_id_;
};

}  // namespace talvo::setup::win
