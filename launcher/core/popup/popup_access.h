// The popup as a screen reader meets it: a dialog "Talvo" holding the query
// line and the results list, one item per shown row; and the notifications
// that tell a reader what changed, so it speaks the first result as the person
// types and each row as they move.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/catalog/catalog.h"
#include "core/page/access_element.h"

namespace talvo {

// What the popup shows, as the painting reads it.
struct PopupAccessView {
    std::string_view query;
    const std::vector<CatalogEntry>& rows;
    std::size_t selected = 0;
    bool shown = false;
    float scale = 1.0f;
};

// Which element a reader is told has the keyboard focus, one at a time: the
// selected row when there is one, otherwise the list when nothing is found,
// otherwise the query line; nothing while the popup is hidden.
enum class PopupFocus : std::uint8_t { None, Query, List, Row };
PopupFocus popup_focus(const PopupAccessView& view);

// The popup window itself: a dialog named "Talvo".
access::Element popup_window_element(const PopupAccessView& view);
// Its two children, in reading order: the query line, then the results list.
access::Element popup_query_element(const PopupAccessView& view);
access::Element popup_list_element(const PopupAccessView& view);
// The list's items, one per row, in row order.
std::vector<access::Element> popup_row_elements(const PopupAccessView& view);

// The hint painted at the right of a row that is not selected: "Ctrl+2".
std::string row_hint(std::size_t row);

// A notification for the reader, on the query line, the list or one row.
struct AccessEvent {
    enum class Kind : std::uint8_t { ValueChange, Reorder, Focus, Selection };
    enum class Target : std::uint8_t { Query, List, Row };

    Kind kind = Kind::ValueChange;
    Target target = Target::Query;
    std::size_t row = 0;  // Target::Row

    bool operator==(const AccessEvent&) const = default;
};

enum class PopupChange : std::uint8_t {
    Recomputed,      // the query changed and the rows were computed again
    SelectionMoved,  // Up, Down
};

// The notifications after a change, in the order they are sent; the focus
// goes to the element that `popup_focus` names.
std::vector<AccessEvent> popup_access_events(PopupChange change, std::size_t rows,
                                             std::size_t selected, bool query_empty);

}  // namespace talvo
