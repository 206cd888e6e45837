#pragma once

#include <string>
#include <vector>

#include "config/ConfigRecord.h"
#include "network/NetworkFormValues.h"
#include "network/SmtpPresetTable.h"

namespace tarnwick {

// Stores the network form into the record; validates nothing and cannot fail.
//
// 1. The selections: smtpEncrypt, smtpPreset and networkMode as the low 8 bits of the position
//    (-1 becomes 0xFF), mmsOption and dataOption as int32 (-1 stays -1).
// 2. The SMTP password: when the Password box holds exactly parameterMask (before any
//    clean-up): on a fixed row (default1-default5) the password of that preset row, which the
//    form never shows; on the other row the record was stored with (smtpPreset) the password
//    the record holds already, which the form masks when it opens on a stored account, so that
//    looking at the window and pressing OK keeps it; on any other row that row's password.
//    Otherwise the box's text. With no Type selection (or a position outside the
//    table) there is no row whose password the mask could stand for, and the mask can only be
//    text the user typed, so the box's text is used then too.
// 3. Each text is cleaned by its own rule: white space trimmed at both ends for the access
//    point names, accounts and passwords and the FTP directory; every space removed from the
//    rest; also every ':' from the proxy, the leading run of '/' from the MMSC URL (after the
//    spaces), and every ';' and ',' from the mailboxes.
// 4. Each text goes into its field with textToField: zero-filled behind the text, the low byte
//    of each UTF-16 unit. A text longer than its field is cut at the field's width, so nothing
//    is written outside a field; overlongFields names such texts beforehand.
//
// countryIndex and operatorIndex are not written here (see storeOperatorSelection), nor is any
// other byte of the record.
void storeNetworkSettings(const NetworkFormValues& values, const SmtpPresetTable& presets,
                          ConfigRecord& record);

// The record fields (by name, in storing order) whose cleaned text is longer than the field,
// i.e. would be cut by storeNetworkSettings. Empty when everything fits.
std::vector<std::string> overlongFields(const NetworkFormValues& values,
                                        const SmtpPresetTable& presets,
                                        const ConfigRecord& record);

// The SMTP password storeNetworkSettings stores into `record`, before its clean-up (step 2
// above); call it before the record's smtpPassword is overwritten.
std::u16string chooseSmtpPassword(const NetworkFormValues& values,
                                  const SmtpPresetTable& presets, const ConfigRecord& record);

// In Auto mode (mode 0) stores the Country and Operator positions into countryIndex and
// operatorIndex (low 8 bits; -1 becomes 0xFF). In Manual mode, or with no mode selected, both
// keep their values.
void storeOperatorSelection(const NetworkFormValues& values, ConfigRecord& record);

}  // namespace tarnwick
