// The popup for screen readers: its dialog object and its results list, made
// at a reader's first question, and the notifications after each change.
#pragma once

#include <windows.h>

#include <optional>

#include "core/popup/popup_access.h"
#include "win/popup/accessible_object.h"
#include "win/shell/app_state.h"

namespace talvo::win {

// The results list's own object id: servers may define positive ids, and the
// notifications on rows name it, so a reader asks the list about them.
inline constexpr LONG kResultsObjectId = 1;

// Notes a change; its notifications go once the current handler is done, so a
// reader that asks back at once finds the state free.
void announce_popup_change(HWND hwnd, PopupChange change);

class PopupAccessible {
  public:
    PopupAccessible(BorrowSlot<PopupState>& popup, HWND hwnd) : popup_(popup), hwnd_(hwnd) {}

    // WM_GETOBJECT: the dialog (OBJID_CLIENT) or the results list; nothing for other ids.
    std::optional<LRESULT> answer(WPARAM wparam, LPARAM lparam);
    // The announcement's message: sends the notifications for the popup as it is now.
    void notify(WPARAM change);
    // The popup is destroyed: readers holding its objects get errors from now on.
    void release();

  private:
    void make_objects();

    BorrowSlot<PopupState>& popup_;
    HWND hwnd_;
    AccessibleRoot dialog_;
    AccessibleRoot results_;
};

}  // namespace talvo::win
