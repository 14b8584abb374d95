// Classic little-endian TIFF files byte by byte, for tests that break them
// on purpose in ways libtiff would never write.
#ifndef PLYFOLD_TESTS_SUPPORT_TIFF_BYTES_H_
#define PLYFOLD_TESTS_SUPPORT_TIFF_BYTES_H_

#include <cstdint>
#include <string>
#include <vector>

namespace plyfold::testing {

uint32_t get_u32(const std::string& bytes, std::size_t at);
void put_u32(std::string& bytes, std::size_t at, uint32_t value);

// Offsets of the directories in chain order (header first).
std::vector<uint32_t> directory_offsets(const std::string& bytes);

// Where the link to the next directory of the directory at `directory` is.
std::size_t next_link_at(const std::string& bytes, uint32_t directory);

// Makes `tag` of the directory at `directory` a LONG holding `value`;
// false when the directory has no such tag.
bool set_long_entry(std::string& bytes, uint32_t directory, uint16_t tag,
                    uint32_t value);

}  // namespace plyfold::testing

#endif  // PLYFOLD_TESTS_SUPPORT_TIFF_BYTES_H_
