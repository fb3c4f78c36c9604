#include "cli/csv_json.h"

#include <fmt/format.h>

#include <charconv>
#include <nlohmann/json.hpp>

#include "cli/columns.h"

namespace cli {

// timers/ is this program's vocabulary: its names read unqualified.
using namespace mcs51;  // NOLINT(google-build-using-namespace)
namespace {

using Json = nlohmann::ordered_json;

// A machine value as its column's JSON type: numbers as numbers (the
// shortest text reads back as the same double), the registers as an
// object, nothing as null.
Json Typed(const Field& field) {
  if (!field.value) return nullptr;
  const std::string& text = *field.value;
  const char* end = text.data() + text.size();
  switch (field.type) {
    case JsonType::kInteger: {
      long long whole = 0;
      std::from_chars(text.data(), end, whole);
      return whole;
    }
    case JsonType::kNumber: {
      double number = 0.0;
      std::from_chars(text.data(), end, number);
      return number;
    }
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

Json JsonOf(std::span<const Field> fields) {
  Json json = Json::object();
  for (const Field& field : fields) json[std::string(field.key)] = Typed(field);
  return json;
}

std::string Dump(const Json& json) { return json.dump(2) + "\n"; }

Parts PartsOf(const Request& request) {
  return {!request.filter.chip.empty(), !request.peer.empty()};
}

// A setting's row, with its link at `baud` when a peer is named.
struct Linked {
  std::optional<Link> link;
  SettingRow row;
  Linked(const Request& request, const Outcome& outcome, double baud)
      : link(LinkOf(request, outcome, baud)),
        row{outcome, link ? &*link : nullptr, request.tolerance_percent,
            request.peer} {}
};

std::vector<Field> SettingFields(const Request& request, const Outcome& outcome,
                                 double baud, Parts parts) {
  const Linked linked(request, outcome, baud);
  return Fields(SettingColumns(), &linked.row, parts);
}

std::string SettingHeader(const Request& request) {
  return CsvHeader(
      Fields<SettingRow>(SettingColumns(), nullptr, PartsOf(request)));
}

// The frame and the clocks' tolerance the links were judged with.
void AddLinkTerms(const Request& request, Json& json) {
  if (request.peer.empty()) return;
  json["frame"] = kFrameKeys[static_cast<std::size_t>(request.frame)];
  json["clock_ppm"] = request.clock_ppm;
}

}  // namespace

std::string SettingsCsv(const Request& request,
                        std::span<const Outcome> ranked) {
  std::string csv = SettingHeader(request) + "\n";
  for (const Outcome& outcome : ranked) {
    csv += CsvLine(SettingFields(request, outcome, request.rates.front(),
                                 PartsOf(request))) +
           "\n";
  }
  return csv;
}

std::string SettingsJson(const Request& request,
                         std::span<const Outcome> ranked) {
  Json json;
  json["frequency_mhz"] = request.frequency_mhz;
  json["baud"] = request.rates.front();
  json["tolerance_percent"] = request.tolerance_percent;
  AddLinkTerms(request, json);
  json["settings"] = Json::array();
  for (const Outcome& outcome : ranked) {
    json["settings"].push_back(JsonOf(SettingFields(
        request, outcome, request.rates.front(), PartsOf(request))));
  }
  return Dump(json);
}

std::string TickCsv(const Request& request,
                    std::span<const TickOutcome> ranked) {
  const Parts parts = PartsOf(request);
  std::string csv =
      CsvHeader(Fields<TickRow>(TickColumns(), nullptr, parts)) + "\n";
  for (const TickOutcome& o : ranked) {
    const TickRow row{o, request.tolerance_percent};
    csv += CsvLine(Fields(TickColumns(), &row, parts)) + "\n";
  }
  return csv;
}

std::string TickJson(const Request& request,
                     std::span<const TickOutcome> ranked) {
  Json json;
  json["frequency_mhz"] = request.frequency_mhz;
  json["period_s"] = request.period_s;
  json["tolerance_percent"] = request.tolerance_percent;
  json["settings"] = Json::array();
  for (const TickOutcome& o : ranked) {
    const TickRow row{o, request.tolerance_percent};
    json["settings"].push_back(
        JsonOf(Fields(TickColumns(), &row, PartsOf(request))));
  }
  return Dump(json);
}

std::string TableCsv(const Request& request, std::span<const TableRow> rows) {
  std::string csv = fmt::format("baud,best,{}\n", SettingHeader(request));
  for (const TableRow& row : rows) {
    for (const Outcome& outcome : row.settings) {
      const bool best = row.best.fits && outcome.setting == row.best.setting;
      csv += fmt::format(
          "{},{},{}\n", ShortestText(row.baud), best,
          CsvLine(SettingFields(request, outcome, row.baud, PartsOf(request))));
    }
  }
  return csv;
}

std::string TableJson(const Request& request, std::span<const TableRow> rows) {
  Json json;
  json["frequency_mhz"] = request.frequency_mhz;
  json["tolerance_percent"] = request.tolerance_percent;
  AddLinkTerms(request, json);
  json["rates"] = Json::array();
  for (const TableRow& row : rows) {
    const auto linked = [&](const Outcome& outcome) {
      return JsonOf(
          SettingFields(request, outcome, row.baud, PartsOf(request)));
    };
    Json rate;
    rate["baud"] = row.baud;
    rate["best"] = row.best.fits ? linked(row.best) : Json(nullptr);
    rate["settings"] = Json::array();
    for (const Outcome& outcome : row.settings) {
      rate["settings"].push_back(linked(outcome));
    }
    json["rates"].push_back(std::move(rate));
  }
  return Dump(json);
}

std::string CrystalsCsv(const Request& request,
                        std::span<const ClockModeRanking> rankings) {
  std::string csv = fmt::format(
      "clocks,rank,frequency_mhz,worst_error_percent,crystal_mark,baud,{}\n",
      SettingHeader(request));
  for (const ClockModeRanking& ranking : rankings) {
    int rank = 0;
    for (const CrystalScore& crystal : ranking.crystals) {
      ++rank;
      const std::string worst =
          crystal.reachable ? ShortestText(crystal.worst_error_percent) : "";
      for (std::size_t i = 0; i < crystal.best.size(); ++i) {
        csv += fmt::format(
            "{},{},{},{},{},{},{}\n",
            ranking.chip != nullptr ? std::string()
                                    : fmt::format("{}", ranking.clocks),
            rank, ShortestText(crystal.frequency_mhz), worst,
            RowOf(crystal.mark).key, ShortestText(request.rates[i]),
            CsvLine(SettingFields(request, crystal.best[i], request.rates[i],
                                  PartsOf(request))));
      }
    }
  }
  return csv;
}

std::string CrystalsJson(const Request& request,
                         std::span<const ClockModeRanking> rankings) {
  Json json;
  json["rates"] = request.rates;
  json["tolerance_percent"] = request.tolerance_percent;
  json["clock_modes"] = Json::array();
  for (const ClockModeRanking& ranking : rankings) {
    Json mode;
    if (ranking.chip != nullptr) {
      mode["clocks"] = nullptr;
      mode["chip"] = ranking.chip->name;
    } else {
      mode["clocks"] = ranking.clocks;
    }
    mode["crystals"] = Json::array();
    int rank = 0;
    for (const CrystalScore& crystal : ranking.crystals) {
      Json entry;
      entry["rank"] = ++rank;
      entry["frequency_mhz"] = crystal.frequency_mhz;
      entry["worst_error_percent"] =
          crystal.reachable ? Json(crystal.worst_error_percent) : Json(nullptr);
      entry["mark"] = RowOf(crystal.mark).key;
      entry["rates"] = Json::array();
      for (std::size_t i = 0; i < crystal.best.size(); ++i) {
        Json rate;
        rate["baud"] = request.rates[i];
        rate["best"] = JsonOf(SettingFields(
            request, crystal.best[i], request.rates[i], PartsOf(request)));
        entry["rates"].push_back(std::move(rate));
      }
      mode["crystals"].push_back(std::move(entry));
    }
    json["clock_modes"].push_back(std::move(mode));
  }
  return Dump(json);
}

std::string ChipsCsv() {
  std::string csv = CsvHeader(Fields<Chip>(ChipColumns(), nullptr, {})) + "\n";
  for (const Chip& chip : Chips()) {
    csv += CsvLine(Fields(ChipColumns(), &chip, {})) + "\n";
  }
  return csv;
}

std::string ChipsJson() {
  Json json;
  json["chips"] = Json::array();
  for (const Chip& chip : Chips()) {
    json["chips"].push_back(JsonOf(Fields(ChipColumns(), &chip, {})));
  }
  return Dump(json);
}

}  // namespace cli
