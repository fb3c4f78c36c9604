// explain's findings for code-scanning services, as SARIF 2.1.0 (OASIS
// Static Analysis Results Interchange Format, Version 2.1.0, 27 March
// 2020): the properties section 3 requires, and the rules and regions
// the services show.
#include <fmt/format.h>

#include "mcs51/answers/columns.h"
#include "mcs51/answers/reports.h"
#include "mcs51/explain/explain_words.h"

namespace mcs51 {
namespace {

// A relative URI reference (RFC 3986): the name's bytes, those outside
// the unreserved characters and "/" escaped; "\" read as "/".
std::string Uri(std::string_view name) {
  std::string uri;
  for (const char c : name) {
    const auto b = static_cast<unsigned char>(c);
    if (c == '\\') {
      uri += '/';
    } else if ((b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') ||
               (b >= '0' && b <= '9') || c == '-' || c == '.' || c == '_' ||
               c == '~' || c == '/') {
      uri += c;
    } else {
      uri += fmt::format("%{:02X}", b);
    }
  }
  return uri;
}

Json Rules() {
  Json rules = Json::array();
  for (const FindingKind kind : FindingKinds()) {
    const Words about = KindWords(kind);
    rules.push_back({{"id", FindingKey(kind)},
                     {"shortDescription", {{"text", about.en}}},
                     {"fullDescription", {{"text", about.en}}},
                     {"defaultConfiguration", {{"level", "warning"}}},
                     {"properties", {{"description-zh", about.zh}}}});
  }
  return rules;
}

Json Result(const Finding& f, std::string_view file) {
  Json place = {
      {"artifactLocation", {{"uri", Uri(f.file.empty() ? file : f.file)}}}};
  if (f.line == 0 && f.address >= 0) {
    // A built image's code with no listing: its address, no line.
    place["address"] = {{"absoluteAddress", f.address}};
  } else {
    Json region = {{"startLine", std::max(f.line, 1)}};
    if (f.column > 0) region["startColumn"] = f.column;
    place["region"] = region;
  }
  return {{"ruleId", FindingKey(f.kind)},
          {"ruleIndex", static_cast<int>(f.kind)},
          {"level", "warning"},
          {"message", {{"text", f.text}}},
          {"locations", Json::array({{{"physicalLocation", place}}})},
          {"properties", {{"message-zh", f.chinese}}}};
}

}  // namespace

std::string ExplainSarif(const Explanation& e, std::string_view tool,
                         std::string_view version, std::string_view file) {
  Json results = Json::array();
  for (const Finding& f : e.findings) results.push_back(Result(f, file));
  Json run = {{"tool",
               {{"driver",
                 {{"name", tool}, {"version", version}, {"rules", Rules()}}}}},
              {"language", "en"},
              {"results", results}};
  return Dump({{"$schema", "https://json.schemastore.org/sarif-2.1.0.json"},
               {"version", "2.1.0"},
               {"runs", Json::array({run})}});
}

}  // namespace mcs51
