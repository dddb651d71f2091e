#include "dbase/DataControl.h"

#include "core/Failure.h"
#include "core/Platform.h"
#include "core/Service.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <vector>

namespace halvane::dbase
{

namespace
{

constexpr std::string_view kTableFileName = "Shamsi.dbf";

bool sameIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) ==
                      std::toupper(static_cast<unsigned char>(y));
           });
}

} // namespace

DataControl::DataControl()
    : DataControl(platform::windowsFolder(kDatabaseName), {}, Access::ReadWrite)
{
}

DataControl::DataControl(std::filesystem::path tableFile, Access access)
    : DataControl({}, std::move(tableFile), access)
{
}

DataControl::DataControl(std::filesystem::path folder, std::filesystem::path tableFile,
                         Access access)
    : m_folder(std::move(folder)), m_tableFile(std::move(tableFile)), m_access(access)
{
}

std::filesystem::path DataControl::resolve(bool strict) const
{
    if (m_folder.empty())
        return m_tableFile;
    // The Windows file system matches names without regard to case; so does
    // the table lookup, whatever the file system here.
    std::vector<std::filesystem::path> found;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(m_folder, ec), end; !ec && it != end;
         it.increment(ec))
        if (sameIgnoringCase(it->path().filename().string(), kTableFileName))
            found.push_back(it->path());
    std::sort(found.begin(), found.end());
    if (found.empty())
        return m_folder / kTableFileName;
    if (strict && found.size() > 1) {
        std::string names;
        for (const auto& f : found)
            names += (names.empty() ? "" : ", ") + f.filename().string();
        throw Failure(err::CouldNotOpenFile, "Couldn't open file: " + displayName(m_folder) +
                                                 " holds more than one table named SHAMSI.DBF (" +
                                                 names + "); keep only one of them");
    }
    return found.front();
}

std::filesystem::path DataControl::tablePath() const
{
    return resolve(false);
}

void DataControl::Refresh()
{
    try {
        m_recordset.reset();
        Recordset();
    } catch (...) {
        // No record set for now; Recordset() tries again and reports why.
        m_recordset.reset();
    }
}

RecordSet* DataControl::Recordset()
{
    const auto file = resolve(true);
    FileIo::Status now;
    if (auto error = service<FileIo>().stat(file, now)) {
        if (error == std::errc::no_such_file_or_directory || error == std::errc::not_a_directory) {
            m_recordset.reset();
            return nullptr;
        }
        throw ioFailure(error, "cannot open", file);
    }
    if (m_recordset) {
        const auto& opened = m_recordset->openedStatus();
        if (m_recordset->path() == file && now.device == opened.device &&
            now.inode == opened.inode && now.size == opened.size)
            return m_recordset.get();
        m_recordset.reset();
    }
    m_recordset = DbfRecordSet::open(file, m_access);
    return m_recordset.get();
}

} // namespace halvane::dbase
