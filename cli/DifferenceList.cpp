#include "cli/DifferenceList.h"

#include "cli/Console.h"
#include "cli/NotFoundList.h"

namespace halvane::cli
{
namespace
{

std::string shown(const std::optional<std::string>& text)
{
    return text ? printable(*text) : "(not found)";
}

} // namespace

DifferenceList::DifferenceList(std::string tableFile, bool listed)
    : m_tableFile(std::move(tableFile)),
      m_lines(listed ? std::make_unique<SpooledLines>() : nullptr)
{
}

void DifferenceList::add(long record, std::string_view field, std::string_view date,
                         const std::optional<std::string>& tableText,
                         const std::optional<std::string>& exactText)
{
    ++m_count;
    if (m_lines)
        m_lines->add("  record " + std::to_string(record) + ", " + printable(field) + ": " +
                     printable(date) + ": " + shown(tableText) + " -> " + shown(exactText) + "\n");
}

std::string DifferenceList::summary() const
{
    return std::to_string(m_count) + (m_count == 1 ? " differs from " : " differ from ") +
           m_tableFile;
}

void DifferenceList::print(std::FILE* out)
{
    if (m_count == 0 || !m_lines)
        return;
    printText(out, "Exact dates that differ from %s: %ld\n", m_tableFile.c_str(), m_count);
    m_lines->print(out);
}

} // namespace halvane::cli
