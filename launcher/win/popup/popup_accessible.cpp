#include "win/popup/popup_accessible.h"

#include "win/popup/accessible_object.h"
#include "win/shell/app_state.h"

namespace talvo::win {
namespace {

PopupAccessView view_of(const AppState& state) {
    return {state.query, state.results, state.selected,
            state.visible && IsWindowVisible(state.hwnd) != FALSE, state.scale};
}

class DialogSource final : public AccessibleSource {
  public:
    std::optional<AccessibleContent> read() override {
        StateSlot::Borrow state = ui_state().borrow();
        if (!state) {
            return std::nullopt;
        }
        const PopupAccessView view = view_of(*state);
        return AccessibleContent{popup_window_element(view),
                                 {popup_query_element(view), popup_list_element(view)}};
    }
};

class ResultsSource final : public AccessibleSource {
  public:
    explicit ResultsSource(HWND hwnd) : hwnd_(hwnd) {}

    std::optional<AccessibleContent> read() override {
        StateSlot::Borrow state = ui_state().borrow();
        if (!state) {
            return std::nullopt;
        }
        const PopupAccessView view = view_of(*state);
        return AccessibleContent{popup_list_element(view), popup_row_elements(view)};
    }

    // Launched from the message loop, as a click is, not from inside the reader's call.
    void activate(std::size_t index) override {
        PostMessageW(hwnd_, kAccessibleOpenMessage, index, 0);
    }

  private:
    HWND hwnd_;
};

struct PopupObjects {
    AccessibleRoot dialog;
    AccessibleRoot results;
};

PopupObjects& objects() {
    static PopupObjects made;
    return made;
}

void make_objects(HWND hwnd) {
    PopupObjects& made = objects();
    if (made.dialog.get() != nullptr) {
        return;
    }
    made.dialog = AccessibleRoot(AccessibleObject::create(hwnd, std::make_unique<DialogSource>()));
    made.results =
        AccessibleRoot(AccessibleObject::create(hwnd, std::make_unique<ResultsSource>(hwnd)));
    made.dialog->set_child_object(1, made.results.share());
    made.results->set_parent(made.dialog.share());
}

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

void notify(HWND hwnd, const AccessEvent& event) {
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

std::optional<LRESULT> answer_popup_object_request(HWND hwnd, WPARAM wparam, LPARAM lparam) {
    const auto id = static_cast<LONG>(static_cast<DWORD>(lparam));
    if (id != OBJID_CLIENT && id != kResultsObjectId) {
        return std::nullopt;
    }
    make_objects(hwnd);
    AccessibleObject* object =
        id == OBJID_CLIENT ? objects().dialog.get() : objects().results.get();
    return LresultFromObject(kAccessibleIid, wparam, object);
}

void announce_popup_change(HWND hwnd, PopupChange change) {
    PostMessageW(hwnd, kAccessChangeMessage, static_cast<WPARAM>(change), 0);
}

void send_popup_notifications(HWND hwnd, WPARAM change) {
    std::vector<AccessEvent> events;
    if (StateSlot::Borrow state = ui_state().borrow()) {
        events = popup_access_events(static_cast<PopupChange>(change), state->results.size(),
                                     state->selected, state->query.empty());
    }
    for (const AccessEvent& event : events) {
        notify(hwnd, event);
    }
}

void release_popup_accessibility() {
    objects().results.reset();
    objects().dialog.reset();
}

}  // namespace talvo::win
