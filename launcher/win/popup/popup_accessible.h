// The popup for screen readers: its dialog object and its results list, made
// at a reader's first question, and the notifications after each change.
#pragma once

#include <windows.h>

#include <optional>

#include "core/popup/popup_access.h"

namespace talvo::win {

// The results list's own object id: servers may define positive ids, and the
// notifications on rows name it, so a reader asks the list about them.
inline constexpr LONG kResultsObjectId = 1;

// WM_GETOBJECT: the dialog (OBJID_CLIENT) or the results list; nothing for other ids.
std::optional<LRESULT> answer_popup_object_request(HWND hwnd, WPARAM wparam, LPARAM lparam);

// Notes a change; its notifications go once the current handler is done, so a
// reader that asks back at once finds the state free.
void announce_popup_change(HWND hwnd, PopupChange change);

// The announcement's message: sends the notifications for the popup as it is now.
void send_popup_notifications(HWND hwnd, WPARAM change);

// The popup is destroyed: readers holding its objects get errors from now on.
void release_popup_accessibility();

}  // namespace talvo::win
