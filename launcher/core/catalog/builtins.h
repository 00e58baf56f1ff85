// The entries the catalogue always holds: Explorer, seven user folders and the
// launcher's three commands, each with aliases.
#pragma once

#include "core/catalog/catalog.h"
#include "core/shell/platform.h"

namespace talvo {

// Explorer, the folders whose paths can be obtained, then stats, autostart, quit.
Catalog build_builtins(const SystemQueries& system);

}  // namespace talvo
