// The combining driver: page order, unreadable inputs, refused outputs.
#include "combine/combine_inputs.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/recording_message_box.h"
#include "tests/support/temp_folder.h"
#include "tests/support/tiff_bytes.h"
#include "tests/support/tiff_fixtures.h"

namespace plyfold::testing {
namespace {

PageSpec page_with_seed(uint8_t seed, uint32_t rows_per_strip = 0) {
  PageSpec page;
  page.width = 24;
  page.height = 10;
  page.seed = seed;
  page.rows_per_strip = rows_per_strip;
  page.compression = COMPRESSION_LZW;
  return page;
}

std::vector<uint8_t> page_samples(const std::string& file, int page) {
  std::vector<uint8_t> samples;
  for (const auto& strip : decoded_units(file, page)) {
    samples.insert(samples.end(), strip.begin(), strip.end());
  }
  return samples;
}

// True when /proc says this process holds `file` open.
bool holds_open(const std::string& file) {
  for (const auto& fd : std::filesystem::directory_iterator("/proc/self/fd")) {
    std::error_code ignored;
    if (std::filesystem::read_symlink(fd.path(), ignored) == file) return true;
  }
  return false;
}

std::vector<std::string> shown_texts() {
  std::vector<std::string> texts;
  for (const ShownMessage& shown : shown_messages())
    texts.push_back(shown.text);
  return texts;
}

class CombineInputsTest : public TempFolderTest {
 protected:
  void SetUp() override {
    TempFolderTest::SetUp();
    // two.tif: pages seeded 1 and 2; one.tif: seed 3; three.tif: 4, 5, 6.
    ASSERT_TRUE(
        write_tiff(path("two.tif"), {page_with_seed(1, 3), page_with_seed(2)}));
    ASSERT_TRUE(write_tiff(path("one.tif"), {page_with_seed(3, 4)}));
    ASSERT_TRUE(write_tiff(
        path("three.tif"),
        {page_with_seed(4), page_with_seed(5, 1), page_with_seed(6)}));
    write_file(path("text.tif"), "not a TIFF file at all");
    ASSERT_EQ(mkdir(path("folder.tif").c_str(), 0755), 0);
  }

  // Expects `out` to hold exactly these (file, page) pairs, in order.
  void expect_pages(const std::string& out,
                    const std::vector<std::pair<std::string, int>>& pages) {
    ASSERT_EQ(count_pages(out), static_cast<int>(pages.size()));
    for (std::size_t i = 0; i < pages.size(); ++i) {
      EXPECT_EQ(page_samples(out, static_cast<int>(i)),
                page_samples(path(pages[i].first), pages[i].second))
          << "output page " << i;
    }
  }
};

TEST_F(CombineInputsTest, JoinsEveryPageInListOrder) {
  EXPECT_TRUE(combine_inputs({path("two.tif"), path("one.tif")}, path("o")));
  expect_pages(path("o"), {{"two.tif", 0}, {"two.tif", 1}, {"one.tif", 0}});

  EXPECT_TRUE(combine_inputs(
      {path("three.tif"), path("one.tif"), path("two.tif")}, path("o")));
  expect_pages(path("o"), {{"three.tif", 0},
                           {"three.tif", 1},
                           {"three.tif", 2},
                           {"one.tif", 0},
                           {"two.tif", 0},
                           {"two.tif", 1}});
  EXPECT_TRUE(shown_messages().empty());
}

TEST_F(CombineInputsTest, SingleEntryAndRepeatedEntry) {
  EXPECT_TRUE(combine_inputs({path("three.tif")}, path("o")));
  expect_pages(path("o"),
               {{"three.tif", 0}, {"three.tif", 1}, {"three.tif", 2}});

  EXPECT_TRUE(combine_inputs({path("one.tif"), path("one.tif")}, path("o")));
  expect_pages(path("o"), {{"one.tif", 0}, {"one.tif", 0}});
}

TEST_F(CombineInputsTest, EmptyListGivesABareHeader) {
  write_file(path("o"), "old contents");
  EXPECT_TRUE(combine_inputs({}, path("o")));
  EXPECT_EQ(file_bytes(path("o")).size(), 8u);
  EXPECT_TRUE(shown_messages().empty());
}

// An unreadable entry ends the walk: one message naming it, the pages before
// it kept, nothing after it opened (a second bad entry would show again).
TEST_F(CombineInputsTest, UnreadableEntryEndsTheWalk) {
  const std::string unreadable[] = {path("missing.tif"), path("text.tif"),
                                    path("folder.tif"), ""};
  for (const std::string& bad : unreadable) {
    for (int position : {0, 1, 2}) {
      SCOPED_TRACE(bad + " at " + std::to_string(position));
      clear_messages();
      InputList inputs = {path("two.tif"), path("one.tif"), path("missing2")};
      inputs.insert(inputs.begin() + position, bad);
      EXPECT_FALSE(combine_inputs(inputs, path("o")));
      EXPECT_EQ(shown_texts(),
                std::vector<std::string>{"Could not read input file " + bad});
      if (position == 0) {
        EXPECT_EQ(file_bytes(path("o")).size(), 8u);
      } else if (position == 1) {
        expect_pages(path("o"), {{"two.tif", 0}, {"two.tif", 1}});
      } else {
        expect_pages(path("o"),
                     {{"two.tif", 0}, {"two.tif", 1}, {"one.tif", 0}});
      }
    }
  }
}

TEST_F(CombineInputsTest, MessageIsShownWhileTheOutputIsOpen) {
  bool output_open = false;
  on_message([&] { output_open = holds_open(path("o")); });
  EXPECT_FALSE(combine_inputs({path("one.tif"), path("missing")}, path("o")));
  EXPECT_TRUE(output_open);
}

TEST_F(CombineInputsTest, UnopenableOutputOpensNoInput) {
  const std::string output = path("no/such/folder/out.tif");
  EXPECT_FALSE(combine_inputs({path("missing"), path("one.tif")}, output));
  EXPECT_EQ(shown_texts(),
            std::vector<std::string>{"Could not open output file " + output});
}

TEST_F(CombineInputsTest, RefusesAnOutputThatIsAnInput) {
  ASSERT_EQ(link(path("two.tif").c_str(), path("hard.tif").c_str()), 0);
  ASSERT_EQ(symlink(path("two.tif").c_str(), path("soft.tif").c_str()), 0);
  ASSERT_EQ(symlink(folder_.c_str(), path("here").c_str()), 0);
  const std::string original = file_bytes(path("two.tif"));
  const std::string outputs[] = {
      path("two.tif"),  path("./two.tif"), path("folder.tif/../two.tif"),
      path("hard.tif"), path("soft.tif"),  path("here/two.tif")};
  for (const std::string& output : outputs) {
    clear_messages();
    EXPECT_FALSE(combine_inputs({path("one.tif"), path("two.tif")}, output));
    EXPECT_EQ(shown_texts(),
              std::vector<std::string>{"Output file " + output +
                                       " is also an input file"});
    EXPECT_EQ(file_bytes(path("two.tif")), original) << output;
  }
}

TEST_F(CombineInputsTest, UndecodableStripFailsTheRunButKeepsEveryPage) {
  PageSpec page = page_with_seed(9, 2);
  page.compression = COMPRESSION_ADOBE_DEFLATE;
  ASSERT_TRUE(write_tiff(path("bad.tif"), {page}));
  corrupt_strip(path("bad.tif"), 1);
  EXPECT_FALSE(combine_inputs({path("bad.tif"), path("one.tif")}, path("o")));
  EXPECT_TRUE(shown_messages().empty());
  ASSERT_EQ(count_pages(path("o")), 2);
  EXPECT_EQ(page_samples(path("o"), 1), page_samples(path("one.tif"), 0));
}

// The TIFF version number in the file's header: 42 classic, 43 BigTIFF.
int tiff_version(const std::string& file) {
  const std::string bytes = file_bytes(file);
  return bytes.size() < 4 ? -1 : static_cast<uint8_t>(bytes[2]);
}

TEST_F(CombineInputsTest, MoreThanAGibibyteOfInputsGivesABigTiffOutput) {
  // A TIFF file may hold unused bytes after its data: this one is grown to
  // just over 1 GiB with a hole, which takes no disk space.
  std::filesystem::copy_file(path("two.tif"), path("large.tif"));
  std::filesystem::resize_file(path("large.tif"), (uint64_t{1} << 30) + 1);

  EXPECT_TRUE(combine_inputs({path("two.tif"), path("one.tif")}, path("o")));
  EXPECT_EQ(tiff_version(path("o")), 42);

  EXPECT_TRUE(combine_inputs({path("large.tif"), path("one.tif")}, path("o")));
  EXPECT_EQ(tiff_version(path("o")), 43);
  expect_pages(path("o"), {{"two.tif", 0}, {"two.tif", 1}, {"one.tif", 0}});
}

// Points page 1's link to the next page far past the end of the file, so
// that the next directory cannot be read though one is announced.
void break_second_directory_link(const std::string& file) {
  std::string bytes = file_bytes(file);
  const uint32_t first = directory_offsets(bytes).at(0);
  put_u32(bytes, next_link_at(bytes, first), 0x70000000);
  write_file(file, bytes);
}

TEST_F(CombineInputsTest, FailedAdvanceEndsTheWalkAfterTheCopiedPages) {
  break_second_directory_link(path("three.tif"));
  EXPECT_FALSE(combine_inputs(
      {path("one.tif"), path("three.tif"), path("two.tif")}, path("o")));
  EXPECT_EQ(shown_texts(),
            std::vector<std::string>{"Could not read input file " +
                                     path("three.tif")});
  expect_pages(path("o"), {{"one.tif", 0}, {"three.tif", 0}});
}

}  // namespace
}  // namespace plyfold::testing
