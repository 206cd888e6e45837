#include "resources/Strings.h"

namespace tarnwick::resources {

std::u16string_view loadString(int id) {
  switch (id) {
    case kIdsAboutBox:
      return u"About Tarnwick...";
    default:
      return {};
  }
}

}  // namespace tarnwick::resources
