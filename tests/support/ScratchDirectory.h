#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <set>
#include <string>

// A fresh, empty directory that is the process's working directory for the life of the
// object; the previous working directory comes back and the directory goes away after.
class ScratchDirectory {
public:
    ScratchDirectory()
        : m_previous(std::filesystem::current_path()),
          m_path(std::filesystem::temp_directory_path() / ("vorlamy-test-" + RandomSuffix()))
    {
        std::filesystem::create_directories(m_path);
        std::filesystem::current_path(m_path);
    }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;
    ~ScratchDirectory()
    {
        std::error_code ignored;
        std::filesystem::current_path(m_previous, ignored);
        std::filesystem::remove_all(m_path, ignored);
    }

    const std::filesystem::path& Path() const { return m_path; }

    // The names of the entries in the directory, sorted.
    std::string Listing() const
    {
        std::set<std::string> sorted;
        std::error_code ignored;
        for (const auto& entry : std::filesystem::directory_iterator(m_path, ignored))
            sorted.insert(entry.path().filename().string());
        std::string names;
        for (const std::string& name : sorted)
            names += (names.empty() ? "" : " ") + name;
        return names;
    }

private:
    static std::string RandomSuffix()
    {
        std::random_device device;
        return std::to_string(device()) + std::to_string(device());
    }

    std::filesystem::path m_previous;
    std::filesystem::path m_path;
};

// The whole content of a file, or "<missing>" when it cannot be read.
inline std::string ReadWholeFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return "<missing>";
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteWholeFile(const std::filesystem::path& path, const std::string& content)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
}
