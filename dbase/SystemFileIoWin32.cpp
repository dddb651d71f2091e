// FileIo over the Win32 API. A table is opened sharing reading, writing and
// deleting, so the exporting program can still write, rename or replace it
// while it is open. Reads and writes are positioned (ReadFile and WriteFile
// with the offset in an OVERLAPPED on a synchronous handle); who a file is
// comes from GetFileInformationByHandle (volume serial number and file
// index). Errors are Win32 error codes in a category of their own, which
// compares with std::errc, so the engine reports them under the numbers it
// uses everywhere, and which describes a sharing or lock violation in words a
// user can act on.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include "dbase/FileIo.h"
#include "system/WideText.h"

#include <algorithm>
#include <windows.h>

namespace halvane::dbase
{
namespace
{

// ERROR_DISK_QUOTA_EXCEEDED, which not every SDK's headers name.
constexpr DWORD kDiskQuotaExceeded = 1295;
// A sharing violation, told by what the holder shares: codes of our own (the
// bit Windows leaves to applications), each a sharing violation otherwise.
constexpr DWORD kSharesReadingOnly = 0x20000001;
constexpr DWORD kSharesWritingOnly = 0x20000002;

class Win32Category final : public std::error_category
{
public:
    const char* name() const noexcept override { return "win32"; }

    std::string message(int code) const override
    {
        switch (static_cast<DWORD>(code)) {
        case ERROR_SHARING_VIOLATION:
            return "the file is open in another program that lets no other program read or "
                   "write it (sharing violation); close that program and try again";
        case kSharesReadingOnly:
            return "the file is open in another program that lets others read it but not write "
                   "it (sharing violation); close that program and try again";
        case kSharesWritingOnly:
            return "the file is open in another program that lets others write it but not read "
                   "it (sharing violation); close that program and try again";
        case ERROR_LOCK_VIOLATION:
            return "another program has locked part of the file (lock violation); close that "
                   "program and try again";
        default:
            break;
        }
        wchar_t* text = nullptr;
        const DWORD n = ::FormatMessageW(
            FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                FORMAT_MESSAGE_IGNORE_INSERTS,
            nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
        std::string out;
        if (n > 0 && text)
            out = utf8(std::wstring_view(text, n));
        if (text)
            ::LocalFree(text);
        while (!out.empty() &&
               (out.back() == '\n' || out.back() == '\r' || out.back() == ' ' || out.back() == '.'))
            out.pop_back();
        return out.empty() ? "Windows error " + std::to_string(code) : out;
    }

    std::error_condition default_error_condition(int code) const noexcept override
    {
        switch (static_cast<DWORD>(code)) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME:
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
            return std::errc::no_such_file_or_directory;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case kSharesReadingOnly:
        case kSharesWritingOnly:
        case ERROR_LOCK_VIOLATION:
        case ERROR_NETWORK_ACCESS_DENIED:
            return std::errc::permission_denied;
        case ERROR_WRITE_PROTECT:
            return std::errc::read_only_file_system;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
        case kDiskQuotaExceeded:
            return std::errc::no_space_on_device;
        case ERROR_DIRECTORY:
            return std::errc::not_a_directory;
        case ERROR_FILENAME_EXCED_RANGE:
            return std::errc::filename_too_long;
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY:
            return std::errc::not_enough_memory;
        case ERROR_CRC:
        case ERROR_READ_FAULT:
        case ERROR_WRITE_FAULT:
        case ERROR_GEN_FAILURE:
        case ERROR_IO_DEVICE:
        case ERROR_SECTOR_NOT_FOUND:
        case ERROR_NOT_READY:
            return std::errc::io_error;
        default:
            return {code, *this};
        }
    }
};

const std::error_category& win32Category()
{
    static const Win32Category category;
    return category;
}

std::error_code lastError()
{
    return {static_cast<int>(::GetLastError()), win32Category()};
}

HANDLE handleOf(FileIo::Handle file)
{
    return reinterpret_cast<HANDLE>(file);
}

OVERLAPPED at(std::uint64_t offset)
{
    OVERLAPPED o{};
    o.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
    o.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return o;
}

// A read or write of at most this many bytes at a time: the calls take a DWORD.
constexpr std::size_t kMaxTransfer = 1u << 30;

std::error_code statusOf(HANDLE h, FileIo::Status& out)
{
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(h, &info))
        return lastError();
    FileIo::Status s;
    s.size = (std::uint64_t(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    s.device = info.dwVolumeSerialNumber;
    s.inode = (std::uint64_t(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    s.directory = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    s.regular = !s.directory && ::GetFileType(h) == FILE_TYPE_DISK;
    s.links = info.nNumberOfLinks;
    // A file deleted while open keeps its name until the last handle closes.
    FILE_STANDARD_INFO standard{};
    if (::GetFileInformationByHandleEx(h, FileStandardInfo, &standard, sizeof standard) &&
        standard.DeletePending)
        s.links = 0;
    out = s;
    return {};
}

// Whether a file name is one Windows keeps for a device in every folder: CON,
// PRN, AUX, NUL, COM1 to COM9, LPT1 to LPT9, CONIN$, CONOUT$, in any case,
// with any extension and trailing spaces ("NUL.dbf" is the null device).
bool isDeviceName(const std::filesystem::path& file)
{
    std::wstring name = file.filename().wstring();
    name = name.substr(0, name.find(L'.'));
    while (!name.empty() && name.back() == L' ')
        name.pop_back();
    for (wchar_t& c : name)
        if (c >= L'a' && c <= L'z')
            c = static_cast<wchar_t>(c - L'a' + L'A');
    for (const wchar_t* device : {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"})
        if (name == device)
            return true;
    return name.size() == 4 && (name.starts_with(L"COM") || name.starts_with(L"LPT")) &&
           name[3] >= L'1' && name[3] <= L'9';
}

// After a sharing violation: what the program holding the file lets others
// do with it, found by asking for reading and for writing alone.
std::error_code sharingViolation(const std::filesystem::path& file)
{
    auto allows = [&](DWORD access) {
        HANDLE h = ::CreateFileW(file.c_str(), access,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            return false;
        ::CloseHandle(h);
        return true;
    };
    const bool reading = allows(GENERIC_READ), writing = allows(GENERIC_WRITE);
    const DWORD code = reading && !writing   ? kSharesReadingOnly
                       : writing && !reading ? kSharesWritingOnly
                                             : ERROR_SHARING_VIOLATION;
    return {static_cast<int>(code), win32Category()};
}

class Win32FileIo final : public FileIo
{
public:
    std::error_code stat(const std::filesystem::path& file, Status& out) override
    {
        // Opening such a name opens the device (the console, say), whatever
        // the folder.
        if (isDeviceName(file)) {
            out = Status{};
            out.regular = false;
            out.deviceName = true;
            return {};
        }
        // No access asked for: only the file's attributes are read. Backup
        // semantics let a directory be opened too, so it can be told apart.
        HANDLE h = ::CreateFileW(file.c_str(), FILE_READ_ATTRIBUTES,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            return lastError();
        const std::error_code result = statusOf(h, out);
        ::CloseHandle(h);
        return result;
    }

    std::error_code open(const std::filesystem::path& file, Mode mode, Handle& out) override
    {
        const DWORD access = GENERIC_READ | (mode == Mode::ReadWrite ? GENERIC_WRITE : 0);
        HANDLE h = ::CreateFileW(file.c_str(), access,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            return ::GetLastError() == ERROR_SHARING_VIOLATION ? sharingViolation(file)
                                                               : lastError();
        out = reinterpret_cast<Handle>(h);
        return {};
    }

    std::error_code status(Handle file, Status& out) override
    {
        return statusOf(handleOf(file), out);
    }

    std::error_code read(Handle file, std::uint64_t offset, std::span<char> into,
                         std::size_t& done) override
    {
        done = 0;
        OVERLAPPED where = at(offset);
        DWORD got = 0;
        const auto n = static_cast<DWORD>(std::min(into.size(), kMaxTransfer));
        if (!::ReadFile(handleOf(file), into.data(), n, &got, &where)) {
            if (::GetLastError() == ERROR_HANDLE_EOF)
                return {}; // at or past the end: nothing to read
            return lastError();
        }
        done = got;
        return {};
    }

    std::error_code write(Handle file, std::uint64_t offset, std::span<const char> from,
                          std::size_t& done) override
    {
        done = 0;
        if (from.empty())
            return {};
        // WriteFile past the end would extend the file: a table shortened by
        // another program is not written there.
        LARGE_INTEGER size{};
        if (!::GetFileSizeEx(handleOf(file), &size))
            return lastError();
        if (offset + from.size() > static_cast<std::uint64_t>(size.QuadPart))
            return pastEndOfFile();
        OVERLAPPED where = at(offset);
        DWORD put = 0;
        const auto n = static_cast<DWORD>(std::min(from.size(), kMaxTransfer));
        if (!::WriteFile(handleOf(file), from.data(), n, &put, &where))
            return lastError();
        done = put;
        return {};
    }

    // The field is written whole with one WriteFile, without reading it
    // first (a ReadFile per field would add a call to the two a field's save
    // already costs): it holds the run's text whole, never a part of it and
    // a part of another program's; a write of another program after this
    // one is found by the check at the end of the run.
    std::error_code replace(Handle file, std::uint64_t offset, std::span<const char>,
                            std::span<const char> now, bool& kept) override
    {
        kept = false;
        std::size_t done = 0;
        if (auto error = write(file, offset, now, done))
            return error;
        return done == now.size() ? std::error_code{}
                                  : std::make_error_code(std::errc::no_space_on_device);
    }

    std::error_code sync(Handle file) override
    {
        return ::FlushFileBuffers(handleOf(file)) ? std::error_code{} : lastError();
    }

    std::error_code close(Handle file) override
    {
        return ::CloseHandle(handleOf(file)) ? std::error_code{} : lastError();
    }
};

} // namespace

FileIo& FileIo::system()
{
    static Win32FileIo io;
    return io;
}

} // namespace halvane::dbase
