#include "cli/NotFoundList.h"

#include "core/ShamsiConv.h"

namespace halvane::cli
{

void NotFoundList::add(long record, std::string_view field, std::string_view value)
{
    m_lines.add("  record " + std::to_string(record) + ", " + std::string(field) + ": " +
                printable(value) + "\n");
    ++m_count;
}

void NotFoundList::print(std::FILE* out)
{
    if (m_count == 0)
        return;
    std::fprintf(out, "%.*s (%.*s): %ld\n", int(kDateNotFoundText.size()), kDateNotFoundText.data(),
                 int(kDateNotFoundTitle.size()), kDateNotFoundTitle.data(), m_count);
    m_lines.print(out);
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
