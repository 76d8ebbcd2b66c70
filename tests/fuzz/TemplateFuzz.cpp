// The dialog template reader with any bytes, as a resource of another module may hold them: nothing may be read or
// written out of bounds, the font it asks for always ends in a null, and a copy that names another face reads back
// with that face and the items unchanged.
#include "winlib/DialogTemplate.h"

#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    dialog_template::Reader reader(data, size);
    const dialog_template::Header header = reader.ReadHeader();
    struct {
        long lfHeight, lfWeight;
        std::uint8_t lfItalic;
        char16_t lfFaceName[32];
    } font{};
    dialog_template::MakeDialogFont(reader, header, 144, font);
    if (font.lfFaceName[31] != u'\0')
        __builtin_trap();
    dialog_template::Item item;
    for (unsigned i = 0; i < header.count && reader.ReadItem(item); ++i)
        for (std::size_t u = 0; u < item.text.length; ++u)
            font.lfFaceName[0] ^= reader.UnitOf(item.text, u);
    if (!header.complete || !header.hasFace)
        return 0;

    const std::u16string face = u"Ume P Gothic";
    std::vector<std::uint8_t> copy(dialog_template::SizeWithFace(size, header, face.size()));
    dialog_template::CopyWithFace(data, size, header, face.data(), face.size(), copy.data());
    dialog_template::Reader again(copy.data(), copy.size());
    const dialog_template::Header read = again.ReadHeader();
    if (!read.complete || !read.hasFace || read.face.length != face.size() || read.count != header.count)
        __builtin_trap();
    for (std::size_t i = 0; i < face.size(); ++i)
        if (again.UnitOf(read.face, i) != face[i])
            __builtin_trap();
    for (std::size_t i = header.itemsAt; i < size; ++i)
        if (copy.at(read.itemsAt + i - header.itemsAt) != data[i])
            __builtin_trap();
    return 0;
}
