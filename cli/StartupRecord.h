#pragma once

#include "config/ConfigRecord.h"

namespace tarnwick::cli {

// The record the program saves when it is started and saved at once: a zero record, the
// factory defaults, then the main form's collection of what the form shows for them.
ConfigRecord startupRecord();

}  // namespace tarnwick::cli
