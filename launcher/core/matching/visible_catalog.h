// The catalogue as the results see it: its entries, the index from key to
// position, the hidden keys, and the match index of the entries not hidden.
// Every change goes through here, so the match index always belongs to the
// catalogue and hidden keys it holds.
#pragma once

#include <string_view>

#include "core/catalog/catalog.h"
#include "core/catalog/hidden.h"
#include "core/matching/learning_memory.h"
#include "core/matching/match_index.h"
#include "core/matching/results.h"
#include "core/shell/platform.h"

namespace talvo {

class VisibleCatalog {
  public:
    VisibleCatalog() = default;
    VisibleCatalog(Catalog catalog, HiddenKeys hidden);

    const Catalog& catalog() const { return catalog_; }
    const KeyIndex& key_index() const { return key_index_; }
    const HiddenKeys& hidden() const { return hidden_; }
    const MatchIndex& match_index() const { return match_index_; }

    // A new catalogue, with its key index and match index.
    void install(Catalog catalog);
    // Takes the catalogue out, to install it again later (an empty one stays).
    Catalog take();

    // Hides an entry, saving the hidden list; false for a launcher command,
    // which cannot be hidden, and then nothing changes.
    bool hide(std::string_view key, const Platform& platform);
    void unhide(std::string_view key, const Platform& platform);
    void unhide_all(const Platform& platform);

    // What the rows are computed from, with this memory.
    ResultSources sources(const LearningMemory& memory) const {
        return {catalog_, key_index_, hidden_, memory, match_index_};
    }

  private:
    void index_again();

    Catalog catalog_;
    KeyIndex key_index_;
    HiddenKeys hidden_;
    MatchIndex match_index_;
};

}  // namespace talvo
