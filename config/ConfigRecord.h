#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace tarnwick {

// The camera's settings block: exactly 1792 bytes, laid out field by field with no padding.
inline constexpr std::size_t kRecordSize = 1792;

struct FieldInfo;

// The settings record as a plain value: a byte image with typed little-endian accessors.
//
// The image is kept as raw bytes so that it is always exactly what goes into the file,
// including the bytes no field names. Multi-byte values are assembled byte by byte, so every
// accessor is safe at odd offsets (several fields start at odd offsets).
//
// Offsets and fields outside the 1792 bytes are a caller error: debug builds assert, release
// builds never touch memory outside the image (reads return 0, writes do nothing, field()
// returns an empty span).
class ConfigRecord {
 public:
  ConfigRecord();  // all 1792 bytes 0x00

  std::span<std::uint8_t, kRecordSize> bytes();
  std::span<const std::uint8_t, kRecordSize> bytes() const;

  std::int32_t readInt32(std::size_t offset) const;
  void writeInt32(std::size_t offset, std::int32_t value);
  std::uint32_t readUInt32(std::size_t offset) const;
  void writeUInt32(std::size_t offset, std::uint32_t value);
  std::uint8_t readUInt8(std::size_t offset) const;
  void writeUInt8(std::size_t offset, std::uint8_t value);

  // Exactly the bytes of one field, never reaching past it.
  std::span<std::uint8_t> field(const FieldInfo& f);
  std::span<const std::uint8_t> field(const FieldInfo& f) const;

  // Field-typed helpers. The field must have the matching size (4 bytes for the 32-bit
  // helpers, 1 byte for the 8-bit ones); a mismatch asserts in debug builds and reads 0 /
  // writes nothing in release builds.
  std::int32_t getInt32(const FieldInfo& f) const;
  void setInt32(const FieldInfo& f, std::int32_t v);
  std::uint32_t getUInt32(const FieldInfo& f) const;
  void setUInt32(const FieldInfo& f, std::uint32_t v);
  std::uint8_t getUInt8(const FieldInfo& f) const;
  void setUInt8(const FieldInfo& f, std::uint8_t v);

  bool operator==(const ConfigRecord&) const = default;

 private:
  std::array<std::uint8_t, kRecordSize> bytes_{};
};

// The program's one settings record, zero-filled until something writes it.
ConfigRecord& programRecord();

}  // namespace tarnwick
