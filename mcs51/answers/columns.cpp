#include "mcs51/answers/columns.h"

#include <algorithm>
#include <charconv>

namespace mcs51 {

namespace {

Align AlignOf(const Grid& grid, std::size_t column) {
  return column < grid.align.size() ? grid.align[column] : Align::kRight;
}

// A field in double quotes where it holds a comma, a quote or a line
// break, its quotes doubled, as RFC 4180 has it.
std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\n\r") == text.npos) return text;
  std::string quoted = "\"";
  for (char c : text)
    quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + '"';
}

// Words around Markdown's tables, "<" escaped: "T<timer>" -> "T\\<timer>".
std::string Escaped(std::string words) {
  for (std::size_t at = 0; (at = words.find('<', at)) != words.npos; at += 2) {
    words.insert(at, 1, '\\');
  }
  return words;
}

}  // namespace

std::string TextOf(const Grid& grid, Style style) {
  std::vector<std::size_t> widths;
  for (const auto& row : grid.rows) {
    widths.resize(std::max(widths.size(), row.size()), 0);
    for (std::size_t i = 0; i < row.size(); ++i) {
      widths[i] = std::max(widths[i], row[i].text.size());
    }
  }
  std::size_t line_width = 0;
  for (std::size_t width : widths) line_width += width + 2;
  std::string out;
  out.reserve(grid.rows.size() * line_width);
  for (const auto& row : grid.rows) {
    for (std::size_t i = 0; i < row.size(); ++i) {
      const Cell& cell = row[i];
      const bool last = i + 1 == row.size();
      const std::size_t pad = widths[i] - cell.text.size();
      if (i > 0) out += "  ";
      const bool right = AlignOf(grid, i) == Align::kRight;
      if (right) out.append(pad, ' ');
      if (style.color && !cell.color.empty()) {
        out.append("\x1b[").append(cell.color).append("m");
        out.append(cell.text).append("\x1b[0m");
      } else {
        out += cell.text;
      }
      if (!right && !last) out.append(pad, ' ');
    }
    out += '\n';
  }
  return out;
}

std::string MarkdownOf(const Grid& grid) {
  std::string out;
  for (std::size_t r = 0; r < grid.rows.size(); ++r) {
    out += '|';
    for (const Cell& cell : grid.rows[r]) {
      out += ' ';
      for (char c : cell.text) {
        if (c == '|') out += '\\';
        out += c;
      }
      out += " |";
    }
    out += '\n';
    if (r > 0) continue;
    out += '|';
    for (std::size_t i = 0; i < grid.rows[r].size(); ++i) {
      out += AlignOf(grid, i) == Align::kRight ? "---:|" : "---|";
    }
    out += '\n';
  }
  return out;
}

std::string RenderedText(const Sheet& sheet, Style style) {
  std::string text = sheet.caption;
  for (const Sheet::Part& part : sheet.parts) {
    text += part.heading + TextOf(part.grid, style);
  }
  return text;
}

std::string RenderedMarkdown(const Sheet& sheet) {
  std::string text = Escaped(sheet.caption);
  for (const Sheet::Part& part : sheet.parts) {
    text += Escaped(part.heading) + "\n" + MarkdownOf(part.grid);
  }
  return text;
}

std::string CsvHeader(std::span<const KeyValue> fields) {
  std::string line;
  for (const KeyValue& field : fields) {
    line += (line.empty() ? "" : ",") + std::string(field.key);
  }
  return line;
}

std::string CsvLine(std::span<const KeyValue> fields) {
  std::string line;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) line += ',';
    if (fields[i].value) line += CsvField(*fields[i].value);
  }
  return line;
}

namespace {

// A machine value as its column's JSON type: numbers as numbers (the
// shortest text reads back as the same double), the registers as an
// object, nothing as null.
Json Typed(const KeyValue& field) {
  if (!field.value) return nullptr;
  const std::string& text = *field.value;
  const char* end = text.data() + text.size();
  switch (field.type) {
    case JsonType::kInteger: {
      long long whole = 0;
      std::from_chars(text.data(), end, whole);
      return whole;
    }
    case JsonType::kNumber:
      return NumberOf(text);
    case JsonType::kBool:
      return text == "true";
    case JsonType::kObject: {
      Json object = Json::object();
      for (std::size_t at = 0; at < text.size();) {
        const std::size_t semicolon = std::min(text.find(';', at), text.size());
        const std::size_t equals = text.find('=', at);
        int value = 0;
        std::from_chars(text.data() + equals + 1, text.data() + semicolon,
                        value);
        object[text.substr(at, equals - at)] = value;
        at = semicolon + 1;
      }
      return object;
    }
    case JsonType::kText:
      break;
  }
  return text;
}

}  // namespace

Json JsonOf(std::span<const KeyValue> fields) {
  Json json = Json::object();
  for (const KeyValue& field : fields)
    json[std::string(field.key)] = Typed(field);
  return json;
}

std::string Dump(const Json& json) { return json.dump(2) + "\n"; }

}  // namespace mcs51
