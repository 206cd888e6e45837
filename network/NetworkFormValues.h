#pragma once

#include <cstdint>
#include <string>

namespace tarnwick {

// A snapshot of the network form when OK is pressed: every text exactly as the form holds it
// (UTF-16, not yet cleaned), every selection a zero-based list position (-1 = none).
struct NetworkFormValues {
  // Texts, named after the record fields they are stored to.
  std::u16string mmsApn;
  std::u16string dataApn;
  std::u16string mmsAccount;
  std::u16string dataAccount;
  std::u16string mmsPassword;
  std::u16string dataPassword;
  std::u16string mmscUrl;
  std::u16string mmsProxy;
  std::u16string mmsPort;
  std::u16string smtpServer;
  std::u16string smtpPort;
  std::u16string smtpEmail;
  std::u16string smtpPasswordBox;  // the SMTP Password box's own text, read directly
  std::u16string phone1;
  std::u16string phone2;
  std::u16string phone3;
  std::u16string mailbox1;
  std::u16string mailbox2;
  std::u16string mailbox3;
  std::u16string ftpServer;
  std::u16string ftpPort;
  std::u16string ftpAccount;
  std::u16string ftpPassword;
  std::u16string ftpDirectory;  // the FTP directory box's own text, read directly

  // Selections.
  std::int32_t encrypt = -1;     // Encrypt: 0 "No SSL", 1 "SSL", 2 "StartTLS"
  std::int32_t smtpType = -1;    // Type: row of the SMTP preset table
  std::int32_t mode = -1;        // Mode: 0 "Auto", 1 "Manual"
  std::int32_t mmsOption = -1;   // MMS Option: 0 "VGA", 1 "QVGA", 2 "OFF"
  std::int32_t dataOption = -1;  // Data Option: 0 "SMTP", 1 "FTP", 2 "OFF"
  std::int32_t country = -1;         // Country list (Auto mode)
  std::int32_t mobileOperator = -1;  // Operator list (Auto mode)
};

}  // namespace tarnwick
