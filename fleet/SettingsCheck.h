#pragma once

#include <string>
#include <vector>

#include "config/ConfigRecord.h"
#include "config/FieldCatalog.h"
#include "network/OperatorTable.h"

// What the camera is unlikely to accept in a settings record that the program would still
// save: the windows check little and the file format nothing, so a record made by hand, by a
// script or by an older tool can carry values that only fail in the field.
//
// The rules, each giving the field it is about:
//   - a list position that is none of the list's entries (including "no selection");
//   - a capture interval outside 3 s to 60 min, a video length outside 5 s to 30 s (the ranges
//     the main window's hints give);
//   - a switch that is On while its value is unset: a password or serial number of 0000 (or
//     digits that are not digits), an empty organization name, a time-lapse of 0:00:00, an SMS
//     interval under 0:10, a timer whose start is its stop;
//   - a switch that is On with a clock that is no time of day (hour above 23, minute or second
//     above 59, bytes above the hour): time-lapse, SMS interval, each timer's start and stop;
//   - a port (SMTP, FTP, MMS proxy) that is given but is not a decimal number from 1 to 65535;
//   - Data Option SMTP without SMTP server, port or e-mail; Data Option FTP without FTP server;
//   - MMS Option VGA or QVGA without any recipient phone number;
//   - Auto network mode with a country or operator position that the operator table in use
//     does not have;
//   - an organization name holding bytes outside printable ASCII (0x20-0x7E): the camera
//     prints it on its pictures with a font of those characters only.
// The factory defaults break none of them.

namespace tarnwick {

struct CheckFinding {
  const FieldInfo* field = nullptr;  // the field whose value is the problem
  std::string reason;                // one English phrase, without a final full stop
};

// Every finding, in the order of the rules above and, within a rule, of the fields' offsets.
// The operator table is the one the camera's settings refer to (the built-in table unless an
// oper.db goes with them).
std::vector<CheckFinding> checkSettings(const ConfigRecord& record, const OperatorTable& table);

}  // namespace tarnwick
