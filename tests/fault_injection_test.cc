// Broken, hostile and unusual inputs: never a crash or a hang, always a
// failed run with a message, and an output that stays a readable TIFF file
// holding the pages copied before the fault.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "combine/combine_inputs.h"
#include "tests/support/recording_message_box.h"
#include "tests/support/temp_folder.h"
#include "tests/support/tiff_bytes.h"
#include "tests/support/tiff_fixtures.h"

namespace plyfold::testing {
namespace {

class FaultInjectionTest : public TempFolderTest {
 protected:
  void SetUp() override {
    TempFolderTest::SetUp();
    PageSpec page;
    page.width = 30;
    page.height = 20;
    page.rows_per_strip = 4;
    page.compression = COMPRESSION_LZW;
    ASSERT_TRUE(write_tiff(path("one.tif"), {page}));
    page.seed = 2;
    PageSpec second = page;
    second.seed = 3;
    ASSERT_TRUE(write_tiff(path("two.tif"), {page, second}));
  }

  // Joins one.tif, then `bad`, then one.tif again, and expects the failure
  // to show and the output to hold one.tif's page and `pages_of_bad` more.
  void expect_failed_join(const std::string& bad, int pages_of_bad) {
    clear_messages();
    EXPECT_FALSE(
        combine_inputs({path("one.tif"), bad, path("one.tif")}, path("o")));
    ASSERT_EQ(shown_messages().size(), 1u);
    EXPECT_EQ(shown_messages()[0].text, "Could not read input file " + bad);
    EXPECT_EQ(count_pages(path("o")), 1 + pages_of_bad);
    EXPECT_EQ(decoded_units(path("o"), 0), decoded_units(path("one.tif"), 0));
  }
};

TEST_F(FaultInjectionTest, InputThatIsNoPlainFile) {
  ASSERT_EQ(mkfifo(path("fifo").c_str(), 0644), 0);  // opening it would wait
  ASSERT_EQ(mkdir(path("folder").c_str(), 0755), 0);
  for (const std::string& bad : {path("fifo"), path("folder"),
                                 std::string("/dev/null"),
                                 std::string("/dev/zero")}) {
    SCOPED_TRACE(bad);
    expect_failed_join(bad, 0);
  }
}

TEST_F(FaultInjectionTest, DirectoryChainThatLoopsBack) {
  std::string bytes = file_bytes(path("two.tif"));
  const std::vector<uint32_t> directories = directory_offsets(bytes);
  ASSERT_EQ(directories.size(), 2u);
  put_u32(bytes, next_link_at(bytes, directories[1]), directories[0]);
  write_file(path("loop.tif"), bytes);
  expect_failed_join(path("loop.tif"), 2);
}

TEST_F(FaultInjectionTest, PageClaimingEnormousDimensions) {
  // 1,000,000 pixels square in one strip, from a file of a few hundred
  // bytes: no buffer of a terabyte is asked for, the page is left out.
  std::string bytes = file_bytes(path("two.tif"));
  const uint32_t second = directory_offsets(bytes).at(1);
  ASSERT_TRUE(set_long_entry(bytes, second, TIFFTAG_IMAGEWIDTH, 1000000));
  ASSERT_TRUE(set_long_entry(bytes, second, TIFFTAG_IMAGELENGTH, 1000000));
  ASSERT_TRUE(set_long_entry(bytes, second, TIFFTAG_ROWSPERSTRIP, 1000000));
  write_file(path("huge.tif"), bytes);
  expect_failed_join(path("huge.tif"), 1);
}

// Every way of cutting a file short: the join fails, or, when what is left
// still holds its pages, succeeds with all of them; nothing else.
TEST_F(FaultInjectionTest, InputTruncatedAnywhere) {
  const std::string whole = file_bytes(path("two.tif"));
  for (std::size_t length = 0; length < whole.size(); length += 7) {
    SCOPED_TRACE(length);
    clear_messages();
    write_file(path("cut.tif"), whole.substr(0, length));
    const bool joined =
        combine_inputs({path("one.tif"), path("cut.tif")}, path("o"));
    const int pages = count_pages(path("o"));
    if (joined) {
      EXPECT_EQ(pages, 1 + count_pages(path("cut.tif")));
    } else {
      EXPECT_GE(pages, 1);  // one.tif's page at least, in a readable file
    }
  }
}

}  // namespace
}  // namespace plyfold::testing
