// The statistics page as a screen reader meets it: a read-only document
// "Statistiques" whose static texts are the page's spoken lines, taken from
// the very texts the page draws, in reading order.
#pragma once

#include <vector>

#include "core/page/access_element.h"
#include "core/stats/stats_page.h"

namespace talvo {

// The document itself, over the whole client area; it has the keyboard focus
// while its window is the active one.
access::Element stats_document_element(const layout::Rect& client, bool active);

// One static text per spoken line; each rectangle holds its drawn parts, in
// client pixels (the page's scroll offset already taken off).
std::vector<access::Element> stats_access_elements(const StatsPage& page);

}  // namespace talvo
