// Runs the real baud51-cli as a user or a script would: its exit status,
// standard output and standard error each checked on their own.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

using std::string_literals::operator""s;

struct Process {
  int status = -1;
  std::string out;
  std::string err;
};

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// `program` with `args`, NO_COLOR removed from the environment and `env`
// added; output goes to files, so neither stream can block the other, or
// standard output to `out_file` when given (and `out` stays empty).
Process Spawn(const std::string& program, const std::vector<std::string>& args,
              const std::vector<std::string>& env = {},
              const char* out_file = nullptr) {
  // Per process: CTest runs the tests of this file side by side.
  const std::string stem =
      testing::TempDir() + "baud51_cli." + std::to_string(getpid());
  const std::string out_path = stem + ".out";
  const std::string err_path = stem + ".err";
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(
      &actions, STDOUT_FILENO,
      out_file != nullptr ? out_file : out_path.c_str(),
      O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err_path.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null",
                                   O_RDONLY, 0);

  std::vector<std::string> strings{program};
  strings.insert(strings.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& s : strings) argv.push_back(s.data());
  argv.push_back(nullptr);
  std::vector<std::string> environment;
  for (char** e = environ; *e != nullptr; ++e) {
    if (std::strncmp(*e, "NO_COLOR=", 9) != 0) environment.emplace_back(*e);
  }
  environment.insert(environment.end(), env.begin(), env.end());
  std::vector<char*> envp;
  for (std::string& s : environment) envp.push_back(s.data());
  envp.push_back(nullptr);

  Process process;
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr,
                                  argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return process;
  int wait_status = 0;
  if (waitpid(pid, &wait_status, 0) == pid && WIFEXITED(wait_status)) {
    process.status = WEXITSTATUS(wait_status);
  }
  process.out = Slurp(out_path);
  process.err = Slurp(err_path);
  std::remove(out_path.c_str());
  std::remove(err_path.c_str());
  return process;
}

Process RunCli(const std::vector<std::string>& args,
               const std::vector<std::string>& env = {}) {
  return Spawn(BAUD51_CLI_EXE, args, env);
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

template <typename Row>
std::string RowName(const testing::TestParamInfo<Row>& info) {
  return info.param.name;
}

// Answers: status 0, nothing on stderr, the lines named in the output.
struct AnswerRow {
  const char* name;
  std::vector<std::string> args;
  std::vector<std::string> lines;  // each must be a whole line of stdout
};
void PrintTo(const AnswerRow& row, std::ostream* os) { *os << row.name; }

class AnswerTest : public testing::TestWithParam<AnswerRow> {};

TEST_P(AnswerTest, PrintsTheAnswerAndNothingElse) {
  const AnswerRow& row = GetParam();
  const Process process = RunCli(row.args);
  EXPECT_EQ(process.status, 0);
  EXPECT_EQ(process.err, "");
  const std::vector<std::string> lines = Lines(process.out);
  for (const std::string& line : row.lines) {
    EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end())
        << "missing line: " << line << "\nin:\n"
        << process.out;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Commands, AnswerTest,
    testing::Values(
        AnswerRow{"DefaultRanksBestFirst",
                  {"11.0592", "19200"},
                  {"11.0592 MHz, 19200 baud; tolerance 2 %",
                   "timer  SMOD  clocks  reload  actual baud     error  mark",
                   "    1     1      12      FD     19200.00    0.00 %  exact",
                   "    1     0      12      FE     14400.00  -25.00 %  "
                   "beyond 2 %"}},
        AnswerRow{"UnitsGiveTheSameCrystal",
                  {"11059200Hz", "19.2k", "--clock", "12"},
                  {"11.0592 MHz, 19200 baud; tolerance 2 %"}},
        AnswerRow{"TableHasEveryStandardRate",
                  {"table", "11.0592", "--timer", "1", "--clock", "12"},
                  {"  baud  T1/0/12  T1/1/12  best",
                   "   110  --       --       none in range",
                   " 19200  FE!      FD=      T1/1/12 FD 0.00 %",
                   "921600  --       --       none in range"}},
        AnswerRow{"CrystalsPerClockMode",
                  {"crystals", "9600", "115200", "--clock", "1"},
                  {"1 clock per machine cycle:",
                   "   1    1.8432    0.00 %  exact         T1/0 FA=  T1/1 "
                   "FF="}},
        AnswerRow{
            "CodeForTheManualsSetting",
            {"code", "11.0592", "19200"},
            {" * Timer 1 in mode 2, SMOD 1, 12 clocks per machine "
             "cycle: TH1 = 0xFD.",
             " * Actual rate 19200.00 baud, error 0.00 %.", "    TH1 = 0xFD;",
             "    PCON |= 0x80;                /* "
             "SMOD = 1 doubles the rate */"}},
        AnswerRow{"DelayNamedAfterTheTime",
                  {"delay", "11.0592", "2.5ms"},
                  {"void delay_2_5ms(void) __naked",
                   " * 2304 cycles of 12 clocks exactly, counted from the "
                   "start of the LCALL"}},
        AnswerRow{"DelayTimesX2",
                  {"delay", "12", "1ms", "--times", "--clock", "6", "--name",
                   "wait_ms"},
                  {"void wait_ms(unsigned int n) __naked",
                   "/* wait_ms(n): n times 1 ms at 12 MHz on the X2 core, 6 "
                   "clocks per machine"}},
        AnswerRow{"CodeSingleCycle",
                  {"code", "11.0592", "115200", "--clock", "1"},
                  {"__sfr __at(0x8E) AUXR;", "sfr AUXR = 0x8E;",
                   "    AUXR |= 0x40;                /* T1x12 */",
                   "    TH1 = 0xFD;"}},
        AnswerRow{"CodeX2",
                  {"code", "11.0592", "9600", "--clock", "6"},
                  {"__sfr __at(0x8F) CKCON0;",
                   "    CKCON0 |= 0x01;        "
                   "      /* X2 */"}},
        AnswerRow{"NegativeZeroToleranceIsZero",
                  {"12", "9600", "--tolerance", "-0"},
                  {"12 MHz, 9600 baud; tolerance 0 %",
                   "    2     -      12    FFD9      9615.38  +0.16 %  "
                   "beyond 0 %"}},
        AnswerRow{"CodeInAssembly",
                  {"code", "11.0592", "19200", "--lang", "asm"},
                  {"; Timer 1 in mode 2, SMOD 1, 12 clocks per machine "
                   "cycle: TH1 = 0xFD.",
                   "\t.globl  _uart_init", "TH1     = 0x8D  ; TH1, 8052",
                   "_uart_init:", "\tmov   TH1,#0xFD"}},
        AnswerRow{"HelpWinsOverBadInput",
                  {"abc", "--help"},
                  {"Usage: baud51-cli [OPTIONS] FREQ BAUD [--peer NAME] "
                   "[--frame 8n1|8e1|9n1] [--clock-ppm PPM]"}},
        AnswerRow{"SettingsAsMarkdown",
                  {"11.0592", "19200", "--clock", "12", "--format", "markdown"},
                  {"11.0592 MHz, 19200 baud; tolerance 2 %", "",
                   "| timer | SMOD | clocks | reload | actual baud | error | "
                   "mark |",
                   "|---:|---:|---:|---:|---:|---:|---|",
                   "| 1 | 1 | 12 | FD | 19200.00 | 0.00 % | exact |"}},
        AnswerRow{"ChipsAsMarkdown",
                  {"chips", "--format", "markdown"},
                  {"| `--chip` | Family | Generators | FREQ | Checked against "
                   "| Rows from | Delay |",
                   "|---|---|---|---|---|---|---|",
                   "| `--chip` | Family | Timers | Checked against | Rows "
                   "from |"}},
        AnswerRow{"Version", {"--version"}, {"baud51-cli " BAUD51_VERSION}}),
    RowName<AnswerRow>);

// Rejections and refusals: nothing on stdout, exactly one line on stderr.
struct FailureRow {
  const char* name;
  std::vector<std::string> args;
  int status;
  std::string message;  // after "baud51-cli: "
};
void PrintTo(const FailureRow& row, std::ostream* os) { *os << row.name; }

class FailureTest : public testing::TestWithParam<FailureRow> {};

TEST_P(FailureTest, SaysWhyInOneLine) {
  const FailureRow& row = GetParam();
  const Process process = RunCli(row.args);
  EXPECT_EQ(process.status, row.status);
  EXPECT_EQ(process.out, "");
  EXPECT_EQ(process.err, "baud51-cli: " + row.message + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    BadInput, FailureTest,
    testing::Values(
        FailureRow{"Nothing",
                   {},
                   2,
                   "FREQ BAUD: missing, or give a command (see --help)"},
        FailureRow{"UnknownCommand",
                   {"tabel", "12"},
                   2,
                   "\"tabel\": unknown command; the commands are table, "
                   "crystals, code, chips, tick, tick-code, delay and explain, "
                   "or give FREQ BAUD"},
        FailureRow{"PeriodWithoutUnit",
                   {"tick", "12", "10"},
                   2,
                   "PERIOD \"10\": needs a unit: s, ms, us, Hz or kHz"},
        FailureRow{"PeriodZero",
                   {"tick", "12", "0ms"},
                   2,
                   "PERIOD \"0ms\": must be greater than zero"},
        FailureRow{"PeriodNegative",
                   {"tick-code", "12", "-1s"},
                   2,
                   "PERIOD \"-1s\": must be greater than zero"},
        FailureRow{"PeriodBeyondEveryTimer",
                   {"tick", "12", "100000s"},
                   2,
                   "PERIOD: 100000.0000 s is beyond every timer setting at 12 "
                   "MHz"},
        FailureRow{"TickCodePeriodBeyondEveryTimer",
                   {"tick-code", "12", "100000s"},
                   2,
                   "PERIOD: 100000.0000 s is beyond every timer setting at 12 "
                   "MHz"},
        FailureRow{
            "Letters", {"12abc", "9600"}, 2, "FREQ \"12abc\": not a number"},
        FailureRow{"NegativeBaud",
                   {"12", "-9600"},
                   2,
                   "BAUD \"-9600\": must be greater than zero"},
        FailureRow{"LineFeedStaysOnOneLine",
                   {"12\n", "9600"},
                   2,
                   "FREQ \"12\\n\": not a number"},
        FailureRow{"CommandMixedWithDefault",
                   {"12", "9600", "table", "12"},
                   2,
                   "\"12\": unexpected beside the command table; give "
                   "FREQ BAUD or one command, not both"},
        FailureRow{"UnknownOption",
                   {"--bogus", "12", "9600"},
                   2,
                   "\"--bogus\": unknown option"},
        FailureRow{"MissingValue",
                   {"12", "9600", "--timer"},
                   2,
                   "--timer: needs a value (1 or 2)"},
        FailureRow{"OptionTwice",
                   {"--smod", "0", "--smod", "1", "12", "9"},
                   2,
                   "--smod: given more than once"},
        FailureRow{"BadChoice",
                   {"--clock", "4", "12", "9600"},
                   2,
                   "--clock \"4\": not 12, 6 or 1"},
        FailureRow{"NoSettingLeft",
                   {"--timer", "2", "--smod", "1", "12", "9"},
                   2,
                   "--timer 2 --smod 1: no setting matches; SMOD is Timer "
                   "1's, and Timer 2 has 12 and 6 clocks only"},
        FailureRow{"EmptyRateInList",
                   {"table", "12", "--baud", "9600,"},
                   2,
                   "BAUD \"\": not a number"},
        FailureRow{"FormatForCode",
                   {"code", "12", "9600", "--format", "json"},
                   2,
                   "--format: not for code and tick-code, which write C or "
                   "assembly"},
        FailureRow{"LangForTable",
                   {"table", "12", "--lang", "c"},
                   2,
                   "--lang: only with code, tick-code and delay"},
        FailureRow{"DelayShorterThanCallAndReturn",
                   {"delay", "12", "3us"},
                   2,
                   "TIME \"3us\": shorter than the call and return: at least "
                   "4 cycles of 12 clocks (4 us at 12 MHz)"},
        FailureRow{"DelayTimesShorterThanTheCount",
                   {"delay", "12", "18us", "--times"},
                   2,
                   "TIME \"18us\": shorter than the call and return and the "
                   "counting of n: at least 19 cycles of 12 clocks (19 us at "
                   "12 MHz)"},
        FailureRow{"DelayTimeWithoutUnit",
                   {"delay", "12", "10"},
                   2,
                   "TIME \"10\": needs a unit: s, ms, us or µs"},
        FailureRow{"DelayRateForTime",
                   {"delay", "12", "50Hz"},
                   2,
                   "TIME \"50Hz\": needs a unit: s, ms, us or µs"},
        FailureRow{"DelayBeyondTheLoops",
                   {"delay", "12", "10000s"},
                   2,
                   "TIME \"10000s\": longer than the loops reach: at most "
                   "8623620616 cycles of 12 clocks (8623.62 s at 12 MHz)"},
        FailureRow{"DelayCoreWithoutTableOrTimer",
                   {"delay", "12", "1ms", "--chip", "xc886"},
                   2,
                   "TIME \"1ms\": no delay for the Infineon XC800 core: the "
                   "maker's instruction-timing table was not found, so its "
                   "cycles are unknown; and no timer of the Infineon XC886, "
                   "XC888 reloads itself with a flag code can poll"},
        FailureRow{"DelayClockNotTheCores",
                   {"delay", "12", "1ms", "--chip", "8052", "--clock", "6"},
                   2,
                   "--clock \"6\": not 12"},
        FailureRow{"DelayNameNotC",
                   {"delay", "12", "1ms", "--name", "2fast"},
                   2,
                   "--name \"2fast\": not a C name: letters, digits and _, "
                   "not first a digit"},
        FailureRow{"DelayNoCsv",
                   {"delay", "12", "1ms", "--format", "csv"},
                   2,
                   "--format \"csv\": delay writes text or json"},
        FailureRow{"DelayTimerWithoutFlag",
                   {"delay", "12", "1ms", "--chip", "stc15", "--timer", "2"},
                   2,
                   "TIME \"1ms\": no timer delay: Timer 2 of the STC15 "
                   "(STC15F2K60S2 and kin) does not reload itself with a "
                   "flag code can poll"},
        // Once an internal error: the clock was read as a number unchecked.
        FailureRow{"DelayCoreOfEveryFamily",
                   {"delay", "12", "1ms", "--chip", "all", "--clock", "x"},
                   2,
                   "--chip \"all\": not a family of the catalogue"},
        FailureRow{"DelayClockWithoutValue",
                   {"delay", "12", "1ms", "--clock"},
                   2,
                   "--clock: needs a value (12 or 6)"},
        FailureRow{"TimesOnlyWithDelay",
                   {"tick", "12", "1ms", "--times"},
                   2,
                   "--times: only with delay"},
        FailureRow{"UnknownLang",
                   {"code", "12", "9600", "--lang", "pascal"},
                   2,
                   "--lang \"pascal\": not c or asm"},
        FailureRow{"NegativeTolerance",
                   {"12", "9600", "--tolerance", "-1"},
                   2,
                   "--tolerance \"-1\": must not be negative"},
        FailureRow{"ValueTakenForAnOption",
                   {"--timer", "--smod", "1", "12", "9600"},
                   2,
                   "--timer: needs a value (1 or 2)"},
        FailureRow{
            "EmptyValueAfterEquals",
            {"12", "9600", "--format="},
            2,
            "--format: needs a value (text, csv, json, markdown or sarif)"},
        FailureRow{"CommandWithoutItsArgument",
                   {"code", "12"},
                   2,
                   "BAUD: missing (code FREQ BAUD)"},
        // chips lists every family: a filter it would ignore is refused,
        // whatever --format says.
        FailureRow{"FilterForChips",
                   {"chips", "--format", "json", "--timer", "2"},
                   2,
                   "--timer: not for chips, which lists every family"},
        FailureRow{"SmodForChips",
                   {"chips", "--smod", "1"},
                   2,
                   "--smod: not for chips, which lists every family"},
        FailureRow{"ChipForChips",
                   {"chips", "--chip", "stc15"},
                   2,
                   "--chip: not for chips, which lists every family"},
        FailureRow{"ToleranceForChips",
                   {"chips", "--format", "csv", "--tolerance", "1"},
                   2,
                   "--tolerance: not for chips, which lists every family"},
        FailureRow{"TableOptionElsewhere",
                   {"crystals", "9600", "--baud", "300"},
                   2,
                   "--baud: only with table"},
        FailureRow{"WordAfterFreqBaud",
                   {"12", "9600", "7"},
                   2,
                   "\"7\": unexpected after FREQ BAUD"},
        FailureRow{"FrameWithoutPeer",
                   {"12", "9600", "--frame", "8e1"},
                   2,
                   "--frame: only with --peer"},
        FailureRow{"PeerForCode",
                   {"code", "12", "9600", "--peer", "ch340"},
                   2,
                   "--peer: only with FREQ BAUD and table"},
        FailureRow{"UnknownPeer",
                   {"12", "9600", "--peer", "ft232"},
                   2,
                   "--peer \"ft232\": not ft232r, ft232bm, ch340, cp2102, "
                   "cp210x, cp2104, cp2105-eci, cp2105-sci, cp2108, cp2102n, "
                   "pl2303, pl2303ta, pl2303hxn or exact"},
        FailureRow{"ClockThatWouldStop",
                   {"12", "9600", "--peer", "exact", "--clock-ppm", "1e6"},
                   2,
                   "--clock-ppm \"1e6\": must be below 1000000"},
        FailureRow{"SpaceSeparatedList",
                   {"table", "12", "--baud", "9600", "19200"},
                   2,
                   "\"19200\": unexpected after table FREQ; --baud takes "
                   "rates separated by commas"},
        FailureRow{"MissingValueNamesTheFamilysTimers",
                   {"--chip", "n76e003", "16", "9600", "--timer"},
                   2,
                   "--timer: needs a value (1 or 3)"}),
    RowName<FailureRow>);

INSTANTIATE_TEST_SUITE_P(
    Refusals, FailureTest,
    testing::Values(
        FailureRow{"OutOfRangeForThePick",
                   {"code", "11.0592", "115200", "--clock", "12", "--timer",
                    "1", "--smod", "0"},
                   1,
                   "Timer 1, SMOD 0, 12 clocks cannot reach 115200 baud at "
                   "11.0592 MHz: its reload is out of range"},
        FailureRow{"BeyondTheTolerance",
                   {"code", "12", "9600", "--smod", "1", "--clock", "12"},
                   1,
                   "Timer 1, SMOD 1, 12 clocks gives 8928.57 baud for 9600 "
                   "baud at 12 MHz: -6.99 %, beyond the 2 % tolerance"},
        FailureRow{"AssemblyRefusedAsC",
                   {"code", "12", "9600", "--smod", "1", "--clock", "12",
                    "--lang", "asm"},
                   1,
                   "Timer 1, SMOD 1, 12 clocks gives 8928.57 baud for 9600 "
                   "baud at 12 MHz: -6.99 %, beyond the 2 % tolerance"},
        FailureRow{"BeyondATighterTolerance",
                   {"code", "12", "9600", "--tolerance", "0.1"},
                   1,
                   "the best setting, Timer 2, 12 clocks gives 9615.38 baud "
                   "for 9600 baud at 12 MHz: +0.16 %, beyond the 0.1 % "
                   "tolerance"}),
    RowName<FailureRow>);

TEST(Code, LangCIsTheDefault) {
  const Process plain = RunCli({"code", "11.0592", "9600", "--clock", "1"});
  const Process c =
      RunCli({"code", "11.0592", "9600", "--clock", "1", "--lang", "c"});
  ASSERT_EQ(plain.status, 0);
  EXPECT_EQ(c.status, 0);
  EXPECT_EQ(c.out, plain.out);
}

TEST(MachineOutput, JsonHasNumbersAsNumbersAndNullsOutOfRange) {
  const Process process =
      RunCli({"11.0592", "115200", "--clock", "12", "--format", "json"});
  ASSERT_EQ(process.status, 0);
  const auto json = nlohmann::json::parse(process.out);
  EXPECT_EQ(json["frequency_mhz"], 11.0592);
  EXPECT_EQ(json["baud"], 115200.0);
  ASSERT_EQ(json["settings"].size(), 3u);
  const auto& best = json["settings"][0];
  EXPECT_EQ(best["timer"], 2);
  EXPECT_TRUE(best["smod"].is_null());
  EXPECT_EQ(best["reload"], 65533);
  EXPECT_EQ(best["reload_hex"], "FFFD");
  EXPECT_EQ(best["fits"], true);
  EXPECT_TRUE(best["actual_baud"].is_number_float());
  EXPECT_EQ(best["mark"], "exact");
  // 0.5 below 256 rounds to 256 with SMOD 1: out of range too.
  const auto& last = json["settings"][2];
  EXPECT_EQ(last["smod"], 1);
  EXPECT_TRUE(last["reload"].is_null());
  EXPECT_TRUE(last["reload_hex"].is_null());
  EXPECT_TRUE(last["error_percent"].is_null());
  EXPECT_EQ(last["mark"], "out-of-range");
}

// The link's fields beside each setting's, null where the setting is out
// of range, and the terms it was judged by.
TEST(MachineOutput, PeerAddsTheLinkToEachSetting) {
  const Process process =
      RunCli({"11.0592", "115200", "--clock", "12", "--format", "json",
              "--peer", "ch340", "--frame", "8e1", "--clock-ppm", "50"});
  ASSERT_EQ(process.status, 0);
  const auto json = nlohmann::json::parse(process.out);
  EXPECT_EQ(json["frame"], "8e1");
  EXPECT_EQ(json["clock_ppm"], 50.0);
  const auto& best = json["settings"][0];
  EXPECT_EQ(best["peer"], "ch340");
  EXPECT_NEAR(best["peer_actual_baud"].get<double>(), 115384.62, 0.01);
  EXPECT_NEAR(best["mismatch_percent"].get<double>(), 0.16, 0.01);
  EXPECT_TRUE(best["margin_percent"].is_number_float());
  EXPECT_EQ(best["link"], "works");
  const auto& last = json["settings"][2];
  EXPECT_EQ(last["mark"], "out-of-range");
  EXPECT_TRUE(last["peer_actual_baud"].is_number_float());
  EXPECT_TRUE(last["margin_percent"].is_null());
  EXPECT_TRUE(last["link"].is_null());
}

// chips for scripts: a row per family, the documents as text.
TEST(MachineOutput, ChipsJsonHasEveryFamily) {
  const Process process = RunCli({"chips", "--format", "json"});
  ASSERT_EQ(process.status, 0);
  const auto json = nlohmann::json::parse(process.out);
  ASSERT_GT(json["chips"].size(), 20u);
  const auto& first = json["chips"][0];
  EXPECT_EQ(first["chip"], "8051");
  EXPECT_TRUE(first["freq"].is_null());
  EXPECT_TRUE(first["document"].is_string());
  EXPECT_EQ(RunCli({"chips", "--format", "csv"}).status, 0);
}

TEST(MachineOutput, CsvRowsHaveTheHeadersFieldCount) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"12", "9600", "--format", "csv"},
        std::vector<std::string>{"table", "12", "--format", "csv"},
        std::vector<std::string>{"table", "12", "--format", "csv", "--peer",
                                 "ft232r"},
        std::vector<std::string>{"crystals", "9600", "57600", "--format",
                                 "csv"}}) {
    const Process process = RunCli(args);
    ASSERT_EQ(process.status, 0) << args[0];
    const std::vector<std::string> lines = Lines(process.out);
    ASSERT_GT(lines.size(), 1u);
    const auto fields = std::count(lines[0].begin(), lines[0].end(), ',');
    for (const std::string& line : lines) {
      EXPECT_EQ(std::count(line.begin(), line.end(), ','), fields) << line;
    }
  }
}

// A full disk: the one line names the failure, and the status is its own.
TEST(WriteFailure, SaysSoInOneLineWithStatusThree) {
  if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full here";
  const Process process =
      Spawn(BAUD51_CLI_EXE, {"12", "9600"}, {}, "/dev/full");
  EXPECT_EQ(process.status, 3);
  EXPECT_EQ(process.err,
            "baud51-cli: cannot write the output: No space left on device\n");
}

// Why `script` cannot give the program a terminal here, or "" when it can:
// a container without /dev/pts has no pseudo-terminals to give.
std::string NoPseudoTerminal() {
  if (access("/usr/bin/script", X_OK) != 0) return "/usr/bin/script is missing";
  const int master = posix_openpt(O_RDWR | O_NOCTTY);
  if (master < 0) return "no pseudo-terminal: "s + std::strerror(errno);
  std::string reason;
  if (grantpt(master) != 0 || unlockpt(master) != 0) {
    reason = "no pseudo-terminal: "s + std::strerror(errno);
  } else if (const char* name = ptsname(master); name == nullptr) {
    reason = "no pseudo-terminal's name: "s + std::strerror(errno);
  } else if (const int slave = open(name, O_RDWR | O_NOCTTY); slave < 0) {
    reason = "cannot open "s + name + ": " + std::strerror(errno);
  } else {
    close(slave);
  }
  close(master);
  return reason;
}

// Colour needs a terminal: `script` gives the program one.
struct ColorRow {
  const char* name;
  bool terminal;
  std::vector<std::string> env;
  bool colored;
};
void PrintTo(const ColorRow& row, std::ostream* os) { *os << row.name; }

class ColorTest : public testing::TestWithParam<ColorRow> {};

TEST_P(ColorTest, ColoursMarksOnlyOnATerminalWithoutNoColor) {
  const ColorRow& row = GetParam();
  if (row.terminal) {
    static const std::string no_terminal = NoPseudoTerminal();
    if (!no_terminal.empty()) GTEST_SKIP() << no_terminal;
  }
  const std::string command =
      std::string("'") + BAUD51_CLI_EXE + "' 11.0592 19200";
  const Process process =
      row.terminal
          ? Spawn("/usr/bin/script", {"-qec", command, "/dev/null"}, row.env)
          : RunCli({"11.0592", "19200"}, row.env);
  ASSERT_EQ(process.status, 0) << process.err;
  EXPECT_NE(process.out.find("exact"), std::string::npos);
  EXPECT_EQ(process.out.find("\x1b["s) != std::string::npos, row.colored);
}

INSTANTIATE_TEST_SUITE_P(
    Outputs, ColorTest,
    testing::Values(ColorRow{"Terminal", true, {}, true},
                    ColorRow{"TerminalNoColor", true, {"NO_COLOR=1"}, false},
                    ColorRow{"TerminalEmptyNoColor", true, {"NO_COLOR="}, true},
                    ColorRow{"Pipe", false, {}, false}),
    RowName<ColorRow>);

}  // namespace
