// Orders scored entries for display: best score first, then the shorter
// name, then catalogue order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/catalog/catalog.h"
#include "core/matching/brain.h"

namespace talvo {

inline constexpr std::size_t kMaxResults = 6;

// Keys whose signed integer order is the IEEE-754 total order of the values.
std::int32_t total_order_key(float value);
std::int64_t total_order_key(double value);

// Sorts the best `keep` pairs to the front, in display order, and drops the rest.
// The order is that of a stable sort: equal scores and name lengths keep
// catalogue order.
void rank_matches(std::vector<ScoredEntry>& pairs, const Catalog& catalog,
                  std::size_t keep = kMaxResults);

}  // namespace talvo
