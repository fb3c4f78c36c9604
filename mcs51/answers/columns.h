#pragma once
// An answer's columns (answers.h) laid out: a grid of cells for people, as
// padded text or a Markdown table, and CSV lines and JSON objects for
// machines.

#include <nlohmann/json.hpp>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "mcs51/answers/answers.h"

namespace mcs51 {

// How text output looks: marks in colour or plain.
struct Style {
  bool color = false;
};

// The optional columns shown: those of --chip, those of --peer.
struct Parts {
  bool chip = false;
  bool peer = false;
  bool Show(Part part) const {
    return part == Part::kAlways || (part == Part::kChip ? chip : peer);
  }
};

// One cell for people; `color` (an SGR number) colours it on a terminal.
struct Cell {
  std::string text;
  std::string_view color = {};
};

// Rows of cells under a header row, each column aligned one way.
struct Grid {
  std::vector<std::vector<Cell>> rows;  // the header first
  std::vector<Align> align;             // per column; missing: right
};

// Columns padded to their widest cell, two blanks apart; the last column
// is not padded, so lines carry no trailing blanks.
//   {{"a", "bb"}, {"ccc", "d"}}, right, right -> "  a  bb\nccc   d\n"
std::string TextOf(const Grid& grid, Style style);

// A Markdown table: a header row, its alignment row, a row per line; a
// "|" in a cell is escaped.
//   {{"a", "b"}, {"1", "2"}}, right, left -> "| a | b |\n|---:|---|\n| 1 | 2
//   |\n"
std::string MarkdownOf(const Grid& grid);

// An answer laid out for people: its caption's lines, then its grids,
// each under a heading of its own ("" for none; crystals' one per clock
// mode).
struct Sheet {
  struct Part {
    std::string heading;
    Grid grid;
  };
  std::string caption;
  std::vector<Part> parts;
};

// A sheet as text, each grid padded (TextOf); or as Markdown, each grid a
// table after a blank line and "<" escaped in the words around them,
// which Markdown would take for an HTML tag.
//   RenderedText({"12 MHz\n", {{"", grid}}}, {}) -> "12 MHz\n" + TextOf(grid)
//   RenderedMarkdown({"Columns: T<timer>\n", {}})
//       -> "Columns: T\\<timer>\n"
std::string RenderedText(const Sheet& sheet, Style style);
std::string RenderedMarkdown(const Sheet& sheet);

// People's grid of `rows`: the columns with a header that `parts` shows.
// The `colored` column takes the colour of `color(row)`.
//   PeopleGrid(SettingColumns(), rows, {}, ..).rows[0][0].text -> "timer"
template <typename Row>
Grid PeopleGrid(std::span<const Column<Row>> columns, std::span<const Row> rows,
                Parts parts, std::string_view (*color)(const Row&) = nullptr,
                std::string_view colored = "mark") {
  Grid grid;
  grid.rows.emplace_back();
  for (const auto& column : columns) {
    if (column.header.en.empty() || !parts.Show(column.part)) continue;
    grid.rows.front().push_back({std::string(column.header.en)});
    grid.align.push_back(column.align);
  }
  for (const Row& row : rows) {
    std::vector<Cell>& line = grid.rows.emplace_back();
    for (const auto& column : columns) {
      if (column.header.en.empty() || !parts.Show(column.part)) continue;
      const bool paint = color != nullptr && column.key == colored;
      line.push_back(
          {PeopleText(column, row), paint ? color(row) : std::string_view()});
    }
  }
  return grid;
}

// Each row as a card for people: the first two columns' cells on its
// heading line, the first padded to nine; then each further column's
// cell that has a value, indented by ten, after its header's English
// where it has one, a line for each of the cell's lines ('\n').
//   CardsOf(ChipCard(), {the 8052}) -> "8052      classic 8052 (12 clocks)\n"
//       "          t2      Timer 2 baud-rate generator; ...\n"
//       "          checked against: ...\n" ...
template <typename Row>
std::string CardsOf(std::span<const Column<Row>> columns,
                    std::span<const Row> rows) {
  std::string text;
  for (const Row& row : rows) {
    text += fmt::format("{:<9} {}\n", PeopleText(columns[0], row),
                        PeopleText(columns[1], row));
    for (const auto& column : columns.subspan(2)) {
      const Value value = column.cell(row);
      if (!value) continue;
      const std::string_view label = column.header.en;
      for (const std::string& line : BrokenLines(*value)) {
        text += fmt::format("{:10}{}{}{}\n", "", label,
                            label.empty() ? "" : " ", line);
      }
    }
  }
  return text;
}

// Machines' keys and values of a row: the columns for machines that
// `parts` shows; an empty value is no value.
struct KeyValue {
  std::string_view key;
  JsonType type;
  std::optional<std::string> value;
};
template <typename Row>
std::vector<KeyValue> Fields(std::span<const Column<Row>> columns,
                             const Row* row, Parts parts) {
  std::vector<KeyValue> fields;
  for (const auto& column : columns) {
    if (!column.for_machines || !parts.Show(column.part)) continue;
    fields.push_back({column.key, column.type,
                      row == nullptr ? std::nullopt : column.cell(*row)});
  }
  return fields;
}

using Json = nlohmann::ordered_json;

// One row's fields as a JSON object, each value as its column's JSON type:
// numbers as numbers (the shortest text reads back as the same double),
// the registers as an object, nothing as null.
//   JsonOf({{"reload", kInteger, "253"}, {"smod", kInteger, nothing}})
//       -> {"reload": 253, "smod": null}
Json JsonOf(std::span<const KeyValue> fields);

// JSON as the command line writes it: indented by two, a line break last.
std::string Dump(const Json& json);

// The keys, or one row's values, separated by commas.
//   CsvHeader(fields) -> "timer,smod,clocks,..."
//   CsvLine(fields)   -> "1,,12,253,FD,true,..."
std::string CsvHeader(std::span<const KeyValue> fields);
std::string CsvLine(std::span<const KeyValue> fields);

// `rows` as CSV: the keys, then a line per row.
//   CsvOf(ChipColumns(), Chips(), {}) -> "chip,family,...\n8051,..."
template <typename Row>
std::string CsvOf(std::span<const Column<Row>> columns,
                  std::span<const Row> rows, Parts parts) {
  std::string csv = CsvHeader(Fields<Row>(columns, nullptr, parts)) + "\n";
  for (const Row& row : rows) {
    csv += CsvLine(Fields(columns, &row, parts)) + "\n";
  }
  return csv;
}

// `rows` as a JSON array, an object each.
//   JsonRows(ChipColumns(), Chips(), {})[0]["chip"] -> "8051"
template <typename Row>
Json JsonRows(std::span<const Column<Row>> columns, std::span<const Row> rows,
              Parts parts) {
  Json json = Json::array();
  for (const Row& row : rows)
    json.push_back(JsonOf(Fields(columns, &row, parts)));
  return json;
}

}  // namespace mcs51
