#include "cli/machine.h"

#include <fmt/format.h>

#include <nlohmann/json.hpp>

#include "cli/words.h"
#include "timers/init_code.h"
#include "timers/tick_code.h"
#include "timers/tick_text.h"

namespace cli {

// timers/ is this program's vocabulary: its names read unqualified.
using namespace timers;  // NOLINT(google-build-using-namespace)
namespace {

using Json = nlohmann::ordered_json;

constexpr char kSettingHeader[] =
    "timer,smod,clocks,reload,reload_hex,fits,actual_baud,error_percent,mark";

// With --chip: the chip, the generator and the registers as
// NAME=value pairs separated by semicolons.
constexpr char kChipHeader[] = ",chip,generator,registers";

std::string ChipCsv(const Outcome& outcome) {
  const Setting& s = *outcome.setting;
  if (!s.by_chip) return {};
  std::string registers;
  if (outcome.fits) {
    for (const RegisterValue& r : RegisterValues(outcome)) {
      registers +=
          fmt::format("{}{}={}", registers.empty() ? "" : ";", r.name, r.value);
    }
  }
  return fmt::format(",{},{},{}", s.chip->name, ChoiceLabel(s), registers);
}

// With --peer: the peer, its rate, and the link.
constexpr char kLinkHeader[] =
    ",peer,peer_actual_baud,mismatch_percent,margin_percent,link";

std::string Optional(const std::optional<double>& value) {
  return value ? ShortestText(*value) : std::string();
}

std::string LinkCsv(const Request& request, const Outcome& outcome,
                    double baud) {
  const std::optional<Link> link = LinkOf(request, outcome, baud);
  if (!link) return {};
  return fmt::format(",{},{},{},{},{}", request.peer, Optional(link->peer_baud),
                     Optional(link->mismatch_percent),
                     Optional(link->margin_percent),
                     outcome.fits ? LinkKey(link->mark) : "");
}

Json OptionalJson(const std::optional<double>& value) {
  return value ? Json(*value) : Json(nullptr);
}

void AddLink(const Request& request, const Outcome& outcome, double baud,
             Json& json) {
  const std::optional<Link> link = LinkOf(request, outcome, baud);
  if (!link) return;
  json["peer"] = request.peer;
  json["peer_actual_baud"] = OptionalJson(link->peer_baud);
  json["mismatch_percent"] = OptionalJson(link->mismatch_percent);
  json["margin_percent"] = OptionalJson(link->margin_percent);
  json["link"] = outcome.fits ? Json(LinkKey(link->mark)) : Json(nullptr);
}

// The frame and the clocks' tolerance the links were judged with.
void AddLinkTerms(const Request& request, Json& json) {
  if (request.peer.empty()) return;
  json["frame"] = kFrameKeys[static_cast<std::size_t>(request.frame)];
  json["clock_ppm"] = request.clock_ppm;
}

std::string SettingCsv(const Outcome& outcome) {
  const Setting& s = *outcome.setting;
  std::string row =
      fmt::format("{},{},{},", s.timer == 0 ? "" : fmt::format("{}", s.timer),
                  s.smod < 0 ? "" : fmt::format("{}", s.smod), s.clocks);
  if (outcome.fits) {
    row += fmt::format("{},{},true,{},{},", outcome.reload,
                       ReloadHex(outcome.reload, s.profile.modulus),
                       ShortestText(outcome.actual_baud),
                       ShortestText(outcome.error_percent));
  } else {
    row += ",,false,,,";
  }
  row += MarkKey(outcome.mark);
  return row + ChipCsv(outcome);
}

Json SettingJson(const Outcome& outcome) {
  const Setting& s = *outcome.setting;
  Json json;
  json["timer"] = s.timer == 0 ? Json(nullptr) : Json(s.timer);
  json["smod"] = s.smod < 0 ? Json(nullptr) : Json(s.smod);
  json["clocks"] = s.clocks;
  if (outcome.fits) {
    json["reload"] = outcome.reload;
    json["reload_hex"] = ReloadHex(outcome.reload, s.profile.modulus);
  } else {
    json["reload"] = nullptr;
    json["reload_hex"] = nullptr;
  }
  json["fits"] = outcome.fits;
  json["actual_baud"] =
      outcome.fits ? Json(outcome.actual_baud) : Json(nullptr);
  json["error_percent"] =
      outcome.fits ? Json(outcome.error_percent) : Json(nullptr);
  json["mark"] = MarkKey(outcome.mark);
  if (s.by_chip) {
    json["chip"] = s.chip->name;
    json["generator"] = ChoiceLabel(s);
    json["registers"] = Json::object();
    if (outcome.fits) {
      for (const RegisterValue& r : RegisterValues(outcome)) {
        json["registers"][std::string(r.name)] = r.value;
      }
    }
  }
  return json;
}

std::string Dump(const Json& json) { return json.dump(2) + "\n"; }

// The header of a setting's columns, with the chip's when there is one.
std::string Header(const Request& request) {
  return std::string(kSettingHeader) +
         (request.filter.chip.empty() ? "" : kChipHeader) +
         (request.peer.empty() ? "" : kLinkHeader);
}

}  // namespace

std::string SettingsCsv(const Request& request,
                        std::span<const Outcome> ranked) {
  std::string csv = Header(request) + "\n";
  for (const Outcome& outcome : ranked) {
    csv += SettingCsv(outcome) +
           LinkCsv(request, outcome, request.rates.front()) + "\n";
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
    Json setting = SettingJson(outcome);
    AddLink(request, outcome, request.rates.front(), setting);
    json["settings"].push_back(std::move(setting));
  }
  return Dump(json);
}

namespace {

constexpr char kTickHeader[] =
    "timer,mode,clocks,reload,reload_hex,fits,actual_period_s,error_percent,"
    "interrupts_per_period,mark";

std::string RegistersCsv(std::span<const RegisterValue> values) {
  std::string registers;
  for (const RegisterValue& r : values) {
    registers +=
        fmt::format("{}{}={}", registers.empty() ? "" : ";", r.name, r.value);
  }
  return registers;
}

std::string TickRowCsv(const TickOutcome& o) {
  const TickSetting& s = *o.setting;
  std::string row =
      fmt::format("{},{},{},", s.timer->number, s.mode->key, s.clocks);
  if (o.fits) {
    row += fmt::format("{},{},true,{},{},{},", o.reload,
                       ReloadHex(o.reload, s.mode->modulus),
                       ShortestText(o.actual_period_s),
                       ShortestText(o.error_percent), o.interrupts);
  } else {
    row += ",,false,,,,";
  }
  row += MarkKey(o.mark);
  if (!s.by_chip) return row;
  return row + fmt::format(",{},{},{}", s.chip->name, TickChoiceLabel(s),
                           o.fits ? RegistersCsv(TickRegisterValues(o)) : "");
}

Json TickRowJson(const TickOutcome& o) {
  const TickSetting& s = *o.setting;
  Json json;
  json["timer"] = s.timer->number;
  json["mode"] = s.mode->key;
  json["clocks"] = s.clocks;
  json["reload"] = o.fits ? Json(o.reload) : Json(nullptr);
  json["reload_hex"] =
      o.fits ? Json(ReloadHex(o.reload, s.mode->modulus)) : Json(nullptr);
  json["fits"] = o.fits;
  json["actual_period_s"] = o.fits ? Json(o.actual_period_s) : Json(nullptr);
  json["error_percent"] = o.fits ? Json(o.error_percent) : Json(nullptr);
  json["interrupts_per_period"] = o.fits ? Json(o.interrupts) : Json(nullptr);
  json["mark"] = MarkKey(o.mark);
  if (s.by_chip) {
    json["chip"] = s.chip->name;
    json["generator"] = TickChoiceLabel(s);
    json["registers"] = Json::object();
    if (o.fits) {
      for (const RegisterValue& r : TickRegisterValues(o)) {
        json["registers"][std::string(r.name)] = r.value;
      }
    }
  }
  return json;
}

}  // namespace

std::string TickCsv(const Request& request,
                    std::span<const TickOutcome> ranked) {
  std::string csv = kTickHeader;
  if (!request.filter.chip.empty()) csv += kChipHeader;
  csv += "\n";
  for (const TickOutcome& o : ranked) csv += TickRowCsv(o) + "\n";
  return csv;
}

std::string TickJson(const Request& request,
                     std::span<const TickOutcome> ranked) {
  Json json;
  json["frequency_mhz"] = request.frequency_mhz;
  json["period_s"] = request.period_s;
  json["tolerance_percent"] = request.tolerance_percent;
  json["settings"] = Json::array();
  for (const TickOutcome& o : ranked)
    json["settings"].push_back(TickRowJson(o));
  return Dump(json);
}

std::string TableCsv(const Request& request, std::span<const TableRow> rows) {
  std::string csv = fmt::format("baud,best,{}\n", Header(request));
  for (const TableRow& row : rows) {
    for (const Outcome& outcome : row.settings) {
      const bool best = row.best.fits && outcome.setting == row.best.setting;
      csv +=
          fmt::format("{},{},{}{}\n", ShortestText(row.baud), best,
                      SettingCsv(outcome), LinkCsv(request, outcome, row.baud));
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
      Json setting = SettingJson(outcome);
      AddLink(request, outcome, row.baud, setting);
      return setting;
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
      Header(request));
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
            MarkKey(crystal.mark), ShortestText(request.rates[i]),
            SettingCsv(crystal.best[i]));
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
      entry["mark"] = MarkKey(crystal.mark);
      entry["rates"] = Json::array();
      for (std::size_t i = 0; i < crystal.best.size(); ++i) {
        Json rate;
        rate["baud"] = request.rates[i];
        rate["best"] = SettingJson(crystal.best[i]);
        entry["rates"].push_back(std::move(rate));
      }
      mode["crystals"].push_back(std::move(entry));
    }
    json["clock_modes"].push_back(std::move(mode));
  }
  return Dump(json);
}

}  // namespace cli
