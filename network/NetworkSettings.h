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
//    clean-up), the password of the preset row at the Type position, which the form never
//    shows; otherwise the box's text. With no Type selection (or a position outside the table)
//    there is no row whose password the mask could stand for, and the mask can only be text
//    the user typed, so the box's text is used then too.
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
                                        const SmtpPresetTable& presets);

// The SMTP password storeNetworkSettings stores, before its clean-up (step 2 above).
std::u16string chooseSmtpPassword(const NetworkFormValues& values,
                                  const SmtpPresetTable& presets);

// In Auto mode (mode 0) stores the Country and Operator positions into countryIndex and
// operatorIndex (low 8 bits; -1 becomes 0xFF). In Manual mode, or with no mode selected, both
// keep their values.
void storeOperatorSelection(const NetworkFormValues& values, ConfigRecord& record);

}  // namespace tarnwick
