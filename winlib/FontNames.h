#pragma once

// The names a font is known by, from its name table ("name", as GetFontData hands it out; big-endian): byte work.

#include <cstddef>
#include <cstdint>

// Whether the table lists `face` (`length` UTF-16 units) as a family or full name, in any language: the names GDI
// looks a face up by, compared as GDI does, upper-cased by `upper` and to the 31 characters a LOGFONT holds.
template <class Upper>
constexpr bool NameTableLists(const std::uint8_t* table, std::size_t size, const char16_t* face, std::size_t length,
                              Upper upper)
{
    auto unit = [&](std::size_t at) -> char16_t { return at + 2 <= size ? table[at] << 8 | table[at + 1] : 0; };
    auto same = [&](std::size_t at, std::size_t units) {
        for (std::size_t i = 0; i < 31 && (i < length || i < units); ++i) {
            const char16_t a = i < length ? face[i] : u'\0', b = i < units ? unit(at + 2 * i) : u'\0';
            if (a != b && upper(a) != upper(b))
                return false;
        }
        return true;
    };
    const std::size_t count = unit(2), strings = unit(4);
    for (std::size_t i = 0, record = 6; i < count && record + 12 <= size; ++i, record += 12) {
        const unsigned platform = unit(record), name = unit(record + 6);
        const std::size_t bytes = unit(record + 8), at = strings + unit(record + 10);
        // Unicode (0) and Windows (3) names are UTF-16; the others are in older encodings.
        if ((platform == 0 || platform == 3) && (name == 1 || name == 4) && at + bytes <= size && same(at, bytes / 2))
            return true;
    }
    return false;
}
