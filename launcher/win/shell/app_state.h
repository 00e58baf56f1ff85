// The launcher's state on the UI thread, split by owner, and the slot each
// owner lives in. Only the UI thread touches it; background threads talk to
// it through channels.
#pragma once

#include <windows.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/catalog/catalog.h"
#include "core/matching/learning_memory.h"
#include "core/matching/match_index.h"
#include "core/matching/visible_catalog.h"
#include "core/popup/popup_layout.h"
#include "core/shell/channel.h"
#include "core/shell/launcher_protocol.h"
#include "core/text/text_map.h"
#include "win/page/page_theme.h"
#include "win/platform/unique_resource.h"

namespace talvo::win {

using Instant = std::chrono::steady_clock::time_point;

// A cached icon: premultiplied 32-bit bitmap ready for AlphaBlend. A slot
// without bitmap is a pending request or a failed load: both draw a letter tile.
struct IconSlot {
    unique_hbitmap bitmap;
    std::int32_t width = 0;
    std::int32_t height = 0;

    bool has_bitmap() const { return static_cast<bool>(bitmap); }
};

using IconCache = TextMap<IconSlot>;

struct IconRequest {
    std::string key;
    std::string icon_source;
    std::int32_t size = 0;
};

// The bitmap changes owner with the result: made by the icon worker, deleted
// only on the UI thread.
struct IconResult {
    std::string key;
    IconSlot slot;
};

using PopupFonts = std::array<unique_hfont, layout::kFonts.size()>;

// The popup's share: what is typed, the rows and the selection, the scale of
// the last show and the fonts made for it, the caret's phase, and where the
// window goes.
struct PopupState {
    std::string query;
    std::vector<CatalogEntry> results;
    std::size_t selected = 0;
    PopupFonts fonts;
    layout::Point origin;
    float scale = 1.0f;
    bool visible = false;
    bool caret_on = true;
};

// The icon cache and the icon worker's two channels.
struct IconStore {
    IconStore(Sender<IconRequest> requests, Receiver<IconResult> results)
        : requests(std::move(requests)), results(std::move(results)) {}

    Sender<IconRequest> requests;
    Receiver<IconResult> results;
    IconCache cache;
};

// Where new catalogues come from: the scans' channel, whether a scan runs,
// and when the last catalogue arrived.
struct CatalogFeed {
    CatalogFeed(Sender<Catalog> sender, Receiver<Catalog> receiver)
        : sender(std::move(sender)), receiver(std::move(receiver)) {}

    Sender<Catalog> sender;
    Receiver<Catalog> receiver;
    Instant updated_at = std::chrono::steady_clock::now();
    bool scan_in_progress = false;
};

// Holds one owner of the UI thread's state with a borrow flag: one handler at
// a time. The launcher's handlers can be re-entered: a menu, a message box or
// a launch runs a nested message loop that dispatches other messages to the
// same thread. A handler that finds an owner borrowed gets an empty borrow and
// skips its work on that owner; it never waits. Every handler gives back what
// it borrowed before any call that may run such a loop.
template <typename State>
class BorrowSlot {
  public:
    class Borrow {
      public:
        Borrow() = default;
        explicit Borrow(BorrowSlot* slot) : slot_(slot) { slot_->borrowed_ = true; }
        ~Borrow() { release(); }
        Borrow(const Borrow&) = delete;
        Borrow& operator=(const Borrow&) = delete;
        Borrow(Borrow&& other) noexcept : slot_(std::exchange(other.slot_, nullptr)) {}
        Borrow& operator=(Borrow&&) = delete;

        explicit operator bool() const { return slot_ != nullptr; }
        State& operator*() const { return *slot_->state_; }
        State* operator->() const { return slot_->state_.get(); }

        // Gives the state back early, before a call that may run a message loop.
        void release() {
            if (slot_ != nullptr) {
                std::exchange(slot_, nullptr)->borrowed_ = false;
            }
        }

      private:
        BorrowSlot* slot_ = nullptr;
    };

    void install(std::unique_ptr<State> state) { state_ = std::move(state); }
    // Empties the slot; nothing when a handler holds the state.
    void clear() {
        if (!borrowed_) {
            state_.reset();
        }
    }
    bool empty() const { return !state_; }

    Borrow borrow() {
        if (!state_ || borrowed_) {
            return Borrow();
        }
        return Borrow(this);
    }

  private:
    std::unique_ptr<State> state_;
    bool borrowed_ = false;
};

// The UI thread's state, each owner borrowed on its own.
struct UiState {
    BorrowSlot<PopupState> popup;
    BorrowSlot<VisibleCatalog> catalog;
    BorrowSlot<LearningMemory> memory;
    BorrowSlot<IconStore> icons;
    BorrowSlot<CatalogFeed> feed;
    PageTheme theme;  // both windows' colours; read, never borrowed
};

// Whether a window holds the foreground.
using ForegroundProbe = bool (*)(HWND);

// Private messages of the popup window.
inline constexpr UINT kCatalogReadyMessage = WM_APP + 1;
inline constexpr UINT kIconsReadyMessage = WM_APP + 2;
inline constexpr UINT kShowRequestMessage = protocol::kShowRequestMessage;
inline constexpr UINT kTrayCallbackMessage = WM_APP + 4;
// Sent by the setup before it replaces the launcher: quit as the quit command does.
inline constexpr UINT kQuitRequestMessage = protocol::kQuitRequestMessage;
inline constexpr UINT kAccessChangeMessage = WM_APP + 6;    // wParam: the PopupChange
inline constexpr UINT kAccessibleOpenMessage = WM_APP + 7;  // wParam: the row a reader opens

inline constexpr UINT_PTR kCaretTimer = 1;
inline constexpr UINT_PTR kTrayRetryTimer = 2;
inline constexpr UINT kCaretBlinkMs = 530;
inline constexpr int kHotkeyId = 1;

}  // namespace talvo::win
