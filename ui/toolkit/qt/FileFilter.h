#pragma once

#include <QStringList>

#include <string>

namespace tarnwick::tk {

// Turns a file-dialog filter in the "Name|patterns|Name|patterns||" form into Qt name filters:
// "Config file(*.cfg)|*.cfg|All files(*.*)|*.*||" gives "Config file(*.cfg) (*.cfg)" and
// "All files(*.*) (*)". Patterns separated by ';' are listed with spaces, and "*.*" (every file,
// with or without a dot) becomes "*". A name without patterns, or an empty name, is skipped.
QStringList qtNameFilters(const std::u16string& filter);

}  // namespace tarnwick::tk
