#include "mcs51/answers/documents.h"

#include <fmt/format.h>

#include "mcs51/settings/text.h"

namespace mcs51 {

namespace {

// A setting's fields, with its link at `baud` when a peer is named.
std::vector<KeyValue> SettingFields(const Question& question,
                                    const Outcome& outcome, double baud) {
  std::deque<std::optional<Link>> links;
  const SettingRow row = SettingRows(question, {&outcome, 1}, baud, links)[0];
  return Fields(SettingColumns(), &row, PartsOf(question));
}

std::string SettingHeader(const Question& question) {
  return CsvHeader(
      Fields<SettingRow>(SettingColumns(), nullptr, PartsOf(question)));
}

// The frame and the clocks' tolerance the links were judged with.
void AddLinkTerms(const Question& question, Json& json) {
  if (question.peer.empty()) return;
  json["frame"] = kFrameKeys[static_cast<std::size_t>(question.frame)];
  json["clock_ppm"] = question.clock_ppm;
}

}  // namespace

std::string SettingsCsv(const Question& question,
                        std::span<const Outcome> ranked) {
  std::deque<std::optional<Link>> links;
  return CsvOf<SettingRow>(
      SettingColumns(),
      SettingRows(question, ranked, question.rates.front(), links),
      PartsOf(question));
}

std::string SettingsJson(const Question& question,
                         std::span<const Outcome> ranked) {
  std::deque<std::optional<Link>> links;
  Json json;
  json["frequency_mhz"] = question.frequency_mhz;
  json["baud"] = question.rates.front();
  json["tolerance_percent"] = question.tolerance_percent;
  AddLinkTerms(question, json);
  json["settings"] = JsonRows<SettingRow>(
      SettingColumns(),
      SettingRows(question, ranked, question.rates.front(), links),
      PartsOf(question));
  return Dump(json);
}

std::string TickCsv(const Question& question,
                    std::span<const TickOutcome> ranked) {
  return CsvOf<TickRow>(TickColumns(), TickRows(question, ranked),
                        PartsOf(question));
}

std::string TickJson(const Question& question,
                     std::span<const TickOutcome> ranked) {
  Json json;
  json["frequency_mhz"] = question.frequency_mhz;
  json["period_s"] = question.period_s;
  json["tolerance_percent"] = question.tolerance_percent;
  json["settings"] = JsonRows<TickRow>(
      TickColumns(), TickRows(question, ranked), PartsOf(question));
  return Dump(json);
}

std::string TableCsv(const Question& question, std::span<const TableRow> rows) {
  std::string csv = fmt::format("baud,best,{}\n", SettingHeader(question));
  for (const TableRow& row : rows) {
    for (const Outcome& outcome : row.settings) {
      const bool best = row.best.fits && outcome.setting == row.best.setting;
      csv += fmt::format("{},{},{}\n", ShortestText(row.baud), best,
                         CsvLine(SettingFields(question, outcome, row.baud)));
    }
  }
  return csv;
}

std::string TableJson(const Question& question,
                      std::span<const TableRow> rows) {
  Json json;
  json["frequency_mhz"] = question.frequency_mhz;
  json["tolerance_percent"] = question.tolerance_percent;
  AddLinkTerms(question, json);
  json["rates"] = Json::array();
  for (const TableRow& row : rows) {
    const auto linked = [&](const Outcome& outcome) {
      return JsonOf(SettingFields(question, outcome, row.baud));
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

std::string CrystalsCsv(const Question& question,
                        std::span<const ClockModeRanking> rankings) {
  std::string csv =
      fmt::format("{},baud,{}\n",
                  CsvHeader(Fields<CrystalRow>(CrystalColumns(), nullptr, {})),
                  SettingHeader(question));
  for (const ClockModeRanking& ranking : rankings) {
    int rank = 0;
    for (const CrystalScore& crystal : ranking.crystals) {
      const CrystalRow row{crystal, ++rank};
      const std::string head = CsvLine(Fields(CrystalColumns(), &row, {}));
      for (std::size_t i = 0; i < crystal.best.size(); ++i) {
        csv += fmt::format("{},{},{}\n", head, ShortestText(question.rates[i]),
                           CsvLine(SettingFields(question, crystal.best[i],
                                                 question.rates[i])));
      }
    }
  }
  return csv;
}

std::string CrystalsJson(const Question& question,
                         std::span<const ClockModeRanking> rankings) {
  Json json;
  json["rates"] = question.rates;
  json["tolerance_percent"] = question.tolerance_percent;
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
      const CrystalRow row{crystal, ++rank};
      Json entry = JsonOf(Fields(CrystalColumns(), &row, {}));
      entry["rates"] = Json::array();
      for (std::size_t i = 0; i < crystal.best.size(); ++i) {
        Json rate;
        rate["baud"] = question.rates[i];
        rate["best"] =
            JsonOf(SettingFields(question, crystal.best[i], question.rates[i]));
        entry["rates"].push_back(std::move(rate));
      }
      mode["crystals"].push_back(std::move(entry));
    }
    json["clock_modes"].push_back(std::move(mode));
  }
  return Dump(json);
}

std::string ChipsCsv() { return CsvOf<Chip>(ChipColumns(), Chips(), {}); }

std::string ChipsJson() {
  Json json;
  json["chips"] = JsonRows<Chip>(ChipColumns(), Chips(), {});
  return Dump(json);
}

}  // namespace mcs51
