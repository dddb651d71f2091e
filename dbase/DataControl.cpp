#include "DataControl.h"

#include "Failure.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <vector>

#ifndef _WIN32
#include <pwd.h>
#include <unistd.h>
#endif

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

#ifndef _WIN32
std::filesystem::path homeFolder()
{
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    if (const passwd* user = getpwuid(getuid()); user && user->pw_dir)
        return user->pw_dir;
    return "/";
}

std::filesystem::path winePrefix()
{
    if (const char* prefix = std::getenv("WINEPREFIX"); prefix && *prefix)
        return prefix;
    return homeFolder() / ".wine";
}
#endif

} // namespace

std::filesystem::path databaseFolder(std::string_view windowsFolder)
{
#ifdef _WIN32
    return std::filesystem::path(windowsFolder);
#else
    std::filesystem::path folder;
    std::string_view rest = windowsFolder;
    if (rest.size() >= 2 && rest[1] == ':' && std::isalpha(static_cast<unsigned char>(rest[0]))) {
        const char drive = static_cast<char>(std::tolower(static_cast<unsigned char>(rest[0])));
        folder = drive == 'c' ? winePrefix() / "drive_c"
                              : winePrefix() / "dosdevices" / (std::string(1, drive) + ":");
        rest.remove_prefix(2);
    }
    while (!rest.empty()) {
        const auto end = rest.find_first_of("\\/");
        if (auto part = rest.substr(0, end); !part.empty())
            folder /= std::filesystem::path(part);
        rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
    }
    return folder;
#endif
}

DataControl::DataControl()
    : DataControl(databaseFolder(kDatabaseName), {}, Access::ReadWrite, systemFileIo())
{
}

DataControl::DataControl(std::filesystem::path tableFile, Access access, FileIo& io)
    : DataControl({}, std::move(tableFile), access, io)
{
}

DataControl::DataControl(std::filesystem::path folder, std::filesystem::path tableFile,
                         Access access, FileIo& io)
    : m_folder(std::move(folder)), m_tableFile(std::move(tableFile)), m_access(access), m_io(io)
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
    if (auto error = m_io.stat(file, now)) {
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
    m_recordset = DbfRecordSet::open(file, m_access, m_io);
    return m_recordset.get();
}

} // namespace halvane::dbase
