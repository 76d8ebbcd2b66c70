// Seeds for the fuzz targets from real files: the dialog templates of compiled resource scripts (.res files, as windres
// writes them) and the name tables of font files.   split_seeds <template folder> <name table folder> <file>...
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    for (int f = 3; f < argc; ++f) {
        std::ifstream in(argv[f], std::ios::binary);
        const std::vector<unsigned char> b{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        // Four bytes at `at`, least significant first (a .res file) or most (a font), 0 past the end.
        auto number = [&b](std::size_t at, bool little) {
            unsigned long n = 0;
            for (std::size_t i = 0; i < 4; ++i)
                n |= static_cast<unsigned long>(at + 4 <= b.size() ? b[at + i] : 0) << 8 * (little ? i : 3 - i);
            return n;
        };
        const std::string name = std::string(argv[f]).substr(std::string(argv[f]).find_last_of('/') + 1);
        auto write = [&](const std::string& to, std::size_t at, std::size_t size) {
            if (at + size <= b.size())
                std::ofstream(to, std::ios::binary).write(reinterpret_cast<const char*>(b.data() + at), size);
        };
        if (number(4, true) == 32 && number(8, true) == 0xFFFF) {
            // A .res file: entries of a data size, a header size and a type (0xFFFF, then 5 for a dialog).
            for (std::size_t at = 0, n = 0; number(at + 4, true) >= 12;
                 at += (number(at + 4, true) + number(at, true) + 3) & ~3ul, ++n)
                if (number(at + 8, true) == (5ul << 16 | 0xFFFF))
                    write(argv[1] + ("/" + name) + std::to_string(n), at + number(at + 4, true), number(at, true));
        } else {
            // A font: its table directory gives each table's tag, place and size; "name" is the one wanted.
            for (unsigned long t = 0; t < number(4, false) >> 16; ++t)
                if (number(12 + 16 * t, false) == 0x6E616D65)
                    write(argv[2] + ("/" + name), number(20 + 16 * t, false), number(24 + 16 * t, false));
        }
    }
    return 0;
}
