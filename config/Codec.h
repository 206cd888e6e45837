#pragma once

#include <cstdint>

namespace tarnwick {

// Replaces every byte b by (256 - b) mod 256, in place. Its own inverse, so the same step
// encodes and decodes the settings file and the operator database. A length of 0 does nothing.
void negateBytes(std::uint8_t* buffer, std::uint32_t length);

}  // namespace tarnwick
