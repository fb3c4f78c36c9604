#pragma once
// The code reader's effects as one line of text, so that a table row can
// say in a few characters what a paste comes to:
//   "1:TMOD=0x20 2:TR1/bit setb@3 3:TL1<-TH1 4:SBUF=?"
// A place is its name or 0x-address, ".n" for a named bit, "/bit" or
// "/byte" where the code says which it is; "@n" is the handler's vector,
// "@-2" a handler at a vector the code does not name.
#include <cstdio>
#include <string>

#include "mcs51/reading/code_reader.h"

namespace mcs51 {

inline std::string HexText(std::int64_t value) {
  char text[32];
  std::snprintf(text, sizeof text, "%s0x%llx", value < 0 ? "-" : "",
                static_cast<unsigned long long>(value < 0 ? -value : value));
  return text;
}

inline std::string PlaceText(const Place& p) {
  std::string text = p.name.empty() ? HexText(p.address) : p.name;
  if (p.bit >= 0) text += "." + std::to_string(p.bit);
  if (p.space == Space::kBit) text += "/bit";
  if (p.space == Space::kByte) text += "/byte";
  return text;
}

inline std::string EffectsText(const CodeReading& reading) {
  std::string text;
  for (const Effect& e : reading.effects) {
    if (!text.empty()) text += ' ';
    text += std::to_string(e.line) + ":" + PlaceText(e.target);
    switch (e.op) {
      case EffectOp::kAssign:
        text += "=" + HexText(e.value);
        break;
      case EffectOp::kOr:
        text += "|=" + HexText(e.value);
        break;
      case EffectOp::kAnd:
        text += "&=" + HexText(e.value);
        break;
      case EffectOp::kXor:
        text += "^=" + HexText(e.value);
        break;
      case EffectOp::kSetBit:
        text += " setb";
        break;
      case EffectOp::kClearBit:
        text += " clr";
        break;
      case EffectOp::kComplementBit:
        text += " cpl";
        break;
      case EffectOp::kCopy:
        text += "<-" + PlaceText(e.source);
        break;
      case EffectOp::kUnknown:
        text += "=?";
        break;
    }
    if (e.vector != -1) text += "@" + std::to_string(e.vector);
  }
  return text;
}

}  // namespace mcs51
