// libFuzzer target for the caption and format steps, checked against the plain model.
// Input: one byte per code unit (bytes 0xF0 and up stand for awkward code units), with
// NUL bytes separating Text, Param1 and Param2; Param2 also serves as a free search
// pattern for ReplaceAll.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "caption_model.h"
#include "text/Localizer.h"

namespace {

char16_t CodeUnit(std::uint8_t byte) {
  static const char16_t awkward[16] = {0x3C00, 0x013C, 0x2500, 0x8000, 0xFFFF, 0xD83D, 0xDE00, 0x00A0,
                                       0xFF1C, 0xFF1E, 0x0D0A, 0x0A0D, 0x0925, 0x2573, 0x7325, 0x3100};
  return byte >= 0xF0 ? awkward[byte - 0xF0] : char16_t{byte};
}

void Check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::u16string fields[3];
  int field = 0;
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      if (++field == 3) break;
    } else {
      fields[field] += CodeUnit(data[i]);
    }
  }
  const std::u16string& text = fields[0];
  const std::u16string& param1 = fields[1];
  const std::u16string& param2 = fields[2];
  const auto lang = static_cast<std::int32_t>(size * 2654435761u);
  const auto caption_id = static_cast<std::int32_t>(~size);

  const std::u16string caption = pinvale::GetLocaleCaption(lang, caption_id, text);
  Check(caption == model::Caption(text));
  Check(caption == pinvale::GetLocaleCaption(0, 0, text));

  const std::u16string formatted = pinvale::FormatLocaleCaption(lang, caption_id, text, param1, param2);
  Check(formatted == model::Format(text, param1, param2));
  Check(formatted == pinvale::FormatLocaleCaption(0, 0, text, param1, param2));

  std::u16string replaced = text;
  pinvale::ReplaceAll(replaced, param2, param1);
  Check(replaced == model::ReplaceAll(text, param2, param1));
  return 0;
}
