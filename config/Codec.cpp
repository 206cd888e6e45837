#include "Codec.h"

namespace tarnwick {

void negateBytes(std::uint8_t* buffer, std::uint32_t length) {
  if (buffer == nullptr) return;
  for (std::uint32_t i = 0; i < length; ++i) {
    // Unsigned arithmetic wraps modulo 256 once narrowed: 0x00 and 0x80 map to themselves.
    buffer[i] = static_cast<std::uint8_t>(0u - buffer[i]);
  }
}

}  // namespace tarnwick
