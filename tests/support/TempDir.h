// A fresh temporary directory, removed with everything in it at scope end.
#pragma once

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string_view>

namespace halvane::test
{

void writeFile(const std::filesystem::path& file, std::string_view bytes);

class TempDir
{
public:
    TempDir()
    {
        std::random_device rd;
        auto base = std::filesystem::temp_directory_path();
        do {
            m_path = base / ("halvane-test-" + std::to_string(rd()));
        } while (!std::filesystem::create_directory(m_path));
    }
    ~TempDir()
    {
        std::error_code ec;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(m_path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path operator/(std::string_view name) const { return m_path / name; }

    std::filesystem::path write(std::string_view name, std::string_view bytes) const
    {
        auto file = m_path / name;
        writeFile(file, bytes);
        return file;
    }

private:
    std::filesystem::path m_path;
};

inline void writeFile(const std::filesystem::path& file, std::string_view bytes)
{
    std::ofstream(file, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
}

// The whole file in one read of its size: the kill sweeps read tables of
// many megabytes after every kill, and a character-by-character copy
// through stream iterators is slow where tests are compiled unoptimised.
inline std::string readFile(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary | std::ios::ate);
    if (!in)
        return {};
    std::string bytes(std::size_t(in.tellg()), '\0');
    in.seekg(0);
    in.read(bytes.data(), std::streamsize(bytes.size()));
    bytes.resize(std::size_t(in.gcount()));
    return bytes;
}

// Everything a stream opened for update (std::tmpfile) has had written so
// far; the stream is left at its end, to go on writing.
inline std::string written(std::FILE* stream)
{
    std::fflush(stream);
    std::rewind(stream);
    std::string text;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, stream)) > 0;)
        text.append(buffer, n);
    std::fseek(stream, 0, SEEK_END);
    return text;
}

} // namespace halvane::test
