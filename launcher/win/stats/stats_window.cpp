#include "win/stats/stats_window.h"

#include <windowsx.h>

#include <array>
#include <unordered_map>

#include "core/page/geometry.h"
#include "core/shell/launcher_protocol.h"
#include "core/stats/stats_access.h"
#include "core/stats/stats_model.h"
#include "core/stats/stats_page.h"
#include "win/page/drawing.h"
#include "win/page/page_painter.h"
#include "win/platform/app_icon.h"
#include "win/platform/dwm_attributes.h"
#include "win/platform/monitor.h"
#include "win/platform/text_win.h"
#include "win/platform/unique_resource.h"
#include "win/popup/accessible_object.h"
#include "win/shell/app_state.h"

namespace talvo::win {
namespace {

constexpr const wchar_t* kStatsClassName = protocol::kStatsWindowClass;
constexpr wchar_t kStatsTitle[] = L"Statistiques · Talvo";
constexpr DWORD kStatsStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

using StatsFonts = std::array<unique_hfont, kStatsFonts.size()>;

struct StatsWindowState {
    std::optional<ChartHover> hover;
    StatsModel model;
    std::vector<HoverRegion> hover_regions;
    HWND hwnd = nullptr;
    StatsFonts fonts;
    float scale = 1.0f;
    std::int32_t scroll = 0;
    bool mouse_tracked = false;
};

BorrowSlot<StatsWindowState>& stats_state() {
    static BorrowSlot<StatsWindowState> slot;
    return slot;
}

HWND& open_window() {
    static HWND hwnd = nullptr;
    return hwnd;
}

StatsFonts create_stats_fonts(float scale) {
    StatsFonts fonts;
    for (std::size_t i = 0; i < fonts.size(); ++i) {
        fonts[i] = create_font(kStatsFonts[i].size * scale, kStatsFonts[i].weight, kStatsFontFace);
    }
    return fonts;
}

// The figures of the current records and catalogue; nothing when the UI state is busy.
std::optional<StatsModel> current_model() {
    StateSlot::Borrow app = ui_state().borrow();
    if (!app) {
        return std::nullopt;
    }
    return build_stats(app->memory.records, app->catalog, app->key_index, system_platform().clock);
}

std::int32_t client_height(HWND hwnd) {
    RECT client{};
    GetClientRect(hwnd, &client);
    return client.bottom - client.top;
}

void scroll_by(HWND hwnd, std::int64_t delta) {
    bool changed = false;
    if (BorrowSlot<StatsWindowState>::Borrow state = stats_state().borrow()) {
        const std::int32_t scroll =
            clamped_scroll(state->scroll, delta, client_height(hwnd), state->scale);
        changed = scroll != state->scroll;
        state->scroll = scroll;
    }
    if (changed) {
        InvalidateRect(hwnd, nullptr, FALSE);
    }
}

// The window's scale, or nothing when its state is busy.
std::optional<float> window_scale() {
    BorrowSlot<StatsWindowState>::Borrow state = stats_state().borrow();
    return state ? std::optional(state->scale) : std::nullopt;
}

// Non-owning views of the icons of the listed entries, taken from the popup's cache.
using IconViews = std::unordered_map<std::string, const IconSlot*>;

IconViews listed_icons(const StatsModel& model) {
    IconViews icons;
    StateSlot::Borrow app = ui_state().borrow();
    if (!app) {
        return icons;  // letter tiles this time
    }
    const auto collect = [&](const std::string& key) {
        const auto found = app->icon_cache.find(key);
        if (found != app->icon_cache.end() && found->second.has_bitmap()) {
            icons.emplace(key, &found->second);
        }
    };
    for (const TopItem& item : model.top) {
        collect(item.key);
    }
    for (const RecentItem& item : model.recent) {
        collect(item.key);
    }
    return icons;
}

// The page as it is drawn now; `dc` measures the texts.
StatsPage layout_page(HDC dc, const StatsWindowState& state, const IconViews& icons) {
    return layout_stats_page(
        state.model, {state.scale, state.scroll, state.hover}, dark_palette(),
        [&](std::string_view key) { return icons.contains(std::string(key)); },
        [&](std::string_view text, std::size_t font) {
            SelectObject(dc, state.fonts[font].get());
            return text_width(dc, text);
        });
}

// What screen readers are told about the window: its accessible object and
// the page's lines as the last paint (or refresh) laid them out. Readers ask
// many questions between two paints, and none lays the page out again. The
// record belongs to one window: a later window never answers with it.
struct StatsAccess {
    HWND hwnd = nullptr;
    AccessibleRoot object;
    std::optional<std::vector<access::Element>> lines;
};

StatsAccess& stats_access() {
    static StatsAccess record;
    return record;
}

std::vector<access::Element> lines_of(const StatsPage& page) {
    return stats_access_elements(page);
}

// The page laid out for readers alone, before its first paint.
std::optional<std::vector<access::Element>> lay_out_lines(HWND hwnd) {
    BorrowSlot<StatsWindowState>::Borrow state = stats_state().borrow();
    const unique_window_dc dc(hwnd);
    if (!state || !dc) {
        return std::nullopt;
    }
    const SelectObjectScope font(dc.get(), state->fonts[0].get());
    return lines_of(layout_page(dc.get(), *state, listed_icons(state->model)));
}

class StatsPageSource final : public AccessibleSource {
  public:
    explicit StatsPageSource(HWND hwnd) : hwnd_(hwnd) {}

    std::optional<AccessibleContent> read() override {
        StatsAccess& record = stats_access();
        if (record.hwnd != hwnd_) {
            return std::nullopt;
        }
        if (!record.lines) {
            record.lines = lay_out_lines(hwnd_);
        }
        if (!record.lines) {
            return std::nullopt;
        }
        RECT client{};
        GetClientRect(hwnd_, &client);
        return AccessibleContent{
            stats_document_element({client.left, client.top, client.right, client.bottom},
                                   GetForegroundWindow() == hwnd_),
            *record.lines};
    }

  private:
    HWND hwnd_;
};

LRESULT on_get_object(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (static_cast<LONG>(static_cast<DWORD>(lparam)) != OBJID_CLIENT) {
        return DefWindowProcW(hwnd, message, wparam, lparam);
    }
    StatsAccess& record = stats_access();
    if (record.hwnd != hwnd || record.object.get() == nullptr) {
        record.object.reset();
        record.lines.reset();
        record.hwnd = hwnd;
        record.object =
            AccessibleRoot(AccessibleObject::create(hwnd, std::make_unique<StatsPageSource>(hwnd)));
    }
    return LresultFromObject(kAccessibleIid, wparam, record.object.get());
}

void paint_page(HDC dc, const RECT& client, StatsWindowState& state) {
    const IconViews icons = listed_icons(state.model);
    const StatsPage page = layout_page(dc, state, icons);
    state.hover_regions = page.hover_regions;
    if (StatsAccess& record = stats_access(); record.hwnd == state.hwnd) {
        record.lines = lines_of(page);
    }
    std::array<HFONT, kStatsFonts.size()> fonts{};
    for (std::size_t i = 0; i < fonts.size(); ++i) {
        fonts[i] = state.fonts[i].get();
    }
    draw_page(dc, client, {dark_palette().stats.background, page.shapes, page.texts}, fonts,
              [&](std::string_view key) -> const IconSlot* {
                  const auto found = icons.find(std::string(key));
                  return found != icons.end() ? found->second : nullptr;
              });
}

void on_paint(HWND hwnd) {
    paint_double_buffered(hwnd, [&](HDC dc, const RECT& client) {
        BorrowSlot<StatsWindowState>::Borrow state = stats_state().borrow();
        if (!state) {
            return false;
        }
        paint_page(dc, client, *state);
        return true;
    });
}

std::optional<StatsKey> stats_key(WPARAM virtual_key) {
    switch (virtual_key) {
        case VK_UP:
            return StatsKey::Up;
        case VK_DOWN:
            return StatsKey::Down;
        case VK_PRIOR:
            return StatsKey::PageUp;
        case VK_NEXT:
            return StatsKey::PageDown;
        case VK_SPACE:
            return StatsKey::Space;
        case VK_HOME:
            return StatsKey::Home;
        case VK_END:
            return StatsKey::End;
        default:
            return std::nullopt;
    }
}

void on_key_down(HWND hwnd, WPARAM virtual_key) {
    if (virtual_key == VK_ESCAPE) {
        DestroyWindow(hwnd);
        return;
    }
    const std::optional<StatsKey> key = stats_key(virtual_key);
    const std::optional<float> scale = window_scale();
    if (key && scale) {
        scroll_by(hwnd, scroll_step(*key, client_height(hwnd), *scale));
    }
}

void on_mouse_move(HWND hwnd, LPARAM position) {
    bool changed = false;
    if (BorrowSlot<StatsWindowState>::Borrow state = stats_state().borrow()) {
        if (!state->mouse_tracked) {
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd, 0};
            TrackMouseEvent(&track);
            state->mouse_tracked = true;
        }
        const std::optional<ChartHover> hover = hover_at(
            state->hover_regions, GET_X_LPARAM(position), GET_Y_LPARAM(position), state->scroll);
        changed = hover != state->hover;
        state->hover = hover;
    }
    if (changed) {
        InvalidateRect(hwnd, nullptr, FALSE);
    }
}

void on_mouse_leave(HWND hwnd) {
    if (BorrowSlot<StatsWindowState>::Borrow state = stats_state().borrow()) {
        state->mouse_tracked = false;
        state->hover.reset();
    }
    InvalidateRect(hwnd, nullptr, FALSE);
}

void on_wheel(HWND hwnd, WPARAM wparam) {
    if (const std::optional<float> scale = window_scale()) {
        scroll_by(hwnd, wheel_step(GET_WHEEL_DELTA_WPARAM(wparam), *scale));
    }
}

void on_dpi_changed(HWND hwnd, WPARAM wparam, LPARAM lparam) {
    if (BorrowSlot<StatsWindowState>::Borrow state = stats_state().borrow()) {
        state->scale = static_cast<float>(LOWORD(wparam)) / 96.0f;
        state->fonts = create_stats_fonts(state->scale);
        state->scroll = 0;
    }
    const RECT* suggested = reinterpret_cast<const RECT*>(lparam);
    SetWindowPos(hwnd, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                 suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void on_size(HWND hwnd) {
    if (BorrowSlot<StatsWindowState>::Borrow state = stats_state().borrow()) {
        state->scroll = clamped_scroll(state->scroll, 0, client_height(hwnd), state->scale);
    }
    InvalidateRect(hwnd, nullptr, FALSE);
}

void on_destroy() {
    StatsAccess& record = stats_access();
    record.object.reset();  // a reader that still holds it gets failures from now on
    record.lines.reset();
    record.hwnd = nullptr;
    stats_state().clear();  // the fonts go with it
    open_window() = nullptr;
    if (ui_values().preview_mode) {
        PostQuitMessage(0);
    }
}

LRESULT CALLBACK stats_window_procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_DESTROY:
            on_destroy();
            return 0;
        case WM_SIZE:
            on_size(hwnd);
            return 0;
        case WM_PAINT:
            on_paint(hwnd);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_KEYDOWN:
            on_key_down(hwnd, wparam);
            return 0;
        case WM_MOUSEMOVE:
            on_mouse_move(hwnd, lparam);
            return 0;
        case WM_MOUSEWHEEL:
            on_wheel(hwnd, wparam);
            return 0;
        case WM_MOUSELEAVE:
            on_mouse_leave(hwnd);
            return 0;
        case WM_DPICHANGED:
            on_dpi_changed(hwnd, wparam, lparam);
            return 0;
        case WM_GETOBJECT:
            return on_get_object(hwnd, message, wparam, lparam);
        case WM_ACTIVATE:
            if (LOWORD(wparam) != WA_INACTIVE) {
                // The document has the focus while its window is active.
                NotifyWinEvent(EVENT_OBJECT_FOCUS, hwnd, OBJID_CLIENT, CHILDID_SELF);
            }
            return DefWindowProcW(hwnd, message, wparam, lparam);
        default:
            return DefWindowProcW(hwnd, message, wparam, lparam);
    }
}

void register_class_once(HINSTANCE instance) {
    static bool registered = false;
    if (registered) {
        return;
    }
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.style = CS_HREDRAW | CS_VREDRAW;
    window_class.lpfnWndProc = stats_window_procedure;
    window_class.hInstance = instance;
    // The class keeps its icons for the life of the process.
    const auto kept = [](AppIcon icon) {
        icon.loaded.release();
        return icon.handle;
    };
    window_class.hIcon = kept(load_app_icon(32));
    window_class.hIconSm = kept(load_app_icon(16));
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.lpszClassName = kStatsClassName;
    registered = RegisterClassExW(&window_class) != 0;
}

struct NewWindow {
    HWND hwnd = nullptr;
    float monitor_scale = 1.0f;
};

// Centred on the work area of the monitor under the cursor, as high as the
// page or the work area allows.
NewWindow create_stats_window(HINSTANCE instance) {
    const PointerMonitor monitor = monitor_under_pointer();
    const UINT dpi = monitor.dpi;
    const float scale = static_cast<float>(dpi) / 96.0f;
    const RECT& work = monitor.work_area;
    RECT frame{0, 0, scaled_px(kStatsPageWidth, scale),
               stats_client_height(work.bottom - work.top, scale)};
    AdjustWindowRectExForDpi(&frame, kStatsStyle, FALSE, 0, dpi);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const int left = work.left + (work.right - work.left - width) / 2;
    const int top = work.top + (work.bottom - work.top - height) / 2;
    const HWND hwnd = CreateWindowExW(0, kStatsClassName, kStatsTitle, kStatsStyle, left, top,
                                      width, height, nullptr, nullptr, instance, nullptr);
    return {hwnd, scale};
}

void create_window_with(StatsModel model) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    register_class_once(instance);
    const NewWindow created = create_stats_window(instance);
    if (created.hwnd == nullptr) {
        return;  // no window and no state: the next open tries again
    }
    dwm::set_attribute(created.hwnd, dwm::kUseImmersiveDarkMode, dark_palette().dark_frame ? 1 : 0);
    auto state = std::make_unique<StatsWindowState>();
    const UINT dpi = GetDpiForWindow(created.hwnd);
    state->scale = dpi > 0 ? static_cast<float>(dpi) / 96.0f : created.monitor_scale;
    state->fonts = create_stats_fonts(state->scale);
    state->model = std::move(model);
    state->hwnd = created.hwnd;
    stats_state().install(std::move(state));
    open_window() = created.hwnd;
    ShowWindow(created.hwnd, SW_SHOW);
    SetForegroundWindow(created.hwnd);
}

}  // namespace

HWND stats_window() {
    return open_window();
}

void open_stats_window() {
    std::optional<StatsModel> model = current_model();
    if (!model) {
        return;
    }
    const HWND hwnd = open_window();
    if (hwnd == nullptr) {
        create_window_with(std::move(*model));
        return;
    }
    if (BorrowSlot<StatsWindowState>::Borrow state = stats_state().borrow()) {
        state->model = std::move(*model);
    }
    if (IsIconic(hwnd)) {
        ShowWindow(hwnd, SW_RESTORE);
    }
    SetForegroundWindow(hwnd);
    InvalidateRect(hwnd, nullptr, FALSE);
}

void refresh_stats_window() {
    const HWND hwnd = open_window();
    if (hwnd == nullptr) {
        return;
    }
    std::optional<StatsModel> model = current_model();
    BorrowSlot<StatsWindowState>::Borrow state = stats_state().borrow();
    if (!model || !state) {
        return;
    }
    state->model = std::move(*model);
    state.release();
    // Painted now, so that a reader who hears the change reads the new page.
    InvalidateRect(hwnd, nullptr, FALSE);
    UpdateWindow(hwnd);
    NotifyWinEvent(EVENT_OBJECT_REORDER, hwnd, OBJID_CLIENT, CHILDID_SELF);
}

void repaint_stats_window() {
    const HWND hwnd = open_window();
    if (hwnd != nullptr && stats_state().borrow()) {
        InvalidateRect(hwnd, nullptr, FALSE);
    }
}

}  // namespace talvo::win
