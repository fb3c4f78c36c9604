// The assembly init code, run on a model of the registers it names: for
// every generator of the catalogue it must leave the values the C code's
// records give, touch no bit they keep, and declare what it uses.
#include <gtest/gtest.h>

#include <array>
#include <map>
#include <ostream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "mcs51/code/code_parts.h"
#include "mcs51/code/init_code.h"
#include "mcs51/hardware/catalogue.h"

namespace mcs51 {
namespace {

struct GeneratorRow {
  std::string name;
  const Setting* setting;  // the generator's first setting
};
void PrintTo(const GeneratorRow& row, std::ostream* os) { *os << row.name; }

std::vector<GeneratorRow> EveryGenerator() {
  std::vector<GeneratorRow> rows;
  for (const Chip& chip : Chips()) {
    for (const Setting& s : ChipSettings(&chip)) {
      const std::string name =
          std::string(chip.name) + "_" + std::string(s.generator->key);
      if (rows.empty() || rows.back().name != name) rows.push_back({name, &s});
    }
  }
  return rows;
}

// The registers after running `code` from `start`: mov, anl, orl, setb
// and clr on declared registers and bits, and the accumulator.
std::array<int, 256> Execute(const std::string& code, int start) {
  std::array<int, 256> sfr;
  sfr.fill(start);
  std::map<std::string, int> symbols;
  int a = 0;
  const std::regex declaration(R"(^(\w+) += 0x([0-9A-F]{2})\b.*)");
  const std::regex instruction(R"(^\t(\w+) +([^ ;]*).*)");
  std::istringstream in(code);
  for (std::string line; std::getline(in, line);) {
    std::smatch m;
    if (std::regex_match(line, m, declaration)) {
      symbols[m[1]] = std::stoi(m[2], nullptr, 16);
      continue;
    }
    if (!std::regex_match(line, m, instruction) || m[1].str()[0] == '.' ||
        m[1] == "ret") {
      continue;
    }
    const std::string op = m[1], operands = m[2];
    const std::string target = operands.substr(0, operands.find(','));
    const std::string source = operands.substr(operands.find(',') + 1);
    auto value = [&](const std::string& text) {
      if (text == "a") return a;
      if (text[0] == '#') return std::stoi(text.substr(1), nullptr, 16);
      EXPECT_TRUE(symbols.count(text)) << "undeclared " << text;
      return sfr[symbols[text]];
    };
    if (target != "a") {
      EXPECT_TRUE(symbols.count(target)) << "undeclared " << target;
    }
    int& place = target == "a" ? a : sfr[symbols[target]];
    if (op == "mov") {
      place = value(source);
    } else if (op == "anl") {
      place &= value(source);
    } else if (op == "orl") {
      place |= value(source);
    } else if (op == "setb" || op == "clr") {
      const int bit = symbols.at(target);
      sfr[bit & 0xF8] = op == "setb" ? sfr[bit & 0xF8] | 1 << (bit & 7)
                                     : sfr[bit & 0xF8] & ~(1 << (bit & 7));
    } else {
      ADD_FAILURE() << "unexpected instruction: " << line;
    }
  }
  return sfr;
}

class AsmCodeTest : public testing::TestWithParam<GeneratorRow> {};

// The address `code` declares `name` at, or -1.
int Declared(const std::string& code, const std::string& name) {
  std::smatch m;
  const std::regex declared("\n" + name + " += 0x([0-9A-F]{2})");
  return std::regex_search(code, m, declared) ? std::stoi(m[1], nullptr, 16)
                                              : -1;
}

TEST_P(AsmCodeTest, LeavesTheRecordsValuesAndKeepsTheOtherBits) {
  const Setting& s = *GetParam().setting;
  const Outcome outcome = Evaluate(s, 11.0592, 9600, 2);
  const std::string code = AsmInitCode(11.0592, 9600, outcome, "test");
  const std::array<int, 256> from_zero = Execute(code, 0x00);
  const std::array<int, 256> from_ones = Execute(code, 0xFF);
  std::map<std::string, int> kept;  // the bits no write touches
  for (const Write& write : s.generator->writes) {
    const auto [it, added] = kept.try_emplace(std::string(write.reg), 0xFF);
    it->second &= ~write.mask & 0xFF;
  }
  for (const RegisterValue& r : RegisterValues(outcome)) {
    const std::string reg(r.name);
    const int address = Declared(code, reg);
    ASSERT_GE(address, 0) << reg << " undeclared";
    EXPECT_EQ(from_zero[address], r.value) << reg;
    EXPECT_EQ(from_ones[address], r.value | kept[reg]) << reg;
  }
}

TEST_P(AsmCodeTest, DeclaresTheFamilysRegistersWhereTheCCodeDoes) {
  const Outcome outcome = Evaluate(*GetParam().setting, 11.0592, 9600, 2);
  const std::string c = InitCode(11.0592, 9600, outcome, "test");
  const std::string code = AsmInitCode(11.0592, 9600, outcome, "test");
  const std::regex sfr(R"(__sfr __at\(0x([0-9A-F]{2})\) (\w+);)");
  for (std::sregex_iterator it(c.begin(), c.end(), sfr), end; it != end; ++it) {
    EXPECT_EQ(Declared(code, (*it)[2]), std::stoi((*it)[1], nullptr, 16))
        << (*it)[2];
  }
}

INSTANTIATE_TEST_SUITE_P(Catalogue, AsmCodeTest,
                         testing::ValuesIn(EveryGenerator()),
                         [](const auto& info) { return info.param.name; });

// A register in external data memory (FX2LP's UART230 at 0xE608) is
// declared and written as XDATA in both languages: one row per kind of
// write.
struct XdataRow {
  const char* name;
  Write write;
  std::vector<std::string> c, assembly;  // each found in the code
};

const XdataRow kXdataRows[] = {
    {"WholeRegister",
     {.reg = "UART230", .value = 0x03},
     {"__xdata __at(0xE608) volatile unsigned char UART230;",
      "volatile unsigned char xdata UART230 _at_ 0xE608;", "UART230 = 0x03;"},
     {"UART230 = 0xE608",
      "\tmov   dptr,#UART230\n\tmov   a,#0x03\n"
      "\tmovx  @dptr,a\n"}},
    {"OneBitKeepingTheOthers",
     {.reg = "UART230", .mask = 0x01, .value = 0x01},
     {"UART230 |= 0x01;"},
     {"\tmov   dptr,#UART230\n\tmovx  a,@dptr\n\tanl   a,#0xFE\n"
      "\torl   a,#0x01\n\tmovx  @dptr,a\n"}},
};

TEST(AsmCode, WritesXdataRegistersThroughDptr) {
  for (const XdataRow& row : kXdataRows) {
    SCOPED_TRACE(row.name);
    const Register registers[] = {{"UART230", 0xE608, MemorySpace::kXdata}};
    const Write writes[] = {{.reg = "SCON", .value = 0x50},
                            row.write,
                            {.reg = "TH1", .source = Source::kReloadLow}};
    const double k[] = {384};
    const Clock clocks[] = {{12}};
    const BaudMode modes[] = {
        {"t1", {"Timer 1"}, 256, &kinds::kUp, true, k, writes}};
    const Unit unit{.key = "t1", .number = 1, .clocks = clocks, .bauds = modes};
    const Fitted units[] = {{&unit}};
    const Chip chip{.name = "xdata",
                    .family = {"a family with XDATA registers"},
                    .document = "none",
                    .evidence = Evidence::kFormulaOnly,
                    .units = units,
                    .registers = registers};
    Setting s{1, 1, 12, {192, 256}};
    s.generator = &modes[0];
    s.unit = &unit;
    s.chip = &chip;
    const Outcome o = Evaluate(s, 11.0592, 9600, 2);
    ASSERT_TRUE(o.fits);
    const std::string c = InitCode(11.0592, 9600, o, "w");
    for (const std::string& part : row.c) {
      EXPECT_NE(c.find(part), std::string::npos) << part << "\n" << c;
    }
    const std::string assembly = AsmInitCode(11.0592, 9600, o, "w");
    for (const std::string& part : row.assembly) {
      EXPECT_NE(assembly.find(part), std::string::npos) << part << "\n"
                                                        << assembly;
    }
  }
}

}  // namespace
}  // namespace mcs51

namespace mcs51 {
namespace {

// By address, for code that declares nothing: a bit by its bit address,
// a register by its own, XDATA's in four digits; each step's op is what
// its time is counted by.
TEST(WriteSteps, SpelledByAddressWithTheirOps) {
  const struct {
    const char* name;
    Write write;
    int value;
    Register target;
    std::vector<std::pair<Op, std::string>> steps;
  } rows[] = {
      {"bit",
       SetBit(core::kTR0),
       0x10,
       {"TCON", 0x88},
       {{Op::kSetbBit, "setb 0x8C"}}},
      {"kept_bits",
       {.reg = "TMOD", .mask = 0x0F},
       0x02,
       {"TMOD", 0x89},
       {{Op::kMovADir, "mov a,0x89"},
        {Op::kAnlAImm, "anl a,#0xF0"},
        {Op::kOrlAImm, "orl a,#0x02"},
        {Op::kMovDirA, "mov 0x89,a"}}},
      {"cleared_not_bit_addressable",
       {.reg = "AUXINTIF", .mask = 0x02},
       0,
       {"AUXINTIF", 0xEF},
       {{Op::kAnlDirImm, "anl 0xEF,#0xFD"}}},
      {"xdata",
       {.reg = "UART230"},
       0x03,
       {"UART230", 0xE608, MemorySpace::kXdata},
       {{Op::kMovDptr, "mov dptr,#0xE608"},
        {Op::kMovAImm, "mov a,#0x03"},
        {Op::kMovx, "movx @dptr,a"}}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    std::vector<std::pair<Op, std::string>> steps;
    for (const AsmStep& step :
         WriteSteps(row.write, row.value, row.target, Spelling::kAddress)) {
      steps.emplace_back(step.op, step.mnemonic + " " + step.operands);
    }
    EXPECT_EQ(steps, row.steps);
  }
}

}  // namespace
}  // namespace mcs51
