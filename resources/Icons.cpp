#include "resources/Icons.h"

#include "resources/Strings.h"

#include <array>

namespace tarnwick::resources {

namespace {
constexpr std::array<IconImage, 3> kApplicationImages{{
    {48, "tarnwick-48.png"},
    {128, "tarnwick-128.png"},
    {256, "tarnwick-256.png"},
}};
constexpr IconDescription kApplicationIcon{kIconApplication, kApplicationImages};
}  // namespace

const IconDescription* findIcon(int resourceId) {
  return resourceId == kApplicationIcon.resourceId ? &kApplicationIcon : nullptr;
}

}  // namespace tarnwick::resources
