#pragma once

#include "resources/templates/MainWindowIds.h"
#include "ui/toolkit/DialogTemplate.h"

namespace tarnwick::resources {

// The main window: the camera options form, its five On/Off switches and its commands.
const tk::DialogTemplate& mainWindowTemplate();

}  // namespace tarnwick::resources
