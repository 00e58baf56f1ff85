// The scan of the Windows Applications folder: every application the Start
// menu lists becomes a catalogue entry, after the built-in entries.
#pragma once

#include "core/catalog/catalog.h"

namespace talvo::win {

// Runs in its own single-threaded COM apartment; never fails: without the
// folder the catalogue holds the built-in entries alone.
Catalog scan_catalog();

}  // namespace talvo::win
