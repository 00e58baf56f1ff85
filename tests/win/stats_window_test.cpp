// The statistics window in this process, over a state of 6,000 launches: its
// size on a short work area, scrolling to the end, and DPI changes.
#include <gtest/gtest.h>

#include <windows.h>

#include <oleacc.h>

#include "popup_test_state.h"
#include "win/platform/unique_resource.h"
#include "win/popup/accessible_object.h"
#include "win/stats/stats_window.h"

namespace talvo::win {
namespace {

void pump() {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageW(&message);
    }
}

// A launcher in this process with `records` launches of the built-in entries.
class InstalledState {
  public:
    explicit InstalledState(std::size_t records) : test_({}, 0, records) {}
    ~InstalledState() {
        if (stats().hwnd() != nullptr) {
            DestroyWindow(stats().hwnd());
        }
        pump();
    }
    InstalledState(const InstalledState&) = delete;
    InstalledState& operator=(const InstalledState&) = delete;
    StatsWindow& stats() { return test_.stats(); }

  private:
    TestLauncher test_;
};

RECT client_of(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return client;
}

// Wine ignores a work area set by a program, so the short window is made by
// resizing: the page then scrolls, End shows the learned card, Home the top.
TEST(StatsWindow, OneWindowThatScrollsWhenShorterThanThePage) {
    InstalledState state(6000);
    state.stats().open();
    pump();
    const HWND window = state.stats().hwnd();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(client_of(window).right, 880);
    state.stats().open();
    pump();
    EXPECT_EQ(state.stats().hwnd(), window) << "a second open keeps the window";

    RECT outer{};
    GetWindowRect(window, &outer);
    const int frame = (outer.bottom - outer.top) - client_of(window).bottom;
    SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left, 620 + frame,
                 SWP_NOMOVE | SWP_NOZORDER);
    pump();
    ASSERT_EQ(client_of(window).bottom, 620);
    // Between the columns of cards; the screen shows a paint a moment later.
    const auto at_gap = [&] {
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        const COLORREF first = client_pixel(window, 440, 520);
        for (int i = 0; i < 50; ++i) {
            pump();
            Sleep(10);
            if (client_pixel(window, 440, 520) != first) {
                break;
            }
        }
        return client_pixel(window, 440, 520);
    };
    EXPECT_EQ(at_gap(), 0x1C1C1Cu) << "the top of the page";
    SendMessageW(window, WM_KEYDOWN, VK_END, 0);
    EXPECT_EQ(at_gap(), 0x262626u) << "End: the learned card spans both columns";
    SendMessageW(window, WM_KEYDOWN, VK_HOME, 0);
    EXPECT_EQ(at_gap(), 0x1C1C1Cu) << "Home";
    SendMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120 * 5)), 0);
    EXPECT_EQ(at_gap(), 0x262626u) << "five notches towards the user: 320 pixels down";

    SendMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
    pump();
    EXPECT_EQ(state.stats().hwnd(), nullptr) << "Escape closes it";
}

VARIANT child(long id) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

ComPtr<IAccessible> client_object(HWND window) {
    ComPtr<IAccessible> object;
    AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), kAccessibleIid,
                               object.put_void());
    return object;
}

long top_of(IAccessible* page, long id) {
    long left = 0, top = 0, width = 0, height = 0;
    page->accLocation(&left, &top, &width, &height, child(id));
    return top;
}

// Readers ask many questions between two paints: they hear the page as it was
// last painted, from the objects of this window only, and nothing once it is gone.
TEST(StatsWindow, ReadersHearTheLastPaintOfTheirOwnWindow) {
    const ComApartment apartment;
    InstalledState state(6000);
    state.stats().open();
    pump();
    const HWND window = state.stats().hwnd();
    ASSERT_NE(window, nullptr);
    RECT outer{};
    GetWindowRect(window, &outer);
    const int frame = (outer.bottom - outer.top) - client_of(window).bottom;
    SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left, 620 + frame,
                 SWP_NOMOVE | SWP_NOZORDER);
    UpdateWindow(window);
    const ComPtr<IAccessible> page = client_object(window);
    ASSERT_TRUE(page);
    VARIANT focus;
    ASSERT_EQ(page->get_accFocus(&focus), S_OK);
    EXPECT_EQ(focus.vt, VT_I4);
    EXPECT_EQ(focus.lVal, CHILDID_SELF) << "the document, while its window is active";

    const long painted_top = top_of(page.get(), 1);
    SendMessageW(window, WM_KEYDOWN, VK_END, 0);  // scrolled, not painted yet
    EXPECT_EQ(top_of(page.get(), 1), painted_top) << "as on screen until the next paint";
    UpdateWindow(window);
    EXPECT_LT(top_of(page.get(), 1), painted_top) << "the painted page scrolled";

    SendMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
    pump();
    long count = 0;
    EXPECT_EQ(page->get_accChildCount(&count), CO_E_OBJNOTCONNECTED);
    state.stats().open();
    pump();
    const HWND second = state.stats().hwnd();
    ASSERT_NE(second, nullptr);
    const ComPtr<IAccessible> again = client_object(second);
    ASSERT_TRUE(again);
    EXPECT_NE(again.get(), page.get()) << "a new window, new objects";
    EXPECT_EQ(again->get_accChildCount(&count), S_OK);
    EXPECT_GT(count, 3);
    EXPECT_EQ(page->get_accChildCount(&count), CO_E_OBJNOTCONNECTED) << "the old one stays cut off";
}

TEST(StatsWindow, DpiChangesTakeTheSuggestedRectangle) {
    InstalledState state(1);
    state.stats().open();
    pump();
    const HWND window = state.stats().hwnd();
    ASSERT_NE(window, nullptr);
    for (const UINT dpi : {120u, 144u, 168u, 96u}) {
        RECT suggested{10, 10, 10 + MulDiv(900, static_cast<int>(dpi), 96),
                       10 + MulDiv(500, static_cast<int>(dpi), 96)};
        SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&suggested));
        EXPECT_TRUE(RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW));
        RECT outer{};
        GetWindowRect(window, &outer);
        EXPECT_EQ(outer.right - outer.left, suggested.right - suggested.left) << dpi;
        EXPECT_EQ(outer.bottom - outer.top, suggested.bottom - suggested.top) << dpi;
    }
}

}  // namespace
}  // namespace talvo::win
