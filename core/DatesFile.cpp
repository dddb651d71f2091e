#include "core/DatesFile.h"

#include "core/Failure.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <utility>

namespace halvane
{
namespace
{

class FieldReader
{
public:
    explicit FieldReader(std::string_view text) : m_text(text)
    {
        if (m_text.substr(0, 3) == "\xEF\xBB\xBF")
            m_pos = 3;
        if (auto eof = m_text.find('\x1A', m_pos); eof != std::string_view::npos)
            m_text = m_text.substr(0, eof);
    }

    // The next field, or false when the text has no field left.
    bool next(std::string& field)
    {
        field.clear();
        for (;;) {
            skipBlanks();
            if (m_pos >= m_text.size()) {
                // "key," at the very end still holds an empty value, once.
                return std::exchange(m_afterComma, false);
            }
            if (!isLineEnd(m_text[m_pos]) || m_afterComma)
                break;
            skipLineEnd(); // a blank line, or the end of the previous record
        }
        m_afterComma = false;
        if (m_text[m_pos] == '"') {
            auto close = m_text.find('"', m_pos + 1);
            auto end = close == std::string_view::npos ? m_text.size() : close;
            field.assign(m_text.substr(m_pos + 1, end - m_pos - 1));
            m_pos = end == m_text.size() ? end : end + 1;
            // Whatever stands between the closing quote and the delimiter is dropped.
            while (m_pos < m_text.size() && m_text[m_pos] != ',' && !isLineEnd(m_text[m_pos]))
                ++m_pos;
        } else {
            auto start = m_pos;
            while (m_pos < m_text.size() && m_text[m_pos] != ',' && !isLineEnd(m_text[m_pos]))
                ++m_pos;
            field.assign(m_text.substr(start, m_pos - start));
        }
        endField();
        return true;
    }

private:
    static bool isLineEnd(char c) { return c == '\r' || c == '\n'; }

    void skipBlanks()
    {
        while (m_pos < m_text.size() && (m_text[m_pos] == ' ' || m_text[m_pos] == '\t'))
            ++m_pos;
    }

    void skipLineEnd()
    {
        if (m_text[m_pos] == '\r' && m_pos + 1 < m_text.size() && m_text[m_pos + 1] == '\n')
            m_pos += 2;
        else
            ++m_pos;
    }

    void endField()
    {
        if (m_pos >= m_text.size())
            return;
        if (m_text[m_pos] == ',') {
            ++m_pos;
            m_afterComma = true;
        } else {
            skipLineEnd();
        }
    }

    std::string_view m_text;
    std::size_t m_pos = 0;
    bool m_afterComma = false;
};

} // namespace

std::string readWholeFile(const std::filesystem::path& path)
{
    const std::string name = path.string();
    std::error_code ec;
    auto status = std::filesystem::status(path, ec);
    if (status.type() == std::filesystem::file_type::not_found)
        throw Failure(err::FileNotFound, "File not found: " + name);
    if (!ec && status.type() != std::filesystem::file_type::regular)
        throw Failure(err::PathFileAccess, name + " is not a file");

    errno = 0;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(name.c_str(), "rb"),
                                                         &std::fclose);
    if (!file) {
        int e = errno;
        if (e == ENOENT)
            throw Failure(err::FileNotFound, "File not found: " + name);
        if (e == EACCES || e == EPERM)
            throw Failure(err::PermissionDenied, "Permission denied: cannot read " + name);
        throw Failure(err::PathFileAccess, "Cannot open " + name + ": " + std::strerror(e));
    }
    std::string text;
    char buffer[16384];
    for (;;) {
        std::size_t n = std::fread(buffer, 1, sizeof buffer, file.get());
        text.append(buffer, n);
        if (n < sizeof buffer)
            break;
    }
    if (std::ferror(file.get()))
        throw Failure(err::DeviceIO, "Cannot read " + name + ": " + std::strerror(errno));
    return text;
}

void readDateTable(DateTable& table, std::string_view text, const std::string& fileName)
{
    FieldReader reader(text);
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

void loadDateTable(DateTable& table, const std::filesystem::path& path)
{
    readDateTable(table, readWholeFile(path), path.string());
}

} // namespace halvane
