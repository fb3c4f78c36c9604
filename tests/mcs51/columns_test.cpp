// Grids, sheets and fields as the outputs lay them out: padded text,
// Markdown tables and CSV lines.
#include "mcs51/answers/columns.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace mcs51 {
namespace {

struct GridRow {
  const char* name;
  Grid grid;
  std::string text;
  std::string markdown;
};
void PrintTo(const GridRow& row, std::ostream* os) { *os << row.name; }

class GridTest : public testing::TestWithParam<GridRow> {};

TEST_P(GridTest, LaysOutTextAndMarkdown) {
  const GridRow& row = GetParam();
  EXPECT_EQ(TextOf(row.grid, {}), row.text);
  EXPECT_EQ(MarkdownOf(row.grid), row.markdown);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, GridTest,
    testing::Values(
        // The last column is not padded: no trailing blanks.
        GridRow{"RightThenLeft",
                {{{{"a"}, {"bb"}}, {{"ccc"}, {"d"}}},
                 {Align::kRight, Align::kLeft}},
                "  a  bb\nccc  d\n",
                "| a | bb |\n|---:|---|\n| ccc | d |\n"},
        // A "|" in a cell would end it early in Markdown.
        GridRow{"PipeEscaped",
                {{{{"x"}}, {{"a|b"}}}, {Align::kLeft}},
                "x\na|b\n",
                "| x |\n|---|\n| a\\|b |\n"},
        // A column without its alignment is right-aligned.
        GridRow{"AlignmentDefaultsRight",
                {{{{"n"}}, {{"10"}}}, {}},
                " n\n10\n",
                "| n |\n|---:|\n| 10 |\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Grid, ColorsOnlyOnATerminal) {
  const Grid grid{{{{"ok", "32"}}}, {Align::kLeft}};
  EXPECT_EQ(TextOf(grid, {.color = true}), "\x1b[32mok\x1b[0m\n");
  EXPECT_EQ(TextOf(grid, {}), "ok\n");
}

// A sheet: the caption, then each heading and grid, the grid after a
// blank line in Markdown, where "<" in the words would open an HTML tag.
TEST(Sheet, RendersCaptionHeadingsAndGrids) {
  const Grid grid{{{{"a"}}}, {Align::kLeft}};
  const Sheet sheet{"T<timer>\n", {{"\n12 clocks:\n", grid}}};
  EXPECT_EQ(RenderedText(sheet, {}), "T<timer>\n\n12 clocks:\na\n");
  EXPECT_EQ(RenderedMarkdown(sheet),
            "T\\<timer>\n\n12 clocks:\n\n| a |\n|---|\n");
}

struct CsvRow {
  const char* name;
  std::vector<KeyValue> fields;
  std::string line;
};
void PrintTo(const CsvRow& row, std::ostream* os) { *os << row.name; }

class CsvTest : public testing::TestWithParam<CsvRow> {};

TEST_P(CsvTest, WritesOneLine) {
  EXPECT_EQ(CsvLine(GetParam().fields), GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CsvTest,
    testing::Values(CsvRow{"NothingIsEmpty",
                           {{"a", JsonType::kInteger, "1"},
                            {"b", JsonType::kInteger, std::nullopt},
                            {"c", JsonType::kText, "x"}},
                           "1,,x"},
                    CsvRow{"CommaQuoted",
                           {{"a", JsonType::kText, "12, 6"},
                            {"b", JsonType::kText, "y"}},
                           "\"12, 6\",y"},
                    CsvRow{"QuoteDoubled",
                           {{"a", JsonType::kText, "the \"T1M\" bit"}},
                           "\"the \"\"T1M\"\" bit\""}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace mcs51
