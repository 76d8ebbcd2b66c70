#pragma once

// A dialog template resource read into plain values, through the class library's own
// reader, so that a test can hold it against the table it must match.

#include "winlib/DialogTemplate.h"

#include <windows.h>

#include <cstdint>
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
    std::int16_t pointSize = 0;
    std::uint16_t weight = 0;
    std::uint8_t italic = 0, charset = 0;
    std::wstring font;
    std::vector<DialogItem> items;
};

inline DialogTemplate ParseDialogTemplate(const void* data, std::size_t size)
{
    dialog_template::Reader in(static_cast<const std::uint8_t*>(data), size);
    auto text = [&in](const dialog_template::Text& t) {
        if (t.isOrdinal)
            return L"#" + std::to_wstring(t.ordinal);
        std::wstring s;
        for (std::size_t i = 0; i < t.length; ++i)
            s += static_cast<wchar_t>(in.UnitOf(t, i));
        return s;
    };
    const dialog_template::Header h = in.ReadHeader();
    DialogTemplate t{h.extended,
                     h.helpId,
                     h.exStyle,
                     h.style,
                     h.x,
                     h.y,
                     h.cx,
                     h.cy,
                     text(h.menu),
                     text(h.windowClass),
                     text(h.caption),
                     h.pointSize,
                     h.weight,
                     h.italic,
                     h.charset,
                     text(h.face),
                     {}};
    dialog_template::Item item;
    for (std::uint16_t i = 0; i < h.count && in.ReadItem(item); ++i)
        t.items.push_back({item.helpId, item.exStyle, item.style, item.x, item.y, item.cx, item.cy, item.id,
                           text(item.windowClass), text(item.text)});
    return t;
}
