#include "setup/win/payload.h"

// Defined by payload.s, which includes the launcher file unchanged.
extern "C" const std::uint8_t talvo_payload_begin[];
extern "C" const std::uint8_t talvo_payload_end[];

namespace talvo::setup::win {

std::span<const std::uint8_t> payload() {
    return {talvo_payload_begin, talvo_payload_end};
}

}  // namespace talvo::setup::win
