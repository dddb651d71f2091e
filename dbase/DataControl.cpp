#include "dbase/DataControl.h"

#include "system/DisplayName.h"
#include "system/Failure.h"
#include "system/Platform.h"
#include "system/Service.h"

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

DataControl::DataControl(Access access)
    : DataControl(platform::windowsFolder(kDatabaseName), {}, access)
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
        if (sameIgnoringCase(platform::utf8Name(it->path().filename()), kTableFileName))
            found.push_back(it->path());
    std::sort(found.begin(), found.end());
    if (found.empty())
        return m_folder / kTableFileName;
    if (strict && found.size() > 1) {
        std::string names;
        for (const auto& f : found)
            names += (names.empty() ? "" : ", ") + displayName(f.filename());
        throw Failure(err::CouldNotOpenFile, "Couldn't open file: " + displayName(m_folder) +
                                                 " holds more than one table named SHAMSI.DBF (" +
                                                 displayText(names) + "); keep only one of them");
    }
    return found.front();
}

std::filesystem::path DataControl::tablePath() const
{
    return resolve(false);
}

void DataControl::Refresh()
{
    m_recordset.reset();
    try {
        Recordset();
    } catch (...) {
        // Nothing to hold on to; Recordset() tries again at the run and
        // reports why.
    }
    m_recordset.reset();
}

RecordSet* DataControl::Recordset()
{
    if (m_recordset) {
        m_recordset->requireUnchanged();
        return m_recordset.get();
    }
    const auto file = resolve(true);
    FileIo::Status now;
    if (auto error = service<FileIo>().stat(file, now)) {
        if (error == std::errc::no_such_file_or_directory || error == std::errc::not_a_directory)
            return nullptr;
        throw ioFailure(error, "cannot open", file);
    }
    m_recordset = DbfRecordSet::open(file, m_access);
    return m_recordset.get();
}

void DataControl::Close()
{
    m_recordset.reset();
}

} // namespace halvane::dbase
