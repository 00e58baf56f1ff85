#include "win/stats/stats_window.h"

#include <windowsx.h>

#include <unordered_map>

#include "core/page/geometry.h"
#include "core/shell/launcher_protocol.h"
#include "core/stats/stats_access.h"
#include "win/page/drawing.h"
#include "win/page/page_painter.h"
#include "win/platform/app_icon.h"
#include "win/platform/dwm_attributes.h"
#include "win/platform/monitor.h"
#include "win/platform/text_win.h"
#include "win/platform/unique_resource.h"

namespace talvo::win {
namespace {

constexpr const wchar_t* kStatsClassName = protocol::kStatsWindowClass;
constexpr wchar_t kStatsTitle[] = L"Statistiques · Talvo";
constexpr DWORD kStatsStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

StatsFonts create_stats_fonts(float scale) {
    StatsFonts fonts;
    for (std::size_t i = 0; i < fonts.size(); ++i) {
        fonts[i] = create_font(kStatsFonts[i].size * scale, kStatsFonts[i].weight, kStatsFontFace);
    }
    return fonts;
}

std::int32_t client_height(HWND hwnd) {
    RECT client{};
    GetClientRect(hwnd, &client);
    return client.bottom - client.top;
}

// Non-owning views of the icons of the listed entries, taken from the icon cache.
using IconViews = std::unordered_map<std::string, const IconSlot*>;

IconViews listed_icons(UiState& ui, const StatsModel& model) {
    IconViews views;
    BorrowSlot<IconStore>::Borrow icons = ui.icons.borrow();
    if (!icons) {
        return views;  // letter tiles this time
    }
    const auto collect = [&](const std::string& key) {
        const auto found = icons->cache.find(key);
        if (found != icons->cache.end() && found->second.has_bitmap()) {
            views.emplace(key, &found->second);
        }
    };
    for (const TopItem& item : model.top) {
        collect(item.key);
    }
    for (const RecentItem& item : model.recent) {
        collect(item.key);
    }
    return views;
}

// The page as it is drawn now; `dc` measures the texts.
StatsPage layout_page(HDC dc, const StatsWindowState& state, const Palette& palette,
                      const IconViews& icons) {
    return layout_stats_page(
        state.model, {state.scale, state.scroll, state.hover}, palette,
        [&](std::string_view key) { return icons.contains(std::string(key)); },
        [&](std::string_view text, std::size_t font) {
            SelectObject(dc, state.fonts[font].get());
            return text_width(dc, text);
        });
}

// What a screen reader reads: the document over the client area, focused
// while the window is active, and the page's lines.
class StatsPageSource final : public AccessibleSource {
  public:
    StatsPageSource(HWND hwnd, std::function<std::optional<std::vector<access::Element>>()> lines)
        : hwnd_(hwnd), lines_(std::move(lines)) {}

    std::optional<AccessibleContent> read() override {
        std::optional<std::vector<access::Element>> lines = lines_();
        if (!lines) {
            return std::nullopt;
        }
        RECT client{};
        GetClientRect(hwnd_, &client);
        return AccessibleContent{
            stats_document_element({client.left, client.top, client.right, client.bottom},
                                   GetForegroundWindow() == hwnd_),
            std::move(*lines)};
    }

  private:
    HWND hwnd_;
    std::function<std::optional<std::vector<access::Element>>()> lines_;
};

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

// Registered once for the process; the class keeps its icons for its life.
bool register_class(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(instance, kStatsClassName, &existing)) {
        return true;
    }
    const auto kept = [](AppIcon icon) {
        icon.loaded.release();
        return icon.handle;
    };
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.style = CS_HREDRAW | CS_VREDRAW;
    window_class.lpfnWndProc = procedure;
    window_class.hInstance = instance;
    window_class.hIcon = kept(load_app_icon(32));
    window_class.hIconSm = kept(load_app_icon(16));
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.lpszClassName = kStatsClassName;
    return RegisterClassExW(&window_class) != 0;
}

struct Placement {
    RECT frame{};
    float scale = 1.0f;
};

// Centred on the work area of the monitor under the cursor, as high as the
// page or the work area allows.
Placement new_window_placement() {
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
    return {{left, top, left + width, top + height}, scale};
}

}  // namespace

StatsWindow::StatsWindow(UiState& state, bool ends_the_loop)
    : ui_(state), ends_the_loop_(ends_the_loop) {}

StatsWindow::~StatsWindow() {
    if (hwnd_ != nullptr) {
        DestroyWindow(hwnd_);
    }
}

LRESULT CALLBACK StatsWindow::procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<StatsWindow*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<StatsWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self == nullptr) {
        return DefWindowProcW(hwnd, message, wparam, lparam);
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        return DefWindowProcW(hwnd, message, wparam, lparam);
    }
    return self->on_message(message, wparam, lparam);
}

LRESULT StatsWindow::on_message(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_DESTROY:
            on_destroy();
            return 0;
        case WM_SIZE:
            on_size();
            return 0;
        case WM_PAINT:
            on_paint();
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_KEYDOWN:
            on_key_down(wparam);
            return 0;
        case WM_MOUSEMOVE:
            on_mouse_move(lparam);
            return 0;
        case WM_MOUSEWHEEL:
            on_wheel(wparam);
            return 0;
        case WM_MOUSELEAVE:
            on_mouse_leave();
            return 0;
        case WM_DPICHANGED:
            on_dpi_changed(wparam, lparam);
            return 0;
        // A high-contrast theme switched on or off, or its colours changed.
        case WM_SETTINGCHANGE:
        case WM_SYSCOLORCHANGE:
        case WM_THEMECHANGED:
            on_theme_change();
            return DefWindowProcW(hwnd_, message, wparam, lparam);
        case WM_GETOBJECT:
            return on_get_object(wparam, lparam);
        case WM_ACTIVATE:
            if (LOWORD(wparam) != WA_INACTIVE) {
                // The document has the focus while its window is active.
                NotifyWinEvent(EVENT_OBJECT_FOCUS, hwnd_, OBJID_CLIENT, CHILDID_SELF);
            }
            return DefWindowProcW(hwnd_, message, wparam, lparam);
        default:
            return DefWindowProcW(hwnd_, message, wparam, lparam);
    }
}

std::optional<StatsModel> StatsWindow::current_model() {
    BorrowSlot<LearningMemory>::Borrow memory = ui_.memory.borrow();
    BorrowSlot<VisibleCatalog>::Borrow catalog = ui_.catalog.borrow();
    if (!memory || !catalog) {
        return std::nullopt;
    }
    return build_stats(memory->records, catalog->catalog(), catalog->key_index(),
                       system_platform().clock);
}

void StatsWindow::open() {
    std::optional<StatsModel> model = current_model();
    if (!model) {
        return;
    }
    if (hwnd_ == nullptr) {
        create_with(std::move(*model));
        return;
    }
    if (BorrowSlot<StatsWindowState>::Borrow state = state_.borrow()) {
        state->model = std::move(*model);
    }
    if (IsIconic(hwnd_)) {
        ShowWindow(hwnd_, SW_RESTORE);
    }
    SetForegroundWindow(hwnd_);
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void StatsWindow::create_with(StatsModel model) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!register_class(instance, procedure)) {
        return;
    }
    const Placement placement = new_window_placement();
    const RECT& frame = placement.frame;
    CreateWindowExW(0, kStatsClassName, kStatsTitle, kStatsStyle, frame.left, frame.top,
                    frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance,
                    this);
    if (hwnd_ == nullptr) {
        return;  // no window and no state: the next open tries again
    }
    colour_frame();
    auto state = std::make_unique<StatsWindowState>();
    const UINT dpi = GetDpiForWindow(hwnd_);
    state->scale = dpi > 0 ? static_cast<float>(dpi) / 96.0f : placement.scale;
    state->fonts = create_stats_fonts(state->scale);
    state->model = std::move(model);
    state_.install(std::move(state));
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
}

void StatsWindow::colour_frame() {
    dwm::set_attribute(hwnd_, dwm::kUseImmersiveDarkMode, ui_.theme.palette().dark_frame ? 1 : 0);
}

void StatsWindow::on_theme_change() {
    ui_.theme.reread();
    colour_frame();
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void StatsWindow::refresh() {
    if (hwnd_ == nullptr) {
        return;
    }
    std::optional<StatsModel> model = current_model();
    BorrowSlot<StatsWindowState>::Borrow state = state_.borrow();
    if (!model || !state) {
        return;
    }
    state->model = std::move(*model);
    state.release();
    // Painted now, so that a reader who hears the change reads the new page.
    InvalidateRect(hwnd_, nullptr, FALSE);
    UpdateWindow(hwnd_);
    NotifyWinEvent(EVENT_OBJECT_REORDER, hwnd_, OBJID_CLIENT, CHILDID_SELF);
}

void StatsWindow::repaint() {
    if (hwnd_ != nullptr && state_.borrow()) {
        InvalidateRect(hwnd_, nullptr, FALSE);
    }
}

void StatsWindow::on_destroy() {
    page_object_.reset();  // a reader that still holds it gets failures from now on
    painted_lines_.reset();
    state_.clear();  // the fonts go with it
    if (ends_the_loop_) {
        PostQuitMessage(0);
    }
}

void StatsWindow::paint_page(HDC dc, const RECT& client, StatsWindowState& state) {
    const IconViews icons = listed_icons(ui_, state.model);
    const StatsPage page = layout_page(dc, state, ui_.theme.palette(), icons);
    state.hover_regions = page.hover_regions;
    painted_lines_ = stats_access_elements(page);
    std::array<HFONT, kStatsFonts.size()> fonts{};
    for (std::size_t i = 0; i < fonts.size(); ++i) {
        fonts[i] = state.fonts[i].get();
    }
    draw_page(dc, client, {ui_.theme.palette().stats.background, page.shapes, page.texts}, fonts,
              [&](std::string_view key) -> const IconSlot* {
                  const auto found = icons.find(std::string(key));
                  return found != icons.end() ? found->second : nullptr;
              });
}

void StatsWindow::on_paint() {
    paint_double_buffered(hwnd_, [&](HDC dc, const RECT& client) {
        BorrowSlot<StatsWindowState>::Borrow state = state_.borrow();
        if (!state) {
            return false;
        }
        paint_page(dc, client, *state);
        return true;
    });
}

std::optional<std::vector<access::Element>> StatsWindow::reader_lines() {
    if (!painted_lines_) {
        BorrowSlot<StatsWindowState>::Borrow state = state_.borrow();
        const unique_window_dc dc(hwnd_);
        if (!state || !dc) {
            return std::nullopt;
        }
        const SelectObjectScope font(dc.get(), state->fonts[0].get());
        painted_lines_ = stats_access_elements(
            layout_page(dc.get(), *state, ui_.theme.palette(), listed_icons(ui_, state->model)));
    }
    return painted_lines_;
}

LRESULT StatsWindow::on_get_object(WPARAM wparam, LPARAM lparam) {
    if (static_cast<LONG>(static_cast<DWORD>(lparam)) != OBJID_CLIENT) {
        return DefWindowProcW(hwnd_, WM_GETOBJECT, wparam, lparam);
    }
    if (!page_object_) {
        page_object_ = AccessibleRoot(AccessibleObject::create(
            hwnd_, std::make_unique<StatsPageSource>(hwnd_, [this] { return reader_lines(); })));
    }
    return LresultFromObject(kAccessibleIid, wparam, page_object_.get());
}

void StatsWindow::scroll_by(std::int64_t delta) {
    bool changed = false;
    if (BorrowSlot<StatsWindowState>::Borrow state = state_.borrow()) {
        const std::int32_t scroll =
            clamped_scroll(state->scroll, delta, client_height(hwnd_), state->scale);
        changed = scroll != state->scroll;
        state->scroll = scroll;
    }
    if (changed) {
        InvalidateRect(hwnd_, nullptr, FALSE);
    }
}

std::optional<float> StatsWindow::scale() {
    BorrowSlot<StatsWindowState>::Borrow state = state_.borrow();
    return state ? std::optional(state->scale) : std::nullopt;
}

void StatsWindow::on_key_down(WPARAM virtual_key) {
    if (virtual_key == VK_ESCAPE) {
        DestroyWindow(hwnd_);
        return;
    }
    const std::optional<StatsKey> key = stats_key(virtual_key);
    const std::optional<float> now_scale = scale();
    if (key && now_scale) {
        scroll_by(scroll_step(*key, client_height(hwnd_), *now_scale));
    }
}

void StatsWindow::on_mouse_move(LPARAM position) {
    bool changed = false;
    if (BorrowSlot<StatsWindowState>::Borrow state = state_.borrow()) {
        if (!state->mouse_tracked) {
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd_, 0};
            TrackMouseEvent(&track);
            state->mouse_tracked = true;
        }
        const std::optional<ChartHover> hover = hover_at(
            state->hover_regions, GET_X_LPARAM(position), GET_Y_LPARAM(position), state->scroll);
        changed = hover != state->hover;
        state->hover = hover;
    }
    if (changed) {
        InvalidateRect(hwnd_, nullptr, FALSE);
    }
}

void StatsWindow::on_mouse_leave() {
    if (BorrowSlot<StatsWindowState>::Borrow state = state_.borrow()) {
        state->mouse_tracked = false;
        state->hover.reset();
    }
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void StatsWindow::on_wheel(WPARAM wparam) {
    if (const std::optional<float> now_scale = scale()) {
        scroll_by(wheel_step(GET_WHEEL_DELTA_WPARAM(wparam), *now_scale));
    }
}

void StatsWindow::on_dpi_changed(WPARAM wparam, LPARAM lparam) {
    if (BorrowSlot<StatsWindowState>::Borrow state = state_.borrow()) {
        state->scale = static_cast<float>(LOWORD(wparam)) / 96.0f;
        state->fonts = create_stats_fonts(state->scale);
        state->scroll = 0;
    }
    const RECT* suggested = reinterpret_cast<const RECT*>(lparam);
    SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top,
                 suggested->right - suggested->left, suggested->bottom - suggested->top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void StatsWindow::on_size() {
    if (BorrowSlot<StatsWindowState>::Borrow state = state_.borrow()) {
        state->scroll = clamped_scroll(state->scroll, 0, client_height(hwnd_), state->scale);
    }
    InvalidateRect(hwnd_, nullptr, FALSE);
}

}  // namespace talvo::win
