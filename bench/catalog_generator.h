// A realistic generated catalogue and launch history for the benchmarks:
// multi-word, CamelCase, accented, Store-style and path-like names.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/catalog/catalog.h"
#include "core/matching/learning_memory.h"

namespace talvo::bench {

// The same seed always gives the same catalogue.
Catalog generate_catalog(std::size_t size, std::uint32_t seed = 42);

// `count` launches of catalogue entries over the 90 days before `now`, the
// popular entries chosen far more often, each after a prefix of its name.
std::vector<LaunchRecord> generate_records(const Catalog& catalog, std::size_t count,
                                           std::int64_t now, std::uint32_t seed = 7);

}  // namespace talvo::bench
