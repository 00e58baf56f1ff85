#include "core/popup/popup_access.h"

#include "core/page/geometry.h"
#include "core/popup/popup_layout.h"

namespace talvo {
namespace {

using access::Element;
using access::Role;

constexpr std::string_view kDialogName = "Talvo";
constexpr std::string_view kQueryName = "Rechercher";
constexpr std::string_view kListName = "Résultats";
constexpr std::string_view kNoResultName = "Aucun résultat";
constexpr std::string_view kSelectedHint = "Entrée";
constexpr std::string_view kOpenAction = "Ouvrir";

layout::Rect scaled_rect(float left, float top, float right, float bottom, float scale) {
    return {scaled_px(left, scale), scaled_px(top, scale), scaled_px(right, scale),
            scaled_px(bottom, scale)};
}

float rows_bottom(std::size_t rows) {
    return layout::kRowsTop + layout::kRowHeight * static_cast<float>(rows);
}

bool nothing_found(std::size_t rows, bool query_empty) {
    return rows == 0 && !query_empty;
}

PopupFocus focus_owner(std::size_t rows, std::size_t selected, bool query_empty) {
    if (selected < rows) {
        return PopupFocus::Row;
    }
    return nothing_found(rows, query_empty) ? PopupFocus::List : PopupFocus::Query;
}

}  // namespace

PopupFocus popup_focus(const PopupAccessView& view) {
    if (!view.shown) {
        return PopupFocus::None;
    }
    return focus_owner(view.rows.size(), view.selected, view.query.empty());
}

Element popup_window_element(const PopupAccessView& view) {
    Element window = access::make_element(Role::Dialog, std::string(kDialogName));
    window.states = view.shown ? 0 : access::kInvisible;
    const PixelSize size = layout::popup_size(view.rows.size(), view.scale);
    window.rect = {0, 0, size.width, size.height};
    return window;
}

Element popup_query_element(const PopupAccessView& view) {
    Element query = access::make_element(Role::Text, std::string(kQueryName));
    query.value = view.query;
    query.states =
        access::kFocusable | (popup_focus(view) == PopupFocus::Query ? access::kFocused : 0);
    query.rect = scaled_rect(12, 12, 646, 74, view.scale);
    return query;
}

Element popup_list_element(const PopupAccessView& view) {
    const bool none = nothing_found(view.rows.size(), view.query.empty());
    Element list = access::make_element(Role::List, std::string(none ? kNoResultName : kListName));
    list.states = popup_focus(view) == PopupFocus::List ? access::kFocused : 0;
    list.rect = scaled_rect(layout::kRowLeft, layout::kRowsTop, layout::kRowRight,
                            rows_bottom(view.rows.size()), view.scale);
    return list;
}

std::vector<Element> popup_row_elements(const PopupAccessView& view) {
    std::vector<Element> rows;
    rows.reserve(view.rows.size());
    const bool row_focused = popup_focus(view) == PopupFocus::Row;
    for (std::size_t i = 0; i < view.rows.size(); ++i) {
        const CatalogEntry& entry = view.rows[i];
        const bool selected = i == view.selected;
        Element row = access::make_element(Role::ListItem, entry.name);
        row.description = entry.subtitle;
        row.shortcut = selected ? std::string(kSelectedHint) : row_hint(i);
        row.default_action = kOpenAction;
        row.states = access::kFocusable | access::kSelectable | (selected ? access::kSelected : 0) |
                     (selected && row_focused ? access::kFocused : 0);
        const float top = layout::kRowsTop + layout::kRowHeight * static_cast<float>(i);
        row.rect = scaled_rect(layout::kRowLeft, top, layout::kRowRight, top + layout::kRowHeight,
                               view.scale);
        rows.push_back(std::move(row));
    }
    return rows;
}

std::string row_hint(std::size_t row) {
    return "Ctrl+" + std::to_string(row + 1);
}

std::vector<AccessEvent> popup_access_events(PopupChange change, std::size_t rows,
                                             std::size_t selected, bool query_empty) {
    using Kind = AccessEvent::Kind;
    using Target = AccessEvent::Target;
    std::vector<AccessEvent> events;
    if (change == PopupChange::Recomputed) {
        events.push_back({Kind::ValueChange, Target::Query});
        events.push_back({Kind::Reorder, Target::List});
    }
    switch (focus_owner(rows, selected, query_empty)) {
        case PopupFocus::Row:
            events.push_back({Kind::Focus, Target::Row, selected});
            events.push_back({Kind::Selection, Target::Row, selected});
            break;
        case PopupFocus::List:
            if (change == PopupChange::Recomputed) {
                events.push_back({Kind::Focus, Target::List});
            }
            break;
        case PopupFocus::Query:
            if (change == PopupChange::Recomputed) {
                events.push_back({Kind::Focus, Target::Query});
            }
            break;
        case PopupFocus::None:
            break;
    }
    return events;
}

}  // namespace talvo
