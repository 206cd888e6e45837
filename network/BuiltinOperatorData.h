#pragma once

#include <array>
#include <span>
#include <string_view>

namespace tarnwick {

// The built-in operator table as plain text literals (bytes in the ANSI code page), generated
// by tools/generate_builtin_operators.py. builtinCountries() (BuiltinOperators.h) turns it
// into table rows.
struct BuiltinOperatorText {
  // name, mmsApn, mmsAccount, mmsPassword, dataApn, dataAccount, dataPassword, mmscUrl,
  // mmsProxy, mmsPort
  std::array<std::string_view, 10> fields;
};

struct BuiltinCountryText {
  std::string_view name;
  std::span<const BuiltinOperatorText> operators;
};

std::span<const BuiltinCountryText> builtinOperatorTexts();

}  // namespace tarnwick
