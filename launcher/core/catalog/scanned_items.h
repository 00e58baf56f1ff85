// Recorded Applications-folder items, one a line: display name, parsing name
// and link target separated by tabs. Lets the item rules run without a shell.
#pragma once

#include <string_view>
#include <vector>

#include "core/catalog/scan_rules.h"

namespace talvo {

// Lines that are not valid UTF-8 or have fewer than two fields are skipped;
// a missing third field means no link target. A CR before the LF is dropped.
std::vector<ScannedItem> parse_scanned_items(std::string_view text);

}  // namespace talvo
