// When showing the popup starts a new scan of the Applications folder.
#pragma once

#include <chrono>

namespace talvo {

// Past this age of the last catalogue, a show starts a new scan.
inline constexpr std::chrono::seconds kRescanAge{120};

// Strictly older than two minutes: a catalogue exactly 120 s old is kept.
constexpr bool catalogue_is_stale(std::chrono::steady_clock::duration age) {
    return age > kRescanAge;
}

}  // namespace talvo
