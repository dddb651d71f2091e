#include "tests/ui/SampleTable.h"

#include "tests/support/TempDir.h"

#include <cstdint>
#include <fstream>
#include <stdexcept>

namespace halvane::test
{
namespace
{

struct Field {
    std::string_view name;
    char type;
    std::uint8_t width;
};

constexpr std::array<Field, 9> kFields{{
    {"ACTIVITY", 'C', 20},
    {"ES", 'D', 8},
    {"EF", 'D', 8},
    {"ES_T1", 'D', 8},
    {"EF_T1", 'D', 8},
    {"SHES", 'C', 10},
    {"SHEF", 'C', 10},
    {"SHTS", 'C', 10},
    {"SHTF", 'C', 10},
}};

void putLe(std::string& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::uint32_t getLe(const std::string& in, std::size_t at, int bytes)
{
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(in.at(at + static_cast<std::size_t>(i)));
    return value;
}

std::string padded(std::string_view text, std::size_t width)
{
    std::string field(text.substr(0, width));
    field.resize(width, ' ');
    return field;
}

} // namespace

void writeShamsiTable(const std::filesystem::path& file, const std::vector<SampleRecord>& records)
{
    std::uint32_t recordLength = 1;
    for (const auto& f : kFields)
        recordLength += f.width;
    const std::uint32_t headerLength = 32 + 32 * kFields.size() + 1;

    std::string out;
    out += '\x03';
    out += static_cast<char>(124); // last update 2024-01-01
    out += '\x01';
    out += '\x01';
    putLe(out, static_cast<std::uint32_t>(records.size()), 4);
    putLe(out, headerLength, 2);
    putLe(out, recordLength, 2);
    out.append(20, '\0');
    for (const auto& f : kFields) {
        std::string name(f.name);
        name.resize(11, '\0');
        out += name;
        out += f.type;
        out.append(4, '\0');
        out += static_cast<char>(f.width);
        out.append(15, '\0');
    }
    out += '\x0D';
    for (const auto& r : records) {
        out += ' ';
        out += padded(r.activity, 20);
        for (const auto& date : r.dates)
            out += padded(date, 8);
        for (int i = 0; i < 4; ++i)
            out += padded("old", 10);
    }
    out += '\x1A';
    std::ofstream(file, std::ios::binary)
        .write(out.data(), static_cast<std::streamsize>(out.size()));
}

std::string storedField(const std::filesystem::path& file, int record, std::string_view name)
{
    const std::string bytes = readFile(file);
    const std::size_t headerLength = getLe(bytes, 8, 2);
    const std::size_t recordLength = getLe(bytes, 10, 2);
    std::size_t offset = 1;
    for (std::size_t at = 32; bytes.at(at) != '\x0D'; at += 32) {
        const std::string fieldName = bytes.substr(at, 11).c_str();
        const std::size_t width = static_cast<unsigned char>(bytes.at(at + 16));
        if (fieldName == name)
            return bytes.substr(
                headerLength + static_cast<std::size_t>(record) * recordLength + offset, width);
        offset += width;
    }
    throw std::out_of_range("no field " + std::string(name));
}

} // namespace halvane::test
