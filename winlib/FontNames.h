#pragma once

// The names a font is known by, read from its name table ("name", as GetFontData hands it
// out): plain byte work, free of the window system. Numbers in the table are big-endian.

#include <cstddef>
#include <cstdint>

// Whether the table lists `face` (`length` UTF-16 units; A to Z in either case) as the
// font's family name, full name or typographic family name, in any language.
constexpr bool NameTableLists(const std::uint8_t* table, std::size_t size, const char16_t* face, std::size_t length)
{
    auto unit = [&](std::size_t at) -> unsigned { return at + 2 <= size ? table[at] << 8 | table[at + 1] : 0; };
    auto folded = [](unsigned c) { return c >= u'a' && c <= u'z' ? c - (u'a' - u'A') : c; };
    const std::size_t count = unit(2), strings = unit(4);
    for (std::size_t i = 0, record = 6; i < count && record + 12 <= size; ++i, record += 12) {
        const unsigned platform = unit(record), name = unit(record + 6);
        const std::size_t bytes = unit(record + 8), at = strings + unit(record + 10);
        // Unicode (0) and Windows (3) names are UTF-16; the others are in older encodings.
        if ((platform != 0 && platform != 3) || (name != 1 && name != 4 && name != 16) || bytes != 2 * length ||
            at + bytes > size)
            continue;
        std::size_t same = 0;
        while (same < length && folded(unit(at + 2 * same)) == folded(face[same]))
            ++same;
        if (same == length)
            return true;
    }
    return false;
}
