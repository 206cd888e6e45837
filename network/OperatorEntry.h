#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace tarnwick {

// One mobile operator's row: ten fixed-width text fields of 8-bit characters in the ANSI code
// page, stored one after the other without gaps (582 bytes). A field's text ends at its first
// zero byte and every field keeps at least one zero byte, so a text is at most 63 bytes long
// (5 for the port). An empty field is all zeros.
//
// The fields are numbered as oper.db numbers them; 1 to 9 feed the settings record's fields of
// the same names.
struct OperatorEntry {
  static constexpr std::size_t kFieldCount = 10;
  static constexpr std::size_t kTextWidth = 64;  // fields 0 to 8
  static constexpr std::size_t kPortWidth = 6;   // field 9

  std::array<std::uint8_t, kTextWidth> name{};          // 0: shown in the Operator list
  std::array<std::uint8_t, kTextWidth> mmsApn{};        // 1
  std::array<std::uint8_t, kTextWidth> mmsAccount{};    // 2
  std::array<std::uint8_t, kTextWidth> mmsPassword{};   // 3
  std::array<std::uint8_t, kTextWidth> dataApn{};       // 4
  std::array<std::uint8_t, kTextWidth> dataAccount{};   // 5
  std::array<std::uint8_t, kTextWidth> dataPassword{};  // 6
  std::array<std::uint8_t, kTextWidth> mmscUrl{};       // 7: MMS centre, host and path
  std::array<std::uint8_t, kTextWidth> mmsProxy{};      // 8: as a rule a dotted IPv4 address
  std::array<std::uint8_t, kPortWidth> mmsPort{};       // 9: decimal digits

  // Field `number` (0 to 9) as a whole, zero padding included; an empty span for any other
  // number, so a caller can never reach past the row.
  std::span<std::uint8_t> field(std::size_t number);
  std::span<const std::uint8_t> field(std::size_t number) const;

  // Width in bytes of field `number`; 0 for numbers outside 0 to 9.
  static constexpr std::size_t fieldWidth(std::size_t number) {
    return number < 9 ? kTextWidth : number == 9 ? kPortWidth : 0;
  }

  bool operator==(const OperatorEntry&) const = default;
};

static_assert(sizeof(OperatorEntry) == 9 * OperatorEntry::kTextWidth + OperatorEntry::kPortWidth,
              "an operator row is ten gapless text fields");

// The text of a field: its bytes up to the first zero byte (all of it when there is none).
std::span<const std::uint8_t> fieldText(std::span<const std::uint8_t> field);

}  // namespace tarnwick
