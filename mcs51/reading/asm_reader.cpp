// Assembly line by line, as A51 and sdas8051 take it: the writes to direct
// addresses and bits, the constants and names it defines, and the vectors
// its handlers answer. A and R0-R7 are followed through MOV, ANL, ORL,
// XRL, XCH and SETB or CLR of ACC's bits within straight-line code, since a
// read-modify-write often goes through them.
#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <set>

#include "mcs51/reading/code_value.h"

namespace mcs51::reading {
namespace {

using Tokens = std::span<const Token>;

// The operands, split at commas.
std::vector<Tokens> Operands(Tokens t) {
  std::vector<Tokens> operands;
  std::size_t from = 0;
  for (std::size_t i = 0; i <= t.size(); ++i) {
    if (i == t.size() || t[i].text == ",") {
      if (i > from) operands.push_back(t.subspan(from, i - from));
      from = i + 1;
    }
  }
  return operands;
}

class AsmReader {
 public:
  explicit AsmReader(CodeReading& reading) : reading_(reading) {}

  void Read(const std::vector<AsmLine>& lines) {
    FindVectors(lines);
    const std::vector<bool> handler = EndsInReti(lines);
    for (std::size_t i = 0; i < lines.size(); ++i) {
      const AsmLine& line = lines[i];
      in_reti_ = handler[i];
      if (!line.label.empty()) {
        Forget();
        if (const auto v = vector_labels_.find(line.label);
            v != vector_labels_.end()) {
          vector_ = v->second;
          Handler(vector_);
        }
      }
      if (line.words.empty()) continue;
      const std::string word = Upper(line.words[0].text);
      if (word == "END" || word == ".END") break;
      Statement(line, word);
    }
  }

 private:
  void Forget() {
    a_ = Unknown();
    r_.fill(Unknown());
  }

  // Which lines belong to a routine that ends in RETI: from a label that
  // code cannot fall into (it follows a jump, a return or the start) to
  // the RETI. Such a routine is a handler even where no vector names it.
  static std::vector<bool> EndsInReti(const std::vector<AsmLine>& lines) {
    std::vector<bool> handler(lines.size(), false);
    std::size_t start = 0;
    bool fallen = false;  // the previous instruction can run into this line
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (!lines[i].label.empty() && !fallen) start = i;
      if (lines[i].words.empty()) continue;
      const std::string word = Upper(lines[i].words[0].text);
      if (word == "RETI") {
        std::fill(handler.begin() + static_cast<std::ptrdiff_t>(start),
                  handler.begin() + static_cast<std::ptrdiff_t>(i) + 1, true);
      }
      const bool leaves = word == "RET" || word == "RETI" || word == "SJMP" ||
                          word == "LJMP" || word == "AJMP" || word == "JMP";
      if (leaves) start = i + 1;
      fallen = !leaves && !IsAsmDirective(word);
    }
    return handler;
  }

  static bool IsAsmDirective(std::string_view word) {
    return word.starts_with(".") || word == "ORG" || word == "CSEG" ||
           word == "DSEG" || word == "END" || word == "USING";
  }

  void Handler(int vector) {
    std::vector<int>& handlers = reading_.handlers;
    if (std::find(handlers.begin(), handlers.end(), vector) == handlers.end()) {
      handlers.push_back(vector);
    }
  }

  int Vector() const {
    return vector_ == -1 && in_reti_ ? kSomeVector : vector_;
  }

  static Value Lookup(const void* context, std::string_view name) {
    const auto& constants = static_cast<const AsmReader*>(context)->constants_;
    const auto found = constants.find(Upper(name));
    if (found == constants.end()) return Unknown();
    return Constant(found->second, 32);
  }

  std::optional<std::int64_t> ConstantOf(Tokens t) const {
    const Value v = Evaluate(t, Dialect::kAssembly, Lookup, this);
    if (v.kind != Value::Kind::kConstant) return std::nullopt;
    return v.constant.value;
  }

  // ORG (or CSEG AT, .org) at a vector, then a jump: the jump's label
  // is that vector's handler.
  void FindVectors(const std::vector<AsmLine>& lines) {
    int pending = -1;
    for (const AsmLine& line : lines) {
      if (!line.label.empty()) labels_.insert(line.label);
      if (line.words.empty()) continue;
      const std::string word = Upper(line.words[0].text);
      if (const auto origin = Origin(line.words)) {
        pending = VectorAt(*origin);
        continue;
      }
      Define(line);
      if (pending >= 0 && line.words.size() == 2 &&
          (word == "LJMP" || word == "AJMP" || word == "SJMP" ||
           word == "JMP")) {
        vector_labels_[Upper(line.words[1].text)] = pending;
      }
      pending = -1;
    }
    constants_.clear();
    reading_.declarations.clear();
  }

  std::optional<std::int64_t> Origin(const std::vector<Token>& w) const {
    const std::string word = Upper(w[0].text);
    if (word == "ORG" || word == ".ORG") {
      return ConstantOf(Tokens(w).subspan(1));
    }
    if (word == "CSEG" && w.size() > 2 && Upper(w[1].text) == "AT") {
      return ConstantOf(Tokens(w).subspan(2));
    }
    return std::nullopt;
  }

  // NAME EQU value, NAME = value, NAME DATA address, NAME BIT address or
  // REG.bit, .equ NAME, value. True when the line was one.
  bool Define(const AsmLine& line) {
    const std::vector<Token>& w = line.words;
    Tokens value;
    std::string name, how;
    if (w.size() >= 4 &&
        (Upper(w[0].text) == ".EQU" || Upper(w[0].text) == ".SET") &&
        w[2].text == ",") {
      name = Upper(w[1].text);
      how = "EQU";
      value = Tokens(w).subspan(3);
    } else if (w.size() >= 3 && w[0].kind == TokenKind::kName &&
               IsAsmDefiner(w[1].text)) {
      name = Upper(w[0].text);
      how = Upper(w[1].text);
      value = Tokens(w).subspan(2);
    } else {
      return false;
    }
    Place at{{}, -1, -1, how == "BIT" ? Space::kBit : Space::kEither};
    const std::optional<std::int64_t> number = ConstantOf(value);
    if (how == "BIT" && !number) {
      at = BitPlace(value).value_or(Place{});
      if (at.name.empty() && at.address < 0) return true;
    } else if (!number) {
      return true;
    } else {
      at.address = static_cast<int>(*number & 0xFFFF);
    }
    DeclarationKind kind = DeclarationKind::kConstant;
    if (how == "DATA" || how == "IDATA") kind = DeclarationKind::kSfr;
    if (how == "XDATA") kind = DeclarationKind::kXdata;
    if (how == "BIT") kind = DeclarationKind::kBit;
    if (kind == DeclarationKind::kSfr || kind == DeclarationKind::kXdata) {
      at.space = Space::kByte;
    }
    if (number) constants_[name] = *number;
    declared_.insert(name);
    reading_.declarations.push_back({line.number, kind, name, at, -1});
    return true;
  }

  // REG.bit or ADDRESS.bit.
  std::optional<Place> BitPlace(Tokens t) const {
    if (t.size() < 3 || t[t.size() - 2].text != ".") return std::nullopt;
    const auto bit = ConstantOf(t.last(1));
    if (!bit || *bit < 0 || *bit > 7) return std::nullopt;
    const Tokens reg = t.first(t.size() - 2);
    Place place{{}, -1, static_cast<int>(*bit), Space::kBit};
    if (reg.size() == 1 && reg[0].kind == TokenKind::kName) {
      place.name = Upper(reg[0].text);
    } else if (const auto address = ConstantOf(reg)) {
      place.address = static_cast<int>(*address & 0xFFFF);
    } else {
      return std::nullopt;
    }
    return place;
  }

  // A direct address or a bit as an operand: a name, REG.bit, or a
  // constant expression.
  std::optional<Place> Direct(Tokens t, Space space) const {
    if (space == Space::kBit) {
      if (std::optional<Place> bit = BitPlace(t)) return bit;
    }
    if (t.size() == 1 && t[0].kind == TokenKind::kName) {
      return Place{SdccName(Upper(t[0].text)), -1, -1, space};
    }
    if (const auto address = ConstantOf(t)) {
      return Place{{}, static_cast<int>(*address & 0xFFFF), -1, space};
    }
    return std::nullopt;
  }

  // SDCC's names for C's registers, "_SCON", are the registers' own where
  // the paste does not define them.
  std::string SdccName(std::string name) const {
    if (name.size() > 1 && name[0] == '_' && !declared_.contains(name) &&
        !labels_.contains(name)) {
      name.erase(0, 1);
    }
    return name;
  }

  // R0 ... R7's number, or -1.
  static int RegisterNumber(Tokens t) {
    if (t.size() != 1) return -1;
    const std::string u = Upper(t[0].text);
    if (u.size() != 2 || u[0] != 'R' || u[1] < '0' || u[1] > '7') return -1;
    return u[1] - '0';
  }

  static bool IsWord(Tokens t, std::string_view word) {
    return t.size() == 1 && Upper(t[0].text) == word;
  }
  static bool IsRegister(Tokens t) {
    if (!t.empty() && t[0].text == "@") return true;
    if (t.size() != 1) return false;
    const std::string u = Upper(t[0].text);
    return (u.size() == 2 && u[0] == 'R' && u[1] >= '0' && u[1] <= '7') ||
           u == "C" || u == "DPTR" || u == "AB";
  }

  // A source operand's value: #immediate, A, a register or a direct byte.
  Value Source(Tokens t) const {
    if (!t.empty() && t[0].text == "#") {
      const auto n = ConstantOf(t.subspan(1));
      return n ? Constant(*n, 32) : Unknown();
    }
    if (IsWord(t, "A") || IsWord(t, "ACC")) return Named(a_, "A");
    if (const int r = RegisterNumber(t); r >= 0) {
      return Named(r_[static_cast<std::size_t>(r)], Upper(t[0].text));
    }
    if (IsRegister(t)) return Unknown();
    if (const std::optional<Place> p = Direct(t, Space::kByte)) {
      return RegisterValue(*p);
    }
    return Unknown();
  }

  // An unknown A or Rn is named for what it is, as a parameter often is.
  static Value Named(Value v, std::string name) {
    if (v.kind == Value::Kind::kUnknown && v.depends.empty()) {
      v.depends = std::move(name);
    }
    return v;
  }

  void Write(Tokens destination, const Value& value, int line, char op = 0) {
    auto combined = [&](const Value& old) {
      return op == 0 ? value : Bitwise(old, op, value);
    };
    if (IsWord(destination, "A")) {
      a_ = combined(a_);
      return;
    }
    if (const int r = RegisterNumber(destination); r >= 0) {
      Value& held = r_[static_cast<std::size_t>(r)];
      held = combined(held);
      return;
    }
    if (IsRegister(destination)) return;
    const std::optional<Place> target = Direct(destination, Space::kByte);
    if (!target) return;
    AddWrite(*target, combined(RegisterValue(*target)), line, Vector(),
             reading_.effects);
    if (target->name == "ACC") a_ = combined(a_);
  }

  // SETB, CLR or CPL of one of ACC's bits, on A as followed.
  bool AccumulatorBit(const Place& bit, EffectOp op) {
    int n = -1;
    if (bit.name == "ACC" && bit.bit >= 0) n = bit.bit;
    if (bit.name.empty() && bit.address >= 0xE0 && bit.address <= 0xE7) {
      n = bit.address - 0xE0;
    }
    if (n < 0) return false;
    const std::int64_t mask = std::int64_t{1} << n;
    a_ = op == EffectOp::kSetBit     ? Bitwise(a_, '|', Constant(mask, 32))
         : op == EffectOp::kClearBit ? Bitwise(a_, '&', Constant(~mask, 32))
                                     : Bitwise(a_, '^', Constant(mask, 32));
    return true;
  }

  void Bit(Tokens operand, EffectOp op, int line) {
    if (IsWord(operand, "C")) return;
    if (IsWord(operand, "A")) {
      a_ = op == EffectOp::kClearBit ? Constant(0, 32)
                                     : Bitwise(a_, '^', Constant(0xFF, 32));
      return;
    }
    if (const std::optional<Place> bit = Direct(operand, Space::kBit)) {
      if (AccumulatorBit(*bit, op)) return;
      reading_.effects.push_back({line, *bit, op, 0, {}, Vector(), {}});
    }
  }

  void Statement(const AsmLine& line, const std::string& word) {
    if (Define(line)) return;
    if (const auto origin = Origin(line.words)) {
      vector_ = -1;
      inline_vector_ = VectorAt(*origin);
      return;
    }
    // Code right at a vector, rather than a jump from it, is the handler.
    if (inline_vector_ >= 0 && !word.ends_with("JMP")) {
      vector_ = inline_vector_;
      Handler(vector_);
    }
    if (in_reti_ && vector_ == -1) Handler(kSomeVector);
    inline_vector_ = -1;
    const std::vector<Tokens> ops = Operands(Tokens(line.words).subspan(1));
    const int n = line.number;
    if (word == "MOV" && ops.size() == 2) {
      if (IsWord(ops[1], "C") && !IsRegister(ops[0])) {
        if (auto bit = Direct(ops[0], Space::kBit)) {
          reading_.effects.push_back(
              {n, *bit, EffectOp::kUnknown, 0, {}, Vector(), {}});
        }
        return;
      }
      Write(ops[0], Source(ops[1]), n);
    } else if ((word == "ORL" || word == "ANL" || word == "XRL") &&
               ops.size() == 2 && !IsWord(ops[0], "C")) {
      Write(ops[0], Source(ops[1]), n,
            word == "ORL"   ? '|'
            : word == "ANL" ? '&'
                            : '^');
    } else if ((word == "SETB" || word == "CLR" || word == "CPL") &&
               ops.size() == 1) {
      Bit(ops[0],
          word == "SETB"  ? EffectOp::kSetBit
          : word == "CLR" ? EffectOp::kClearBit
                          : EffectOp::kComplementBit,
          n);
    } else if ((word == "INC" || word == "DEC" || word == "POP" ||
                word == "DJNZ") &&
               !ops.empty()) {
      Write(ops[0], Unknown(), n);
    } else if (word == "XCH" && ops.size() == 2) {
      // A byte's old value is only a name for what the exchange overwrites.
      const Value old = a_;
      a_ = RegisterNumber(ops[1]) >= 0 ? Source(ops[1]) : Unknown();
      Write(ops[1], old, n);
    } else if (word == "RETI") {
      vector_ = -1;
      Forget();
    } else if (!ops.empty() && IsWord(ops[0], "A")) {
      a_ = Unknown();
    } else if (word.ends_with("CALL")) {
      Forget();
    } else if (word == "DIV" || word == "MUL") {
      a_ = Unknown();
    }
  }

  CodeReading& reading_;
  std::map<std::string, std::int64_t> constants_;
  std::map<std::string, int> vector_labels_;
  std::set<std::string> declared_, labels_;
  Value a_;
  std::array<Value, 8> r_;
  bool in_reti_ = false;
  int vector_ = -1;
  int inline_vector_ = -1;
};

}  // namespace

void ReadAssembly(std::string_view source, CodeReading& reading) {
  AsmReader(reading).Read(AsmLines(source));
}

}  // namespace mcs51::reading
