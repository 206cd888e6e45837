#pragma once

#include <cstdint>
#include <string>

namespace tarnwick {

// One row of the SMTP provider table: what choosing it in the Type list puts on the form.
struct SmtpPreset {
  std::u16string name;        // shown in the Type list
  std::int32_t encryption{};  // Encrypt list position: 0 "No SSL", 1 "SSL", 2 "StartTLS"
  std::u16string server;      // SMTP host
  std::u16string port;        // decimal text
  std::u16string account;     // sender address
  std::u16string password;    // never shown for the fixed rows

  bool operator==(const SmtpPreset&) const = default;
};

}  // namespace tarnwick
