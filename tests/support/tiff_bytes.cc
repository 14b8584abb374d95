#include "tests/support/tiff_bytes.h"

namespace plyfold::testing {
namespace {

uint16_t get_u16(const std::string& bytes, std::size_t at) {
  return static_cast<uint16_t>(static_cast<uint8_t>(bytes.at(at)) |
                               static_cast<uint8_t>(bytes.at(at + 1)) << 8);
}

void put_u16(std::string& bytes, std::size_t at, uint16_t value) {
  bytes.at(at) = static_cast<char>(value & 0xff);
  bytes.at(at + 1) = static_cast<char>(value >> 8);
}

}  // namespace

uint32_t get_u32(const std::string& bytes, std::size_t at) {
  return get_u16(bytes, at) | static_cast<uint32_t>(get_u16(bytes, at + 2))
                                  << 16;
}

void put_u32(std::string& bytes, std::size_t at, uint32_t value) {
  put_u16(bytes, at, static_cast<uint16_t>(value & 0xffff));
  put_u16(bytes, at + 2, static_cast<uint16_t>(value >> 16));
}

std::vector<uint32_t> directory_offsets(const std::string& bytes) {
  std::vector<uint32_t> offsets;
  uint32_t offset = get_u32(bytes, 4);
  while (offset != 0 && offset + 2 <= bytes.size() && offsets.size() < 1000) {
    offsets.push_back(offset);
    offset = get_u32(bytes, next_link_at(bytes, offset));
  }
  return offsets;
}

std::size_t next_link_at(const std::string& bytes, uint32_t directory) {
  return directory + 2 + 12u * get_u16(bytes, directory);
}

bool set_long_entry(std::string& bytes, uint32_t directory, uint16_t tag,
                    uint32_t value) {
  const uint16_t entries = get_u16(bytes, directory);
  for (uint16_t i = 0; i < entries; ++i) {
    const std::size_t entry = directory + 2 + 12u * i;
    if (get_u16(bytes, entry) != tag) continue;
    put_u16(bytes, entry + 2, 4);  // LONG
    put_u32(bytes, entry + 4, 1);
    put_u32(bytes, entry + 8, value);
    return true;
  }
  return false;
}

}  // namespace plyfold::testing
