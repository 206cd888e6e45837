#pragma once

#include "ConfigRecord.h"

namespace tarnwick {

// Writes the factory default of every catalogue field that has one, and nothing else: the
// unnamed bytes and the fields whose default is "not set" keep whatever they hold.
void applyDefaults(ConfigRecord& record);

// The same on the program's record.
void applyDefaults();

}  // namespace tarnwick
