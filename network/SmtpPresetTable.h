#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "network/SmtpPreset.h"

namespace tarnwick {

// Rows 0-4 ("default1" to "default5") are the vendor's fixed accounts: every cell is fixed and
// the password is never shown. Row 5 ("Other") leaves everything to the user. Rows 6-11 are
// public providers whose server and port are fixed.
inline constexpr std::int32_t fixedPresetCount = 5;
inline constexpr std::int32_t otherPresetIndex = 5;

// The twelve SMTP providers of the Type list. A row's position is what the settings record
// stores (smtpPreset), so the order is part of the file format. Constant once built.
class SmtpPresetTable {
 public:
  static constexpr std::size_t kRowCount = 12;

  // The vendor relay host and mail domain this build was configured with
  // (TARNWICK_VENDOR_SMTP_HOST, TARNWICK_VENDOR_MAIL_DOMAIN).
  SmtpPresetTable();
  // The same rows with another vendor relay host and mail domain.
  SmtpPresetTable(std::u16string_view vendorHost, std::u16string_view vendorMailDomain);

  std::span<const SmtpPreset> rows() const { return rows_; }
  std::size_t size() const { return rows_.size(); }
  const SmtpPreset& operator[](std::size_t position) const { return rows_[position]; }
  // The row at a list position, or nullptr outside 0-11 (including -1, "no selection").
  const SmtpPreset* row(std::int64_t position) const;

 private:
  std::array<SmtpPreset, kRowCount> rows_;
};

// The program's table, built with this build's vendor settings.
const SmtpPresetTable& programSmtpPresetTable();

}  // namespace tarnwick
