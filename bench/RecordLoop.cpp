// The settings record's encode/decode loop, timed, for comparing one build with another (the
// native program and the browser edition's wasm under node): the factory record is encoded into
// file bytes (negated), decoded back and every catalogue field read, many times over.
//
//   tarnwick_record_loop [ROUNDS]   prints "record encode/decode: N rounds, X ns per round"

#include "config/Codec.h"
#include "config/ConfigRecord.h"
#include "config/Defaults.h"
#include "config/FieldCatalog.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
// One round: encode, decode, read each field; the sum keeps the compiler from dropping it.
std::uint64_t round(tarnwick::ConfigRecord& record, std::array<std::uint8_t, tarnwick::kRecordSize>& file) {
  const auto bytes = record.bytes();
  std::memcpy(file.data(), bytes.data(), file.size());
  tarnwick::negateBytes(file.data(), static_cast<std::uint32_t>(file.size()));
  std::memcpy(bytes.data(), file.data(), file.size());
  tarnwick::negateBytes(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
  std::uint64_t sum = 0;
  for (const tarnwick::FieldInfo* field : tarnwick::fieldCatalog()) {
    for (const std::uint8_t b : record.field(*field)) sum += b;
  }
  return sum;
}
}  // namespace

int main(int argc, char** argv) {
  const long rounds = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 200000;
  if (rounds <= 0) {
    std::fprintf(stderr, "usage: %s [ROUNDS]\n", argv[0]);
    return 2;
  }
  tarnwick::ConfigRecord record;
  tarnwick::applyDefaults(record);
  std::array<std::uint8_t, tarnwick::kRecordSize> file{};
  std::uint64_t sum = round(record, file);  // warm-up
  const auto start = std::chrono::steady_clock::now();
  for (long i = 0; i < rounds; ++i) sum += round(record, file);
  const std::chrono::duration<double, std::nano> elapsed = std::chrono::steady_clock::now() - start;
  std::printf("record encode/decode: %ld rounds, %.1f ns per round (checksum %llu)\n", rounds,
              elapsed.count() / static_cast<double>(rounds), static_cast<unsigned long long>(sum));
  return 0;
}
