#include "ConfigRecord.h"

#include <cassert>

#include "FieldCatalog.h"

namespace tarnwick {

namespace {

// True when [offset, offset + size) lies inside the record; written so that it cannot overflow.
bool inRecord(std::size_t offset, std::size_t size) {
  return offset <= kRecordSize && size <= kRecordSize - offset;
}

}  // namespace

ConfigRecord::ConfigRecord() = default;

std::span<std::uint8_t, kRecordSize> ConfigRecord::bytes() { return bytes_; }

std::span<const std::uint8_t, kRecordSize> ConfigRecord::bytes() const { return bytes_; }

std::uint32_t ConfigRecord::readUInt32(std::size_t offset) const {
  assert(inRecord(offset, 4));
  if (!inRecord(offset, 4)) return 0;
  // Little-endian, assembled byte by byte so odd offsets are as safe as aligned ones.
  return static_cast<std::uint32_t>(bytes_[offset]) |
         static_cast<std::uint32_t>(bytes_[offset + 1]) << 8 |
         static_cast<std::uint32_t>(bytes_[offset + 2]) << 16 |
         static_cast<std::uint32_t>(bytes_[offset + 3]) << 24;
}

void ConfigRecord::writeUInt32(std::size_t offset, std::uint32_t value) {
  assert(inRecord(offset, 4));
  if (!inRecord(offset, 4)) return;
  bytes_[offset] = static_cast<std::uint8_t>(value);
  bytes_[offset + 1] = static_cast<std::uint8_t>(value >> 8);
  bytes_[offset + 2] = static_cast<std::uint8_t>(value >> 16);
  bytes_[offset + 3] = static_cast<std::uint8_t>(value >> 24);
}

// Two's complement is guaranteed in C++20, so the casts between int32 and uint32 keep the bits.
std::int32_t ConfigRecord::readInt32(std::size_t offset) const {
  return static_cast<std::int32_t>(readUInt32(offset));
}

void ConfigRecord::writeInt32(std::size_t offset, std::int32_t value) {
  writeUInt32(offset, static_cast<std::uint32_t>(value));
}

std::uint8_t ConfigRecord::readUInt8(std::size_t offset) const {
  assert(inRecord(offset, 1));
  if (!inRecord(offset, 1)) return 0;
  return bytes_[offset];
}

void ConfigRecord::writeUInt8(std::size_t offset, std::uint8_t value) {
  assert(inRecord(offset, 1));
  if (!inRecord(offset, 1)) return;
  bytes_[offset] = value;
}

std::span<std::uint8_t> ConfigRecord::field(const FieldInfo& f) {
  assert(inRecord(f.offset, f.size));
  if (!inRecord(f.offset, f.size)) return {};
  return std::span<std::uint8_t>(bytes_).subspan(f.offset, f.size);
}

std::span<const std::uint8_t> ConfigRecord::field(const FieldInfo& f) const {
  assert(inRecord(f.offset, f.size));
  if (!inRecord(f.offset, f.size)) return {};
  return std::span<const std::uint8_t>(bytes_).subspan(f.offset, f.size);
}

std::int32_t ConfigRecord::getInt32(const FieldInfo& f) const {
  return static_cast<std::int32_t>(getUInt32(f));
}

void ConfigRecord::setInt32(const FieldInfo& f, std::int32_t v) {
  setUInt32(f, static_cast<std::uint32_t>(v));
}

std::uint32_t ConfigRecord::getUInt32(const FieldInfo& f) const {
  assert(f.size == 4);
  if (f.size != 4) return 0;
  return readUInt32(f.offset);
}

void ConfigRecord::setUInt32(const FieldInfo& f, std::uint32_t v) {
  assert(f.size == 4);
  if (f.size != 4) return;
  writeUInt32(f.offset, v);
}

std::uint8_t ConfigRecord::getUInt8(const FieldInfo& f) const {
  assert(f.size == 1);
  if (f.size != 1) return 0;
  return readUInt8(f.offset);
}

void ConfigRecord::setUInt8(const FieldInfo& f, std::uint8_t v) {
  assert(f.size == 1);
  if (f.size != 1) return;
  writeUInt8(f.offset, v);
}

ConfigRecord& programRecord() {
  // Built on first use, so no other static object can see it before it is zero-filled.
  static ConfigRecord record;
  return record;
}

}  // namespace tarnwick
