#include "network/OperatorEntry.h"

#include <algorithm>

namespace tarnwick {

std::span<std::uint8_t> OperatorEntry::field(std::size_t number) {
  switch (number) {
    case 0: return name;
    case 1: return mmsApn;
    case 2: return mmsAccount;
    case 3: return mmsPassword;
    case 4: return dataApn;
    case 5: return dataAccount;
    case 6: return dataPassword;
    case 7: return mmscUrl;
    case 8: return mmsProxy;
    case 9: return mmsPort;
    default: return {};
  }
}

std::span<const std::uint8_t> OperatorEntry::field(std::size_t number) const {
  return const_cast<OperatorEntry*>(this)->field(number);
}

std::span<const std::uint8_t> fieldText(std::span<const std::uint8_t> field) {
  const auto end = std::find(field.begin(), field.end(), std::uint8_t{0});
  return field.first(static_cast<std::size_t>(end - field.begin()));
}

}  // namespace tarnwick
