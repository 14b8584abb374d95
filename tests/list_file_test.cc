// The list file format: which entries a given sequence of bytes yields.
#include "app/list_file.h"

#include <gtest/gtest.h>

#include <string>

#include "app/messages.h"
#include "tests/support/recording_message_box.h"
#include "tests/support/temp_folder.h"
#include "tests/support/tiff_fixtures.h"

namespace plyfold::testing {
namespace {

using namespace std::string_literals;

struct ListCase {
  const char* name;
  std::string bytes;
  InputList entries;
};

const std::string k1022(1022, 'a');

const ListCase kListCases[] = {
    {"lf", "a.tif\nb.tif\n", {"a.tif", "b.tif"}},
    {"crlf", "a.tif\r\nb.tif\r\n", {"a.tif", "b.tif"}},
    {"mixed_line_ends",
     "a.tif\r\nb.tif\nc.tif\r\n",
     {"a.tif", "b.tif", "c.tif"}},
    {"cr_cr_lf_keeps_one_cr", "a.tif\r\r\nb.tif", {"a.tif\r", "b.tif"}},
    {"bare_cr_is_an_ordinary_byte", "a.tif\rb.tif\r", {"a.tif\rb.tif\r"}},
    {"cr_before_end_of_data", "a.tif\r\x1a\n", {"a.tif\r"}},
    {"no_final_line_end", "a.tif\nb.tif", {"a.tif", "b.tif"}},
    {"ctrl_z_mid_line", "a.tif\nb.t\x1aif\nc.tif\n", {"a.tif", "b.t"}},
    {"ctrl_z_first",
     "\x1a"
     "a.tif\n",
     {}},
    {"nul_mid_line", "a.t\0if\nb.tif\n"s, {"a.t", "b.tif"}},
    {"nul_first", "\0a.tif\nb.tif\n"s, {"b.tif"}},
    {"line_of_1022", k1022 + "\n", {k1022}},
    {"line_of_1023", k1022 + "b\n", {k1022, "b"}},
    {"line_of_1022_crlf", k1022 + "\r\nc", {k1022, "c"}},
    {"line_of_2044", k1022 + k1022, {k1022, k1022}},
    {"blanks_and_quotes_kept",
     " a.tif \n\t\"b c.tif\"\n   \n",
     {" a.tif ", "\t\"b c.tif\"", "   "}},
    {"comment_signs_are_entries", "#a\n;b\n", {"#a", ";b"}},
    {"byte_order_mark_kept",
     "\xef\xbb\xbf"
     "a.tif\n",
     {"\xef\xbb\xbf"
      "a.tif"}},
    {"duplicates_kept", "a.tif\na.tif\n", {"a.tif", "a.tif"}},
    {"empty_file", "", {}},
    {"empty_lines", "\n\r\n\n", {}},
    {"high_bytes_kept", "\xff\xe9.tif\n", {"\xff\xe9.tif"}},
};

void PrintTo(const ListCase& c, std::ostream* os) { *os << c.name; }

class ListFileTest : public TempFolderTest,
                     public ::testing::WithParamInterface<ListCase> {};

TEST_P(ListFileTest, GivesTheEntriesOfItsBytes) {
  write_file(path("list"), GetParam().bytes);
  InputList entries;
  ASSERT_TRUE(read_list_file(path("list"), entries));
  EXPECT_EQ(entries, GetParam().entries);
  EXPECT_TRUE(shown_messages().empty());
}

INSTANTIATE_TEST_SUITE_P(Format, ListFileTest, ::testing::ValuesIn(kListCases),
                         [](const auto& test) { return test.param.name; });

class UnopenableListFileTest : public TempFolderTest {};

TEST_F(UnopenableListFileTest, ShowsTheListFileMessage) {
  const std::string missing = path("missing 100%s.txt");
  const std::string unopenable[] = {missing, "", folder_};
  for (const std::string& list : unopenable) {
    clear_messages();
    InputList entries;
    EXPECT_FALSE(read_list_file(list, entries)) << list;
    EXPECT_TRUE(entries.empty());
    ASSERT_EQ(shown_messages().size(), 1u);
    EXPECT_EQ(shown_messages()[0].caption, "Plyfold");
    EXPECT_EQ(shown_messages()[0].text,
              "Could not open list file " + list + "\n");
  }
}

}  // namespace
}  // namespace plyfold::testing
