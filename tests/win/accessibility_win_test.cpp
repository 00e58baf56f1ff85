// The popup's notifications for screen readers, heard in this process (Wine
// does not pass win events to a hook of another process): the query's new
// value, the list's new order, the chosen row, or the list when nothing is found.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <vector>

#include "core/popup/popup_access.h"
#include "popup_test_state.h"
#include "win/popup/popup_accessible.h"
#include "win/popup/popup_window.h"
#include "win/shell/app_state.h"

namespace talvo::win {
namespace {

struct Heard {
    DWORD event;
    LONG object;
    LONG child;

    bool operator==(const Heard&) const = default;
};

std::vector<Heard>& heard() {
    static std::vector<Heard> events;
    return events;
}

HWND& listened_window() {
    static HWND hwnd = nullptr;
    return hwnd;
}

void CALLBACK record(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD, DWORD) {
    if (hwnd == listened_window()) {
        heard().push_back({event, object, child});
    }
}

class WinEventHook {
  public:
    WinEventHook()
        : hook_(SetWinEventHook(EVENT_OBJECT_REORDER, EVENT_OBJECT_VALUECHANGE, nullptr, record,
                                GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT)) {}
    ~WinEventHook() { UnhookWinEvent(hook_); }
    WinEventHook(const WinEventHook&) = delete;
    WinEventHook& operator=(const WinEventHook&) = delete;
    explicit operator bool() const { return hook_ != nullptr; }

  private:
    HWINEVENTHOOK hook_;
};

void pump() {
    MSG message{};
    for (int i = 0; i < 20; ++i) {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message != WM_QUIT) {
                DispatchMessageW(&message);
            }
        }
        Sleep(5);
    }
}

// The notifications of one change: only those of the popup's own objects.
std::vector<Heard> notifications(HWND popup, PopupChange change) {
    heard().clear();
    SendMessageW(popup, kAccessChangeMessage, static_cast<WPARAM>(change), 0);
    pump();
    std::vector<Heard> ours;
    for (const Heard& h : heard()) {
        if (h.event != EVENT_OBJECT_LOCATIONCHANGE && h.event != EVENT_OBJECT_NAMECHANGE) {
            ours.push_back(h);
        }
    }
    return ours;
}

TEST(PopupNotifications, ReadersHearTheQueryTheListAndTheChosenRow) {
    const WinEventHook hook;
    ASSERT_TRUE(hook);
    TestLauncher test("d", 3);
    ASSERT_NE(test.hwnd(), nullptr);
    listened_window() = test.hwnd();

    EXPECT_EQ(notifications(test.hwnd(), PopupChange::Recomputed),
              (std::vector<Heard>{{EVENT_OBJECT_VALUECHANGE, OBJID_CLIENT, 1},
                                  {EVENT_OBJECT_REORDER, kResultsObjectId, CHILDID_SELF},
                                  {EVENT_OBJECT_FOCUS, kResultsObjectId, 1},
                                  {EVENT_OBJECT_SELECTION, kResultsObjectId, 1}}));
    test.ui().popup.borrow()->selected = 2;
    EXPECT_EQ(notifications(test.hwnd(), PopupChange::SelectionMoved),
              (std::vector<Heard>{{EVENT_OBJECT_FOCUS, kResultsObjectId, 3},
                                  {EVENT_OBJECT_SELECTION, kResultsObjectId, 3}}));
    if (auto popup = test.ui().popup.borrow()) {
        popup->query = "dzz";
        popup->results.clear();
        popup->selected = 0;
    }
    EXPECT_EQ(notifications(test.hwnd(), PopupChange::Recomputed),
              (std::vector<Heard>{{EVENT_OBJECT_VALUECHANGE, OBJID_CLIENT, 1},
                                  {EVENT_OBJECT_REORDER, kResultsObjectId, CHILDID_SELF},
                                  {EVENT_OBJECT_FOCUS, kResultsObjectId, CHILDID_SELF}}));

    // Typing goes through the rows' recomputation, which announces the change.
    heard().clear();
    test.popup().recompute();
    pump();
    EXPECT_NE(
        std::find(heard().begin(), heard().end(), Heard{EVENT_OBJECT_VALUECHANGE, OBJID_CLIENT, 1}),
        heard().end())
        << "a recomputation is announced";
    listened_window() = nullptr;
}

// Up and Down through the popup's own key handler: the reader hears the focus
// and the selection move to the new row, and nothing else.
TEST(PopupNotifications, UpAndDownAnnounceTheNewRow) {
    const WinEventHook hook;
    ASSERT_TRUE(hook);
    TestLauncher test("d", 3);
    ASSERT_NE(test.hwnd(), nullptr);
    listened_window() = test.hwnd();
    test.ui().popup.borrow()->visible = true;
    ShowWindow(test.hwnd(), SW_SHOWNOACTIVATE);
    pump();

    const struct {
        WPARAM key;
        LONG row_child;
    } moves[] = {{VK_DOWN, 2}, {VK_DOWN, 3}, {VK_DOWN, 1}, {VK_UP, 3}};
    for (const auto& move : moves) {
        heard().clear();
        test.popup().on_key_down(move.key);
        pump();
        std::vector<Heard> ours;
        for (const Heard& h : heard()) {
            if (h.event == EVENT_OBJECT_FOCUS || h.event == EVENT_OBJECT_SELECTION) {
                ours.push_back(h);
            }
        }
        EXPECT_EQ(ours,
                  (std::vector<Heard>{{EVENT_OBJECT_FOCUS, kResultsObjectId, move.row_child},
                                      {EVENT_OBJECT_SELECTION, kResultsObjectId, move.row_child}}))
            << "key " << move.key;
    }
    listened_window() = nullptr;
}

}  // namespace
}  // namespace talvo::win
