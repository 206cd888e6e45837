#pragma once

#include <string_view>

namespace tarnwick::resources {

// String table of the program.
inline constexpr int kIdsAboutBox = 101;
inline constexpr int kIconApplication = 128;

// The text of a string resource, empty when the program has no such string.
std::u16string_view loadString(int id);

}  // namespace tarnwick::resources
