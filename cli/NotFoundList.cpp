#include "cli/NotFoundList.h"

#include "core/ShamsiConv.h"

namespace halvane::cli
{

NotFoundList::NotFoundList() : m_spool(std::tmpfile()) {}

NotFoundList::~NotFoundList()
{
    if (m_spool)
        std::fclose(m_spool);
}

void NotFoundList::add(long record, std::string_view field, std::string_view value)
{
    std::string line = "  record " + std::to_string(record) + ", " + std::string(field) + ": " +
                       printable(value) + "\n";
    if (m_spool)
        std::fputs(line.c_str(), m_spool); // a write error shows at print()
    else
        m_lines += line;
    ++m_count;
}

void NotFoundList::print(std::FILE* out)
{
    if (m_count == 0)
        return;
    std::fprintf(out, "%.*s (%.*s): %ld\n", int(kDateNotFoundText.size()), kDateNotFoundText.data(),
                 int(kDateNotFoundTitle.size()), kDateNotFoundTitle.data(), m_count);
    if (m_spool) {
        // rewind() clears the error indicator: learn first whether every line got in.
        const bool complete = std::fflush(m_spool) == 0 && !std::ferror(m_spool);
        std::rewind(m_spool);
        char buffer[1 << 16];
        std::size_t n = 0;
        while ((n = std::fread(buffer, 1, sizeof buffer, m_spool)) > 0)
            std::fwrite(buffer, 1, n, out);
        if (!complete || std::ferror(m_spool))
            std::fputs("  (the list is incomplete: its temporary file could not be written)\n",
                       out);
    }
    std::fputs(m_lines.c_str(), out);
}

std::string printable(std::string_view text)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x20 && b < 0x7F && b != '\\') {
            out += c;
        } else {
            out += "\\x";
            out += kHex[b >> 4];
            out += kHex[b & 0xF];
        }
    }
    return out;
}

} // namespace halvane::cli
