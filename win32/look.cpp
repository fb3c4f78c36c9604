#include "win32/look.h"

#include <stdexcept>
#include <string>

#include "win32/text.h"

namespace win32 {
namespace {

constexpr int kPointsPerInch = 72;

}  // namespace

Font MakeFont(const window::FontRecord& record, UINT dpi) {
  LOGFONTW font{};
  // Negative: the character height, not the cell's, as point sizes mean.
  font.lfHeight =
      -MulDiv(record.point_size, static_cast<int>(dpi), kPointsPerInch);
  font.lfWeight = record.weight;
  font.lfItalic = record.italic;
  font.lfUnderline = record.underline;
  font.lfStrikeOut = record.strikeout;
  font.lfCharSet = static_cast<BYTE>(record.charset);
  font.lfOutPrecision = OUT_DEFAULT_PRECIS;
  font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  // Whole pixels: SimSun's small sizes are drawn from bitmaps anyway, and
  // smoothing turns a stand-in Song face's hairline strokes faint grey.
  font.lfQuality = NONANTIALIASED_QUALITY;
  font.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  const std::wstring family = Wide(record.family);
  // LF_FACESIZE counts the terminating null.
  family.copy(font.lfFaceName, LF_FACESIZE - 1);
  Font made(CreateFontIndirectW(&font));
  if (!made) {
    throw std::runtime_error("cannot create font " +
                             std::string(record.family));
  }
  return made;
}

}  // namespace win32
