// Replays every input that the fuzzers once found a fault with.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/list_file.h"
#include "combine/combine_inputs.h"
#include "tests/support/temp_folder.h"
#include "tests/support/tiff_fixtures.h"

namespace plyfold::testing {
namespace {

class FuzzRegressionTest : public TempFolderTest {};

std::vector<std::string> cases(const char* target) {
  std::vector<std::string> files;
  const std::filesystem::path folder =
      std::filesystem::path(PLYFOLD_SOURCE_DIR) / "fuzz/regressions" / target;
  for (const auto& file : std::filesystem::directory_iterator(folder)) {
    if (file.is_regular_file()) files.push_back(file.path().string());
  }
  return files;
}

// Each case ends, without a crash, as the join fuzzer's checks require.
TEST_F(FuzzRegressionTest, JoinCases) {
  PageSpec page;
  page.width = 8;
  page.height = 4;
  page.compression = COMPRESSION_LZW;
  ASSERT_TRUE(write_tiff(path("valid.tif"), {page}));
  for (const std::string& file : cases("join")) {
    SCOPED_TRACE(file);
    if (combine_inputs({file, path("valid.tif")}, path("out.tif"))) {
      EXPECT_EQ(count_pages(path("out.tif")), count_pages(file) + 1);
    }
  }
}

TEST_F(FuzzRegressionTest, ListFileCases) {
  for (const std::string& file : cases("list_file")) {
    SCOPED_TRACE(file);
    InputList entries;
    EXPECT_TRUE(read_list_file(file, entries));
    for (const std::string& entry : entries) {
      EXPECT_FALSE(entry.empty());
      EXPECT_LE(entry.size(), kMaxListEntryBytes);
    }
  }
}

}  // namespace
}  // namespace plyfold::testing
