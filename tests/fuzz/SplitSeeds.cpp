// Seeds for the fuzz targets, taken from real files: the dialog templates of compiled resource scripts (.res files,
// as windres writes them) and the name tables of font files.
//   split_seeds <template folder> <name table folder> <file>...
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::uint32_t Little(const std::vector<char>& b, std::size_t at)
{
    return at + 4 > b.size() ? 0
                             : std::uint8_t(b[at]) | std::uint8_t(b[at + 1]) << 8 | std::uint8_t(b[at + 2]) << 16 |
                                   std::uint32_t(std::uint8_t(b[at + 3])) << 24;
}
std::uint32_t Big(const std::vector<char>& b, std::size_t at)
{
    return at + 4 > b.size() ? 0
                             : std::uint32_t(std::uint8_t(b[at])) << 24 | std::uint8_t(b[at + 1]) << 16 |
                                   std::uint8_t(b[at + 2]) << 8 | std::uint8_t(b[at + 3]);
}
void Write(const std::string& name, const std::vector<char>& from, std::size_t at, std::size_t size)
{
    if (at + size <= from.size())
        std::ofstream(name, std::ios::binary).write(from.data() + at, static_cast<std::streamsize>(size));
}

}  // namespace

int main(int argc, char** argv)
{
    for (int f = 3; f < argc; ++f) {
        std::ifstream in(argv[f], std::ios::binary);
        const std::vector<char> b{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        const std::string base = std::string(argv[f]).substr(std::string(argv[f]).find_last_of('/') + 1);
        if (Little(b, 4) == 32 && Little(b, 8) == 0xFFFF) {
            // A .res file: entries of a data size, a header size, then the type (0xFFFF and an ordinal: 5 a dialog).
            for (std::size_t at = 0, n = 0; at + 12 <= b.size() && Little(b, at + 4) >= 12; ++n) {
                const std::uint32_t data = Little(b, at), header = Little(b, at + 4);
                if (Little(b, at + 8) == (5u << 16 | 0xFFFF))
                    Write(std::string(argv[1]) + "/" + base + "-" + std::to_string(n), b, at + header, data);
                at += (header + data + 3) & ~std::size_t{3};
            }
        } else {
            // A font file: its table directory names each table's place; "name" is the one wanted.
            for (std::uint32_t t = 0, tables = Big(b, 4) >> 16; t < tables; ++t)
                if (Big(b, 12 + 16 * t) == 0x6E616D65)
                    Write(std::string(argv[2]) + "/" + base, b, Big(b, 12 + 16 * t + 8), Big(b, 12 + 16 * t + 12));
        }
    }
    return 0;
}
