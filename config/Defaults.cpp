#include "Defaults.h"

#include <algorithm>

#include "FieldCatalog.h"

namespace tarnwick {

void applyDefaults(ConfigRecord& record) {
  for (const FieldInfo* f : fieldCatalog()) {
    const auto bytes = record.field(*f);
    switch (f->defaultKind) {
      case DefaultKind::NotSet:
        break;
      case DefaultKind::Spaces:
        std::fill(bytes.begin(), bytes.end(), std::uint8_t{0x20});
        break;
      case DefaultKind::Zeros:
        std::fill(bytes.begin(), bytes.end(), std::uint8_t{0x00});
        break;
      case DefaultKind::Value:
        // Clock and digit fields default to 0, which is the same four zero bytes as an int32 0.
        if (f->size == 4) {
          record.setInt32(*f, f->defaultValue);
        } else if (f->size == 1) {
          record.setUInt8(*f, static_cast<std::uint8_t>(f->defaultValue));
        }
        break;
    }
  }
}

void applyDefaults() { applyDefaults(programRecord()); }

}  // namespace tarnwick
