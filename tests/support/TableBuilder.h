// Builds the bytes of a dBASE table in a test: a sound table by default, and
// every part of it open to damage (version, lengths, descriptors, records).
#pragma once

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace halvane::test
{

struct FieldSpec {
    std::string name;
    char type;
    unsigned width;
};

// The eight fields of a schedule table, with two others among them.
inline std::vector<FieldSpec> scheduleFields(unsigned destinationWidth = 10)
{
    return {{"ID", 'N', 5},
            {"ES", 'D', 8},
            {"EF", 'D', 8},
            {"ES_T1", 'D', 8},
            {"EF_T1", 'D', 8},
            {"SHES", 'C', destinationWidth},
            {"SHEF", 'C', destinationWidth},
            {"SHTS", 'C', destinationWidth},
            {"SHTF", 'C', destinationWidth},
            {"DONE", 'L', 1}};
}

struct TableBuilder {
    unsigned char version = 0x03;
    unsigned char languageDriver = 0x7E; // code page 1256
    std::vector<FieldSpec> fields = scheduleFields();
    // Each record: the deletion flag (' ' or '*') and one text per field,
    // padded with spaces (text fields) or written as given.
    std::vector<std::vector<std::string>> records;
    std::vector<bool> deleted;
    bool endMarker = true;

    TableBuilder& add(std::vector<std::string> values, bool isDeleted = false)
    {
        records.push_back(std::move(values));
        deleted.push_back(isDeleted);
        return *this;
    }

    static void put16(std::string& s, std::size_t at, unsigned v)
    {
        s[at] = char(v & 0xFF);
        s[at + 1] = char((v >> 8) & 0xFF);
    }

    unsigned headerLength() const { return unsigned(32 + 32 * fields.size() + 1); }
    // Where field `name` starts in a record (byte 0 is the deletion flag).
    std::size_t fieldOffset(std::string_view name) const
    {
        std::size_t offset = 1;
        for (const auto& f : fields) {
            if (f.name == name)
                return offset;
            offset += f.width;
        }
        throw std::out_of_range("no field " + std::string(name));
    }
    // The stored bytes of field `name` in record `record` (0 for the first)
    // of `table`, a file laid out as this builder lays it out.
    std::string storedField(const std::string& table, std::size_t record,
                            std::string_view name) const
    {
        const auto at = std::find_if(fields.begin(), fields.end(),
                                     [&](const FieldSpec& f) { return f.name == name; });
        if (at == fields.end())
            throw std::out_of_range("no field " + std::string(name));
        return table.substr(headerLength() + record * recordLength() + fieldOffset(name),
                            at->width);
    }

    unsigned recordLength() const
    {
        unsigned length = 1;
        for (const auto& f : fields)
            length += f.width;
        return length;
    }

    std::string header() const
    {
        std::string h(32, '\0');
        h[0] = char(version);
        h[1] = char(99); // 1999-12-31: never today's date
        h[2] = 12;
        h[3] = 31;
        const auto n = static_cast<std::uint32_t>(records.size());
        for (int i = 0; i < 4; ++i)
            h[4 + i] = char((n >> (8 * i)) & 0xFF);
        put16(h, 8, headerLength());
        put16(h, 10, recordLength());
        h[29] = char(languageDriver);
        for (const auto& f : fields) {
            std::string d(32, '\0');
            d.replace(0, std::min<std::size_t>(f.name.size(), 11), f.name.substr(0, 11));
            d[11] = f.type;
            d[16] = char(f.width);
            h += d;
        }
        h += '\r';
        return h;
    }

    std::string bytes() const
    {
        std::string out = header();
        for (std::size_t r = 0; r < records.size(); ++r) {
            out += deleted[r] ? '*' : ' ';
            for (std::size_t i = 0; i < fields.size(); ++i) {
                std::string v = i < records[r].size() ? records[r][i] : "";
                v.resize(fields[i].width, ' ');
                out += v;
            }
        }
        if (endMarker)
            out += '\x1A';
        return out;
    }
};

// A record of scheduleFields(): id, four dates, four destinations, done.
inline std::vector<std::string> scheduleRecord(std::string es, std::string ef = "",
                                               std::string esT1 = "", std::string efT1 = "")
{
    return {"1",   std::move(es), std::move(ef), std::move(esT1), std::move(efT1),
            "old", "old",         "old",         "old",           "T"};
}

} // namespace halvane::test
