#pragma once

#include <span>
#include <string_view>

namespace tarnwick::resources {

// One picture of an icon: its size in pixels (square) and its file under resources/icons/.
struct IconImage {
  int pixels = 0;
  std::string_view file;
};

// An icon resource of the program: its number and the pictures it is drawn from. Every backend
// builds its native icon from this (a Qt resource, a Windows .ico, a web page's link).
struct IconDescription {
  int resourceId = 0;
  std::span<const IconImage> images;
};

// The icon of a resource number, or nullptr for a number the program does not have. The
// program has one: the application icon (kIconApplication).
const IconDescription* findIcon(int resourceId);

}  // namespace tarnwick::resources
