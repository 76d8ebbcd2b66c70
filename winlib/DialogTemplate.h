#pragma once

// A dialog template, classic or extended, read in place: the one reader of the format, for the class library and the
// tests; plain byte work. It is in 16-bit units, little-endian; each item starts on a 4-byte boundary.

#include <cstddef>
#include <cstdint>

namespace dialog_template {

// A string of the template (the byte offset of its first unit, its length in units), or where allowed an ordinal.
struct Text {
    std::size_t at = 0, length = 0;
    bool isOrdinal = false;
    std::uint16_t ordinal = 0;
};

struct Item {
    std::uint32_t helpId = 0, exStyle = 0, style = 0;
    std::int16_t x = 0, y = 0, cx = 0, cy = 0;
    std::uint32_t id = 0;
    Text windowClass, text;
};

// The header; `complete` is false for a template that ends before it does. `face` is there only when `hasFace`: with
// DS_SETFONT and a (signed) point size other than 0x7FFF, which asks for the message box's font and ends the header.
struct Header {
    bool complete = false, extended = false, hasFace = false;
    std::uint32_t helpId = 0, exStyle = 0, style = 0;
    std::uint16_t count = 0;
    std::int16_t x = 0, y = 0, cx = 0, cy = 0;
    Text menu, windowClass, caption;
    std::int16_t pointSize = 0;
    std::uint16_t weight = 0;
    std::uint8_t italic = 0, charset = 0;
    Text face;
    std::size_t itemsAt = 0;  // where the first item starts
};

constexpr std::int16_t kMessageBoxFont = 0x7FFF;

class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(data ? size : 0) {}

    Header ReadHeader()
    {
        Header h;
        m_extended = h.extended = Unit(0) == 1 && Unit(2) == 0xFFFF;
        m_at = h.extended ? 4 : 0;
        Styles(h.helpId, h.exStyle, h.style);
        h.count = Next(), h.x = Signed(), h.y = Signed(), h.cx = Signed(), h.cy = Signed();
        h.menu = NameOrOrdinal(), h.windowClass = NameOrOrdinal(), h.caption = String();
        if (h.style & kSetFont) {
            h.pointSize = Signed();
            h.hasFace = h.pointSize != kMessageBoxFont;
            if (h.hasFace && h.extended)
                h.weight = Next(), h.italic = Byte(), h.charset = Byte();
            if (h.hasFace)
                h.face = String();
        }
        h.complete = m_at <= m_size;
        h.itemsAt = m_at = AlignedToFour(m_at);
        return h;
    }

    // The next item; false when the template ends first.
    bool ReadItem(Item& item)
    {
        m_at = AlignedToFour(m_at);
        Styles(item.helpId, item.exStyle, item.style);
        item.x = Signed(), item.y = Signed(), item.cx = Signed(), item.cy = Signed();
        item.id = m_extended ? Dword() : Next();
        item.windowClass = NameOrOrdinal(), item.text = NameOrOrdinal();
        m_at += Next();  // creation data, for the control alone
        return m_at <= m_size;
    }

    // A string's unit `i`.
    std::uint16_t UnitOf(const Text& text, std::size_t i) const { return Unit(text.at + 2 * i); }

    static constexpr std::uint32_t kSetFont = 0x40, kShellFont = 0x48;  // DS_SETFONT, DS_SHELLFONT

private:
    static constexpr std::size_t AlignedToFour(std::size_t at) { return (at + 3) & ~std::size_t{3}; }

    // Past the end, every read gives 0 and only moves on.
    std::uint16_t Unit(std::size_t at) const
    {
        return at + 2 <= m_size ? static_cast<std::uint16_t>(m_data[at] | (m_data[at + 1] << 8)) : 0;
    }
    std::uint16_t Next() { return m_at += 2, Unit(m_at - 2); }
    std::int16_t Signed() { return static_cast<std::int16_t>(Next()); }
    std::uint32_t Dword() { return Next() | (static_cast<std::uint32_t>(Next()) << 16); }
    std::uint8_t Byte() { return ++m_at <= m_size ? m_data[m_at - 1] : 0; }
    // An extended template has a help id, the extended style and the style; a classic one the style first, no help id.
    void Styles(std::uint32_t& helpId, std::uint32_t& exStyle, std::uint32_t& style)
    {
        if (m_extended)
            helpId = Dword(), exStyle = Dword(), style = Dword();
        else
            style = Dword(), exStyle = Dword();
    }
    Text String()
    {
        Text text;
        text.at = m_at;
        while (m_at + 2 <= m_size && Unit(m_at) != 0)
            m_at += 2, ++text.length;
        m_at += 2;
        return text;
    }
    Text NameOrOrdinal()
    {
        if (Unit(m_at) != 0xFFFF)
            return String();
        m_at += 2;
        return {0, 0, true, Next()};
    }

    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_at = 0;
    bool m_extended = false;
};

// Makes `font` (a LOGFONT, or a type with its members) the dialog manager's for the template at `dotsPerInch`: no face
// where it names none, at most 31 characters, and "MS Shell Dlg 2" for "MS Shell Dlg" in an extended DS_SHELLFONT one.
template <class LogFont>
void MakeDialogFont(const Reader& reader, const Header& header, int dotsPerInch, LogFont& font)
{
    if (!header.complete || !header.hasFace)
        return;
    // Pixels, rounded as MulDiv rounds, made negative: a character height (a cell height for a negative point size).
    const long long scaled = static_cast<long long>(header.pointSize) * dotsPerInch;
    font.lfHeight = -static_cast<int>((scaled + (scaled < 0 ? -36 : 36)) / 72);
    font.lfWeight = header.weight, font.lfItalic = header.italic;
    for (std::size_t i = 0; i < header.face.length && i < 31; ++i)
        font.lfFaceName[i] = reader.UnitOf(header.face, i);
    const char16_t shell[] = u"MS SHELL DLG";
    bool shellFont = header.extended && (header.style & Reader::kShellFont) == Reader::kShellFont;
    for (std::size_t i = 0; shellFont && i < sizeof shell / 2; ++i)
        shellFont = (font.lfFaceName[i] >= u'a' && font.lfFaceName[i] <= u'z' ? font.lfFaceName[i] - 32
                                                                              : font.lfFaceName[i]) == shell[i];
    if (shellFont)
        font.lfFaceName[12] = u' ', font.lfFaceName[13] = u'2';
}

// The size of a copy of the template whose face (the header has one) has `faceLength` characters.
inline std::size_t SizeWithFace(std::size_t size, const Header& header, std::size_t faceLength)
{
    const std::size_t items = size > header.itemsAt ? size - header.itemsAt : 0;
    return ((header.face.at + 2 * (faceLength + 1) + 3) & ~std::size_t{3}) + items;
}

// Writes the copy into `out` (SizeWithFace bytes): the header as it was, the new face, and the items moved to the
// next 4-byte boundary after it. Items hold no offsets, so they move unchanged.
inline void CopyWithFace(const std::uint8_t* data, std::size_t size, const Header& header, const char16_t* face,
                         std::size_t faceLength, std::uint8_t* out)
{
    std::size_t at = 0;
    for (; at < header.face.at; ++at)
        out[at] = data[at];
    for (std::size_t i = 0; i <= faceLength; ++i, at += 2) {
        const char16_t unit = i < faceLength ? face[i] : u'\0';
        out[at] = static_cast<std::uint8_t>(unit & 0xFF);
        out[at + 1] = static_cast<std::uint8_t>(unit >> 8);
    }
    for (; at % 4; ++at)
        out[at] = 0;
    for (std::size_t from = header.itemsAt; from < size; ++from, ++at)
        out[at] = data[from];
}

}  // namespace dialog_template
