#include "core/DatesFile.h"

#include "system/DisplayName.h"
#include "system/ExistingFile.h"
#include "system/Failure.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

namespace halvane
{
namespace
{

// Where the reader's bytes come from: chunk after chunk, an empty one at the
// end.
class ByteSource
{
public:
    virtual ~ByteSource() = default;
    virtual std::string_view chunk() = 0;
};

class TextSource final : public ByteSource
{
public:
    explicit TextSource(std::string_view text) : m_text(text) {}
    std::string_view chunk() override { return std::exchange(m_text, {}); }

private:
    std::string_view m_text;
};

class FileSource final : public ByteSource
{
public:
    FileSource(std::FILE* file, std::string name)
        : m_file(file), m_name(std::move(name)), m_buffer(kDatesReadBlock)
    {
    }
    std::string_view chunk() override
    {
        // fread fills the buffer unless the file ends (or fails) first.
        const std::size_t n = std::fread(m_buffer.data(), 1, m_buffer.size(), m_file);
        if (n < m_buffer.size() && std::ferror(m_file))
            throw Failure(err::DeviceIO, "Cannot read " + m_name + ": " + std::strerror(errno));
        return {m_buffer.data(), n};
    }

private:
    std::FILE* m_file;
    std::string m_name;
    std::vector<char> m_buffer;
};

// The fields of the file, one after another.
class FieldReader
{
public:
    explicit FieldReader(ByteSource& source) : m_source(source)
    {
        if (refill() && m_chunk.substr(0, 3) == "\xEF\xBB\xBF")
            m_pos = 3;
    }

    // The next field, its first DateTable::kWidth characters in `field`, or
    // false when the file has no field left.
    bool next(std::string& field)
    {
        field.clear();
        for (;;) {
            skipBlanks();
            if (atEnd()) {
                m_afterComma = false; // a comma at the very end starts no field
                return false;
            }
            if (!isLineEnd(current()) || m_afterComma)
                break;
            skipLineEnd(); // a blank line, or the end of the previous record
        }
        m_afterComma = false;
        if (current() == '"') {
            ++m_pos;
            take(field, [](char c) { return c == '"'; });
            if (!atEnd())
                ++m_pos; // the closing quote
            // Whatever stands between the closing quote and the delimiter is dropped.
            skip([](char c) { return c == ',' || isLineEnd(c); });
        } else {
            take(field, [](char c) { return c == ',' || isLineEnd(c); });
        }
        if (!atEnd()) {
            if (current() == ',') {
                ++m_pos;
                m_afterComma = true;
            } else {
                skipLineEnd();
            }
        }
        return true;
    }

private:
    static bool isLineEnd(char c) { return c == '\r' || c == '\n'; }

    // Loads the next chunk once the current one is used up; false at the end.
    bool refill()
    {
        while (m_pos >= m_chunk.size()) {
            if (m_ended)
                return false;
            m_chunk = m_source.chunk();
            m_pos = 0;
            if (m_chunk.empty()) {
                m_ended = true;
                return false;
            }
            if (const auto eof = m_chunk.find('\x1A'); eof != std::string_view::npos) {
                m_chunk = m_chunk.substr(0, eof); // the end-of-file mark ends the file
                m_ended = true;
            }
        }
        return true;
    }
    bool atEnd() { return !refill(); }
    char current() const { return m_chunk[m_pos]; }

    // Moves on to the first character for which `stop` holds, or the end.
    template <class Stop> void skip(Stop stop)
    {
        while (!atEnd()) {
            while (m_pos < m_chunk.size() && !stop(m_chunk[m_pos]))
                ++m_pos;
            if (m_pos < m_chunk.size())
                return;
        }
    }
    // The same, keeping the characters passed that a slot can hold.
    template <class Stop> void take(std::string& field, Stop stop)
    {
        while (!atEnd()) {
            const std::size_t start = m_pos;
            while (m_pos < m_chunk.size() && !stop(m_chunk[m_pos]))
                ++m_pos;
            const std::size_t room = DateTable::kWidth - field.size();
            field.append(m_chunk.substr(start, std::min(room, m_pos - start)));
            if (m_pos < m_chunk.size())
                return;
        }
    }
    void skipBlanks()
    {
        skip([](char c) { return c != ' ' && c != '\t'; });
    }
    void skipLineEnd()
    {
        const bool cr = current() == '\r';
        ++m_pos;
        if (cr && !atEnd() && current() == '\n')
            ++m_pos;
    }

    ByteSource& m_source;
    std::string_view m_chunk;
    std::size_t m_pos = 0;
    bool m_ended = false;
    bool m_afterComma = false;
};

void readFields(DateTable& table, ByteSource& source, const std::string& fileName)
{
    FieldReader reader(source);
    std::string key, value;
    for (int k = DateTable::kFirst; k <= DateTable::kLast; ++k) {
        const bool haveKey = reader.next(key);
        if (!haveKey || !reader.next(value)) {
            throw Failure(err::InputPastEnd,
                          "Input past end of file: " + fileName + " ends at record " +
                              std::to_string(k) + (haveKey ? ", before its value" : "") +
                              "; it must hold " + std::to_string(DateTable::kLast) + " records");
        }
        table.store(k, key, value);
    }
}

} // namespace

void readDateTable(DateTable& table, std::string_view text, const std::string& fileName)
{
    TextSource source(text);
    readFields(table, source, displayText(fileName));
}

void loadDateTable(DateTable& table, const std::filesystem::path& path)
{
    const std::string name = displayName(path);
    const FileHandle file = openExistingFile(path);
    FileSource source(file.get(), name);
    readFields(table, source, name);
}

} // namespace halvane
