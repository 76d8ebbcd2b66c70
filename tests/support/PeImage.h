#pragma once

// An executable's PE headers, read from the file itself (not loaded): what the linker
// promised the loader, and which DLLs it imports.

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

class PeImage {
public:
    explicit PeImage(const std::filesystem::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        m_bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        IMAGE_DOS_HEADER dos{};
        if (!Read(0, dos) || dos.e_magic != IMAGE_DOS_SIGNATURE)
            return;
        DWORD signature = 0;
        const size_t nt = static_cast<size_t>(dos.e_lfanew);
        if (!Read(nt, signature) || signature != IMAGE_NT_SIGNATURE || !Read(nt + 4, m_file))
            return;
        const size_t optional = nt + 4 + sizeof(IMAGE_FILE_HEADER);
        WORD magic = 0;
        Read(optional, magic);
        m_is64 = magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC;
        if (m_is64) {
            IMAGE_OPTIONAL_HEADER64 header{};
            m_valid = Read(optional, header);
            m_dllCharacteristics = header.DllCharacteristics;
            m_subsystemVersion = {header.MajorSubsystemVersion, header.MinorSubsystemVersion};
            std::copy(std::begin(header.DataDirectory), std::end(header.DataDirectory), m_directories);
        } else {
            IMAGE_OPTIONAL_HEADER32 header{};
            m_valid = Read(optional, header) && magic == IMAGE_NT_OPTIONAL_HDR32_MAGIC;
            m_dllCharacteristics = header.DllCharacteristics;
            m_subsystemVersion = {header.MajorSubsystemVersion, header.MinorSubsystemVersion};
            std::copy(std::begin(header.DataDirectory), std::end(header.DataDirectory), m_directories);
        }
        const size_t sections = optional + m_file.SizeOfOptionalHeader;
        for (WORD i = 0; m_valid && i < m_file.NumberOfSections; ++i) {
            IMAGE_SECTION_HEADER section{};
            m_valid = Read(sections + i * sizeof section, section);
            m_sections.push_back(section);
        }
    }

    bool IsValid() const { return m_valid; }
    bool Is64Bit() const { return m_is64; }
    WORD FileCharacteristics() const { return m_file.Characteristics; }
    WORD DllCharacteristics() const { return m_dllCharacteristics; }
    // The oldest Windows the loader is asked to start it on, as major and minor version.
    std::pair<WORD, WORD> SubsystemVersion() const { return m_subsystemVersion; }
    IMAGE_DATA_DIRECTORY Directory(int entry) const { return m_directories[entry]; }
    const std::vector<IMAGE_SECTION_HEADER>& Sections() const { return m_sections; }
    static std::string SectionName(const IMAGE_SECTION_HEADER& section)
    {
        const char* name = reinterpret_cast<const char*>(section.Name);
        return std::string(name, strnlen(name, IMAGE_SIZEOF_SHORT_NAME));
    }

    // The DLL names in the import directory, in the file's order.
    std::vector<std::string> ImportedDlls() const
    {
        std::vector<std::string> names;
        for (const IMAGE_IMPORT_DESCRIPTOR& descriptor : ImportDescriptors())
            names.push_back(StringAt(descriptor.Name));
        return names;
    }

    // Every imported function as "dll!name" (or "dll!#ordinal"), the DLL in lower case.
    std::vector<std::string> ImportedFunctions() const
    {
        std::vector<std::string> functions;
        for (const IMAGE_IMPORT_DESCRIPTOR& descriptor : ImportDescriptors()) {
            std::string dll = StringAt(descriptor.Name);
            std::transform(dll.begin(), dll.end(), dll.begin(), [](unsigned char c) { return std::tolower(c); });
            const DWORD thunks = descriptor.OriginalFirstThunk ? descriptor.OriginalFirstThunk : descriptor.FirstThunk;
            const size_t step = m_is64 ? 8 : 4;
            for (size_t at = OffsetOf(thunks); at; at += step) {
                const ULONGLONG thunk = ThunkAt(at);
                if (!thunk)
                    break;
                const ULONGLONG byOrdinal = m_is64 ? IMAGE_ORDINAL_FLAG64 : IMAGE_ORDINAL_FLAG32;
                functions.push_back(dll + "!" +
                                    (thunk & byOrdinal ? "#" + std::to_string(thunk & 0xFFFF)
                                                       : StringAt(static_cast<DWORD>(thunk) + sizeof(WORD))));
            }
        }
        return functions;
    }

private:
    std::vector<IMAGE_IMPORT_DESCRIPTOR> ImportDescriptors() const
    {
        std::vector<IMAGE_IMPORT_DESCRIPTOR> descriptors;
        size_t at = OffsetOf(Directory(IMAGE_DIRECTORY_ENTRY_IMPORT).VirtualAddress);
        IMAGE_IMPORT_DESCRIPTOR descriptor{};
        for (; at && Read(at, descriptor) && descriptor.Name; at += sizeof descriptor)
            descriptors.push_back(descriptor);
        return descriptors;
    }
    // An entry of an import lookup table, 0 at its end (or past the file's).
    ULONGLONG ThunkAt(size_t offset) const
    {
        ULONGLONG thunk = 0;
        DWORD thunk32 = 0;
        if (m_is64 ? !Read(offset, thunk) : !Read(offset, thunk32))
            return 0;
        return m_is64 ? thunk : thunk32;
    }
    // The string at a relative virtual address; empty when no section holds it.
    std::string StringAt(DWORD rva) const
    {
        const size_t at = OffsetOf(rva);
        if (!at || at >= m_bytes.size())
            return {};
        return std::string(m_bytes.data() + at, strnlen(m_bytes.data() + at, m_bytes.size() - at));
    }

    template <typename T>
    bool Read(size_t offset, T& value) const
    {
        if (offset > m_bytes.size() || m_bytes.size() - offset < sizeof value)
            return false;
        std::memcpy(&value, m_bytes.data() + offset, sizeof value);
        return true;
    }
    // The file offset of a relative virtual address; 0 when no section holds it.
    size_t OffsetOf(DWORD rva) const
    {
        for (const auto& s : m_sections) {
            if (rva >= s.VirtualAddress && rva < s.VirtualAddress + std::max(s.Misc.VirtualSize, s.SizeOfRawData))
                return rva - s.VirtualAddress + s.PointerToRawData;
        }
        return 0;
    }

    std::string m_bytes;
    IMAGE_FILE_HEADER m_file{};
    WORD m_dllCharacteristics = 0;
    std::pair<WORD, WORD> m_subsystemVersion{};
    IMAGE_DATA_DIRECTORY m_directories[IMAGE_NUMBEROF_DIRECTORY_ENTRIES]{};
    std::vector<IMAGE_SECTION_HEADER> m_sections;
    bool m_is64 = false;
    bool m_valid = false;
};
