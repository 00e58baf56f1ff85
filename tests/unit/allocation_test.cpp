// The keystroke path allocates per query, never per catalogue entry.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "core/matching/index_scan.h"

namespace {
std::atomic<bool> counting{false};
std::atomic<std::size_t> allocations{0};
}  // namespace

// Counts allocations while a test asks for it; otherwise plain malloc/free.
// GCC takes the replaced operators for a mismatched pair: they are not.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
void* counted_allocation(std::size_t size) noexcept {
    if (counting) {
        ++allocations;
    }
    return std::malloc(size == 0 ? 1 : size);
}

// Every plain form is replaced, so whatever allocates, the matching release
// is ours too (the sanitizers check that pairs match).
void* operator new(std::size_t size) {
    if (void* p = counted_allocation(size)) {
        return p;
    }
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return counted_allocation(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return counted_allocation(size);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}

namespace talvo {
namespace {

Catalog catalog_of(std::size_t size) {
    Catalog catalog;
    for (std::size_t i = 0; i < size; ++i) {
        const std::string name = "Visual Studio Code " + std::to_string(i);
        catalog.push_back(make_entry("app:" + name, name, "", LaunchTarget::open_path(name)));
    }
    return catalog;
}

// The keystroke path on an index built beforehand, as the popup keeps it,
// with a memory filled by hand and one made by rebuild.
std::size_t allocations_for(const Catalog& catalog, const HiddenKeys& hidden) {
    LearningMemory by_hand;
    by_hand.keys["app:Visual Studio Code 3"].key_weight = 2;
    by_hand.prefix_key_weight["vis"]["app:Visual Studio Code 3"] = 2;
    by_hand.prefix_weight["vis"] = 2;
    LearningMemory rebuilt;
    rebuilt.records = {{"app:Visual Studio Code 3", "vis", 1000, 9, 0},
                       {"app:Visual Studio Code 4", "v", 2000, 10, 1}};
    rebuild(rebuilt, 3000);
    const MatchIndex index(catalog, hidden);
    std::vector<ScoredEntry> pairs;
    pairs.reserve(catalog.size());
    allocations = 0;
    counting = true;
    for (const LearningMemory* memory : {&by_hand, &rebuilt}) {
        for (const char* query : {"v", "vis", "vs code", "zzz"}) {
            best_matches(index, catalog, query, {9, 0}, *memory, pairs);
            match_entries(index, catalog, query, {9, 0}, *memory, pairs);
        }
    }
    counting = false;
    return allocations;
}

TEST(KeystrokePath, AllocationsDoNotGrowWithTheCatalogue) {
    const HiddenKeys hidden{"app:Visual Studio Code 7"};
    const std::size_t small = allocations_for(catalog_of(50), hidden);
    const std::size_t large = allocations_for(catalog_of(5000), hidden);
    EXPECT_EQ(small, large);
    // At most three for each of the 16 queries: its words, compact form and characters.
    EXPECT_LE(large, 48u);
}

}  // namespace
}  // namespace talvo
