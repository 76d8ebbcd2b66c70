// The font name reader with any bytes, as a font on a player's system may hold them: nothing may be read out of
// bounds, whatever face is looked up, one the fuzzer makes from the input itself too.
#include "winlib/FontNames.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    auto upper = [](char16_t c) -> char16_t { return c >= u'a' && c <= u'z' ? c - 32 : c; };
    std::u16string own;  // the last units of the input, where a name table keeps its strings
    for (std::size_t at = size > 80 ? size - 80 : 0; at + 2 <= size; at += 2)
        own += static_cast<char16_t>(data[at] << 8 | data[at + 1]);
    int found = 0;
    for (const std::u16string& face : {std::u16string(u"ＭＳ Ｐゴシック"), std::u16string(u"Ume P Gothic"), own})
        found += NameTableLists(data, size, face.data(), face.size(), upper);
    return found < 0;
}
