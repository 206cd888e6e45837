#pragma once

#include "resources/templates/MmsSetupIds.h"
#include "ui/toolkit/DialogTemplate.h"

namespace tarnwick::resources {

// "MMS / 4G Setup" (605 x 357): the network side of the settings record: access points from the
// operator table or typed, MMS server, phones, SMTP account, recipient mailboxes, FTP server.
const tk::DialogTemplate& mmsSetupTemplate();

}  // namespace tarnwick::resources
