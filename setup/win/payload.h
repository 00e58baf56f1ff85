// The launcher executable carried inside the setup program, byte for byte.
#pragma once

#include <cstdint>
#include <span>

namespace talvo::setup::win {

std::span<const std::uint8_t> payload();

}  // namespace talvo::setup::win
