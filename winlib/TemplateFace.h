#pragma once

// The font face named in a dialog template, found and replaced in a copy of the template:
// plain byte work on the template's layout (DLGTEMPLATE or DLGTEMPLATEEX), free of the
// window system. Everything in a template is in 16-bit units, little-endian, and each item
// starts on a 4-byte boundary counted from the template's start.

#include <cstddef>
#include <cstdint>

namespace template_face {

// Where a template's face name lies: `offset` is the byte offset of its first character,
// `length` its number of characters without the terminating zero, and `itemsAt` where
// the first item starts. `found` is false for a template without a font, or one that
// ends before its face name does.
struct FacePlace {
    bool found = false;
    std::size_t offset = 0;
    std::size_t length = 0;
    std::size_t itemsAt = 0;
};

namespace detail {

constexpr std::uint32_t kSetFont = 0x40;  // DS_SETFONT; DS_SHELLFONT includes it

inline std::uint16_t Unit(const std::uint8_t* data, std::size_t at)
{
    return static_cast<std::uint16_t>(data[at] | (data[at + 1] << 8));
}

// Steps over a zero-terminated string at `at`; false when the template ends first.
inline bool SkipString(const std::uint8_t* data, std::size_t size, std::size_t& at)
{
    for (; at + 2 <= size; at += 2) {
        if (Unit(data, at) == 0) {
            at += 2;
            return true;
        }
    }
    return false;
}

// A menu or window class: nothing (0), an ordinal (0xFFFF and one unit) or a string.
inline bool SkipStringOrOrdinal(const std::uint8_t* data, std::size_t size, std::size_t& at)
{
    if (at + 2 > size)
        return false;
    if (Unit(data, at) == 0xFFFF) {
        at += 4;
        return at <= size;
    }
    return SkipString(data, size, at);
}

constexpr std::size_t AlignedToFour(std::size_t at) { return (at + 3) & ~std::size_t{3}; }

}  // namespace detail

inline FacePlace FindFace(const std::uint8_t* data, std::size_t size)
{
    using namespace detail;
    FacePlace place;
    if (size < 18)
        return place;
    const bool extended = Unit(data, 0) == 1 && Unit(data, 2) == 0xFFFF;
    const std::size_t styleAt = extended ? 12 : 0;
    const std::uint32_t style = Unit(data, styleAt) | (static_cast<std::uint32_t>(Unit(data, styleAt + 2)) << 16);
    std::size_t at = extended ? 26 : 18;  // past the fixed header, at the menu
    if (!(style & kSetFont) || !SkipStringOrOrdinal(data, size, at) || !SkipStringOrOrdinal(data, size, at) ||
        !SkipString(data, size, at))
        return place;
    at += extended ? 6 : 2;  // point size; weight, italic and character set
    const std::size_t faceAt = at;
    if (!SkipString(data, size, at))
        return place;
    place.found = true;
    place.offset = faceAt;
    place.length = (at - faceAt) / 2 - 1;
    place.itemsAt = AlignedToFour(at);
    return place;
}

// The size of a copy of the template whose face has `faceLength` characters.
inline std::size_t SizeWithFace(std::size_t size, const FacePlace& place, std::size_t faceLength)
{
    const std::size_t items = size > place.itemsAt ? size - place.itemsAt : 0;
    return detail::AlignedToFour(place.offset + 2 * (faceLength + 1)) + items;
}

// Writes the copy into `out` (SizeWithFace bytes): the header as it was, the new face, and
// the items moved to the next 4-byte boundary after it. Items hold no offsets, so they
// move unchanged.
inline void CopyWithFace(const std::uint8_t* data, std::size_t size, const FacePlace& place, const char16_t* face,
                         std::size_t faceLength, std::uint8_t* out)
{
    std::size_t at = 0;
    for (; at < place.offset; ++at)
        out[at] = data[at];
    for (std::size_t i = 0; i <= faceLength; ++i, at += 2) {
        const char16_t unit = i < faceLength ? face[i] : u'\0';
        out[at] = static_cast<std::uint8_t>(unit & 0xFF);
        out[at + 1] = static_cast<std::uint8_t>(unit >> 8);
    }
    for (; at % 4; ++at)
        out[at] = 0;
    for (std::size_t from = place.itemsAt; from < size; ++from, ++at)
        out[at] = data[from];
}

}  // namespace template_face
