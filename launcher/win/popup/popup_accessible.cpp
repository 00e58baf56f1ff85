#include "win/popup/popup_accessible.h"

namespace talvo::win {
namespace {

PopupAccessView view_of(const PopupState& state, HWND hwnd) {
    return {state.query, state.results, state.selected,
            state.visible && IsWindowVisible(hwnd) != FALSE, state.scale};
}

// Reads the popup's state at each question, so a reader never hears stale rows.
class PopupSource : public AccessibleSource {
  public:
    PopupSource(BorrowSlot<PopupState>& popup, HWND hwnd) : popup_(popup), hwnd_(hwnd) {}

    std::optional<AccessibleContent> read() override {
        BorrowSlot<PopupState>::Borrow state = popup_.borrow();
        if (!state) {
            return std::nullopt;
        }
        return content(view_of(*state, hwnd_));
    }

  protected:
    virtual AccessibleContent content(const PopupAccessView& view) const = 0;
    HWND hwnd() const { return hwnd_; }

  private:
    BorrowSlot<PopupState>& popup_;
    HWND hwnd_;
};

class DialogSource final : public PopupSource {
  public:
    using PopupSource::PopupSource;

  private:
    AccessibleContent content(const PopupAccessView& view) const override {
        return {popup_window_element(view), {popup_query_element(view), popup_list_element(view)}};
    }
};

class ResultsSource final : public PopupSource {
  public:
    using PopupSource::PopupSource;

    // Launched from the message loop, as a click is, not from inside the reader's call.
    void activate(std::size_t index) override {
        PostMessageW(hwnd(), kAccessibleOpenMessage, index, 0);
    }

  private:
    AccessibleContent content(const PopupAccessView& view) const override {
        return {popup_list_element(view), popup_row_elements(view)};
    }
};

DWORD win_event(AccessEvent::Kind kind) {
    switch (kind) {
        case AccessEvent::Kind::ValueChange:
            return EVENT_OBJECT_VALUECHANGE;
        case AccessEvent::Kind::Reorder:
            return EVENT_OBJECT_REORDER;
        case AccessEvent::Kind::Focus:
            return EVENT_OBJECT_FOCUS;
        case AccessEvent::Kind::Selection:
            return EVENT_OBJECT_SELECTION;
    }
    return EVENT_OBJECT_FOCUS;
}

void send(HWND hwnd, const AccessEvent& event) {
    switch (event.target) {
        case AccessEvent::Target::Query:
            NotifyWinEvent(win_event(event.kind), hwnd, OBJID_CLIENT, 1);
            return;
        case AccessEvent::Target::List:
            NotifyWinEvent(win_event(event.kind), hwnd, kResultsObjectId, CHILDID_SELF);
            return;
        case AccessEvent::Target::Row:
            NotifyWinEvent(win_event(event.kind), hwnd, kResultsObjectId,
                           static_cast<LONG>(event.row + 1));
            return;
    }
}

}  // namespace

void announce_popup_change(HWND hwnd, PopupChange change) {
    PostMessageW(hwnd, kAccessChangeMessage, static_cast<WPARAM>(change), 0);
}

void PopupAccessible::make_objects() {
    if (dialog_) {
        return;
    }
    dialog_ = AccessibleRoot(
        AccessibleObject::create(hwnd_, std::make_unique<DialogSource>(popup_, hwnd_)));
    results_ = AccessibleRoot(
        AccessibleObject::create(hwnd_, std::make_unique<ResultsSource>(popup_, hwnd_)));
    dialog_->set_child_object(1, results_.share());
    results_->set_parent(dialog_.share());
}

std::optional<LRESULT> PopupAccessible::answer(WPARAM wparam, LPARAM lparam) {
    const auto id = static_cast<LONG>(static_cast<DWORD>(lparam));
    if (id != OBJID_CLIENT && id != kResultsObjectId) {
        return std::nullopt;
    }
    make_objects();
    AccessibleObject* object = id == OBJID_CLIENT ? dialog_.get() : results_.get();
    return LresultFromObject(kAccessibleIid, wparam, object);
}

void PopupAccessible::notify(WPARAM change) {
    std::vector<AccessEvent> events;
    if (BorrowSlot<PopupState>::Borrow state = popup_.borrow()) {
        events = popup_access_events(static_cast<PopupChange>(change), state->results.size(),
                                     state->selected, state->query.empty());
    }
    for (const AccessEvent& event : events) {
        send(hwnd_, event);
    }
}

void PopupAccessible::release() {
    results_.reset();
    dialog_.reset();
}

}  // namespace talvo::win
