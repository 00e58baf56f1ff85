#include "core/matching/visible_catalog.h"

#include <utility>

namespace talvo {

VisibleCatalog::VisibleCatalog(Catalog catalog, HiddenKeys hidden) : hidden_(std::move(hidden)) {
    install(std::move(catalog));
}

void VisibleCatalog::install(Catalog catalog) {
    catalog_ = std::move(catalog);
    key_index_ = build_key_index(catalog_);
    index_again();
}

Catalog VisibleCatalog::take() {
    Catalog taken = std::exchange(catalog_, {});
    key_index_.clear();
    index_again();
    return taken;
}

bool VisibleCatalog::hide(std::string_view key, const Platform& platform) {
    if (!hide_entry(hidden_, key, platform)) {
        return false;
    }
    index_again();
    return true;
}

void VisibleCatalog::unhide(std::string_view key, const Platform& platform) {
    unhide_entry(hidden_, key, platform);
    index_again();
}

void VisibleCatalog::unhide_all(const Platform& platform) {
    talvo::unhide_all(hidden_, platform);
    index_again();
}

void VisibleCatalog::index_again() {
    match_index_ = MatchIndex(catalog_, hidden_);
}

}  // namespace talvo
