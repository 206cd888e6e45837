#pragma once

#include <nlohmann/json.hpp>

#include "cli/FieldValues.h"

namespace tarnwick::cli {

// A field's stored value in the JSON listings of show and check: the number where the field
// holds one, a code's bytes in hexadecimal, null for texts.
inline nlohmann::ordered_json storedValueJson(const FieldView& view) {
  if (view.number) return *view.number;
  if (!view.raw.empty()) return view.raw;
  return nullptr;
}

}  // namespace tarnwick::cli
