#pragma once

// Reads a dialog template resource, classic (DLGTEMPLATE) or extended (DLGTEMPLATEEX),
// into plain values, so that a test can hold it against the table it must match.

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

struct DialogItem {
    std::uint32_t helpId = 0, exStyle = 0, style = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    std::uint32_t id = 0;
    std::wstring className;  // "#128" for a predefined class atom
    std::wstring text;       // "#128" for a resource ordinal
};

struct DialogTemplate {
    bool extended = false;
    std::uint32_t helpId = 0, exStyle = 0, style = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    std::wstring menu, className, caption;
    std::uint16_t pointSize = 0, weight = 0;
    std::uint8_t italic = 0, charset = 0;
    std::wstring font;
    std::vector<DialogItem> items;
};

class TemplateReader {
public:
    TemplateReader(const void* data, std::size_t size)
        : m_begin(static_cast<const std::uint8_t*>(data)), m_at(m_begin), m_end(m_begin + size)
    {
    }

    template <class T>
    T Read()
    {
        T value{};
        if (m_at + sizeof(T) <= m_end)
            std::memcpy(&value, m_at, sizeof(T));
        m_at += sizeof(T);
        return value;
    }
    std::wstring ReadString()
    {
        std::wstring text;
        for (wchar_t c; (c = static_cast<wchar_t>(Read<std::uint16_t>())) != 0 && m_at <= m_end;)
            text += c;
        return text;
    }
    // A string, or 0xFFFF and an ordinal written as "#n".
    std::wstring ReadStringOrOrdinal()
    {
        if (Peek() == 0xFFFF) {
            Read<std::uint16_t>();
            return L"#" + std::to_wstring(Read<std::uint16_t>());
        }
        return ReadString();
    }
    void AlignToDword() { m_at = m_begin + ((m_at - m_begin + 3) & ~std::size_t{3}); }
    bool Overran() const { return m_at > m_end; }

private:
    std::uint16_t Peek() const
    {
        std::uint16_t value = 0;
        if (m_at + 2 <= m_end)
            std::memcpy(&value, m_at, 2);
        return value;
    }

    const std::uint8_t* m_begin;
    const std::uint8_t* m_at;
    const std::uint8_t* m_end;
};

inline DialogTemplate ParseDialogTemplate(const void* data, std::size_t size)
{
    TemplateReader in(data, size);
    DialogTemplate t;
    const std::uint16_t version = in.Read<std::uint16_t>();
    const std::uint16_t signature = in.Read<std::uint16_t>();
    t.extended = version == 1 && signature == 0xFFFF;
    if (t.extended) {
        t.helpId = in.Read<std::uint32_t>();
        t.exStyle = in.Read<std::uint32_t>();
        t.style = in.Read<std::uint32_t>();
    } else {
        t.style = static_cast<std::uint32_t>(version) | (static_cast<std::uint32_t>(signature) << 16);
        t.exStyle = in.Read<std::uint32_t>();
    }
    const std::uint16_t count = in.Read<std::uint16_t>();
    t.x = in.Read<short>();
    t.y = in.Read<short>();
    t.cx = in.Read<short>();
    t.cy = in.Read<short>();
    t.menu = in.ReadStringOrOrdinal();
    t.className = in.ReadStringOrOrdinal();
    t.caption = in.ReadString();
    if (t.style & DS_SETFONT) {
        t.pointSize = in.Read<std::uint16_t>();
        if (t.extended) {
            t.weight = in.Read<std::uint16_t>();
            t.italic = in.Read<std::uint8_t>();
            t.charset = in.Read<std::uint8_t>();
        }
        t.font = in.ReadString();
    }
    for (std::uint16_t i = 0; i < count && !in.Overran(); ++i) {
        in.AlignToDword();
        DialogItem item;
        if (t.extended) {
            item.helpId = in.Read<std::uint32_t>();
            item.exStyle = in.Read<std::uint32_t>();
            item.style = in.Read<std::uint32_t>();
        } else {
            item.style = in.Read<std::uint32_t>();
            item.exStyle = in.Read<std::uint32_t>();
        }
        item.x = in.Read<short>();
        item.y = in.Read<short>();
        item.cx = in.Read<short>();
        item.cy = in.Read<short>();
        item.id = t.extended ? in.Read<std::uint32_t>() : in.Read<std::uint16_t>();
        item.className = in.ReadStringOrOrdinal();
        item.text = in.ReadStringOrOrdinal();
        const std::uint16_t extra = in.Read<std::uint16_t>();
        for (std::uint16_t b = 0; b < extra; ++b)
            in.Read<std::uint8_t>();
        t.items.push_back(item);
    }
    return t;
}
