// table's and crystals' own columns (answers.h), around the columns of
// the settings and rates they list.
#include <fmt/format.h>

#include "mcs51/answers/answers.h"
#include "mcs51/settings/text.h"

namespace mcs51 {
namespace {

Value Maybe(const std::optional<double>& value) {
  return value ? Value(ShortestText(*value)) : std::nullopt;
}

using R = RateRow;
const Column<R> kRateColumns[] = {
    {.key = "baud",
     .header = {"baud", "波特率"},
     .cell = [](const R& r) { return Value(ShortestText(r.baud)); },
     .type = JsonType::kNumber},
    {.key = "peer",
     .header = {"peer", "对端"},
     .cell = [](const R& r) { return Maybe(r.link->peer_baud); },
     .type = JsonType::kNumber,
     .shown = Shown::kFixed,
     .align = Align::kLeft,
     .part = Part::kPeer,
     .for_machines = false},
    // The best setting: its label, reload and error, with the link.
    {.key = "best",
     .header = {"best", "最佳"},
     .cell =
         [](const R& r) {
           if (!r.best.fits) return Value();
           const Setting& s = *r.best.setting;
           std::string best =
               fmt::format("{} {} {}", SettingLabel(s),
                           ReloadHex(r.best.reload, s.profile.modulus),
                           PercentText(r.best.error_percent));
           if (r.link != nullptr) {
             best += fmt::format(", {}", RowOf(r.link->mark).key);
           }
           return Value(std::move(best));
         },
     .align = Align::kLeft,
     .for_machines = false,
     .none = "none in range"},
};

using C = CrystalRow;
const Column<C> kCrystalColumns[] = {
    {.key = "rank",
     .header = {"rank", "名次"},
     .cell = [](const C& r) { return Value(std::to_string(r.rank)); },
     .type = JsonType::kInteger},
    {.key = "frequency_mhz",
     .header = {"MHz", "MHz"},
     .cell =
         [](const C& r) {
           return Value(ShortestText(r.crystal.frequency_mhz));
         },
     .type = JsonType::kNumber},
    {.key = "worst_error_percent",
     .header = {"worst", "最大误差"},
     .cell =
         [](const C& r) {
           return r.crystal.reachable
                      ? Value(ShortestText(r.crystal.worst_error_percent))
                      : std::nullopt;
         },
     .type = JsonType::kNumber,
     .shown = Shown::kSignedPercent},
    {.key = "crystal_mark",
     .header = {"mark", "标记"},
     .cell = [](const C& r) { return Value(RowOf(r.crystal.mark).key); },
     .shown = Shown::kMark,
     .align = Align::kLeft},
};

}  // namespace

std::span<const Column<RateRow>> RateColumns() { return kRateColumns; }
std::span<const Column<CrystalRow>> CrystalColumns() { return kCrystalColumns; }

}  // namespace mcs51
