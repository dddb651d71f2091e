#include "cli/SpooledLines.h"

namespace halvane::cli
{

SpooledLines::SpooledLines() : m_spool(std::tmpfile()) {}

SpooledLines::~SpooledLines()
{
    if (m_spool)
        std::fclose(m_spool);
}

void SpooledLines::add(const std::string& line)
{
    if (m_spool)
        std::fputs(line.c_str(), m_spool); // a write error shows at print()
    else
        m_lines += line;
}

void SpooledLines::print(std::FILE* out)
{
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
        std::fseek(m_spool, 0, SEEK_END); // a write may follow a read only after a seek
    }
    std::fputs(m_lines.c_str(), out);
}

} // namespace halvane::cli
