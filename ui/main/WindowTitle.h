#pragma once

#include "config/TextConversions.h"
#include "config/Version.h"

#include <string_view>

namespace tarnwick {

// The program's name and version as shown in the main window's caption.
inline constexpr std::string_view kTitleText = "Tarnwick V" TARNWICK_VERSION;

// The title text, widened once and kept for the whole run.
const FormText& titleText();

// The main window's caption: the title text followed by the letter "v".
FormText mainWindowCaption();

}  // namespace tarnwick
