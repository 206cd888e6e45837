#pragma once

#include "config/TextConversions.h"

#include <string_view>

namespace tarnwick {

// The program's name and version as shown in the main window's caption.
inline constexpr std::string_view kTitleText = "Tarnwick V4.22";

// The title text, widened once and kept for the whole run.
const FormText& titleText();

// The main window's caption: the title text followed by the letter "v".
FormText mainWindowCaption();

}  // namespace tarnwick
