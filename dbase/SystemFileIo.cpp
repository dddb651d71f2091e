#include "dbase/SystemFileIo.h"

#include <algorithm>
#include <cerrno>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#include <sys/types.h>
#else
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace halvane::dbase
{

namespace
{

std::error_code lastError()
{
    return {errno, std::generic_category()};
}

#ifdef _WIN32
using StatBuffer = struct _stat64;
#else
using StatBuffer = struct stat;
#endif

FileIo::Status toStatus(const StatBuffer& st)
{
    FileIo::Status s;
    s.size = static_cast<std::uint64_t>(st.st_size);
    s.device = static_cast<std::uint64_t>(st.st_dev);
    s.inode = static_cast<std::uint64_t>(st.st_ino);
    s.regular = (st.st_mode & S_IFMT) == S_IFREG;
    s.directory = (st.st_mode & S_IFMT) == S_IFDIR;
    return s;
}

} // namespace

#ifdef _WIN32

// The C run-time's low-level files: no positioned calls there, so each read
// and write seeks first. The engine uses a handle from one thread only.
std::error_code SystemFileIo::stat(const std::filesystem::path& file, Status& out)
{
    StatBuffer st{};
    if (_wstat64(file.c_str(), &st) != 0)
        return lastError();
    out = toStatus(st);
    return {};
}

std::error_code SystemFileIo::open(const std::filesystem::path& file, Mode mode, Handle& out)
{
    int flags = _O_BINARY | _O_NOINHERIT | (mode == Mode::ReadWrite ? _O_RDWR : _O_RDONLY);
    if (_wsopen_s(&out, file.c_str(), flags, _SH_DENYNO, _S_IREAD | _S_IWRITE) != 0)
        return lastError();
    return {};
}

std::error_code SystemFileIo::status(Handle file, Status& out)
{
    StatBuffer st{};
    if (_fstat64(file, &st) != 0)
        return lastError();
    out = toStatus(st);
    return {};
}

std::error_code SystemFileIo::read(Handle file, std::uint64_t offset, std::span<char> into,
                                   std::size_t& done)
{
    done = 0;
    if (_lseeki64(file, static_cast<__int64>(offset), SEEK_SET) < 0)
        return lastError();
    int n = _read(file, into.data(), static_cast<unsigned>(into.size()));
    if (n < 0)
        return lastError();
    done = static_cast<std::size_t>(n);
    return {};
}

std::error_code SystemFileIo::write(Handle file, std::uint64_t offset, std::span<const char> from,
                                    std::size_t& done)
{
    done = 0;
    if (_lseeki64(file, static_cast<__int64>(offset), SEEK_SET) < 0)
        return lastError();
    int n = _write(file, from.data(), static_cast<unsigned>(from.size()));
    if (n < 0)
        return lastError();
    done = static_cast<std::size_t>(n);
    return {};
}

std::error_code SystemFileIo::sync(Handle file)
{
    return _commit(file) == 0 ? std::error_code{} : lastError();
}

std::error_code SystemFileIo::close(Handle file)
{
    return _close(file) == 0 ? std::error_code{} : lastError();
}

#else

std::error_code SystemFileIo::stat(const std::filesystem::path& file, Status& out)
{
    StatBuffer st{};
    if (::stat(file.c_str(), &st) != 0)
        return lastError();
    out = toStatus(st);
    return {};
}

std::error_code SystemFileIo::open(const std::filesystem::path& file, Mode mode, Handle& out)
{
    int flags = O_CLOEXEC | (mode == Mode::ReadWrite ? O_RDWR : O_RDONLY);
    int fd;
    do {
        fd = ::open(file.c_str(), flags);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return lastError();
    out = fd;
    if (mode == Mode::ReadWrite) {
        std::lock_guard lock(m_mutex);
        m_windows[fd] = {};
    }
    return {};
}

std::error_code SystemFileIo::status(Handle file, Status& out)
{
    StatBuffer st{};
    if (::fstat(file, &st) != 0)
        return lastError();
    out = toStatus(st);
    return {};
}

std::error_code SystemFileIo::read(Handle file, std::uint64_t offset, std::span<char> into,
                                   std::size_t& done)
{
    done = 0;
    ssize_t n;
    do {
        n = ::pread(file, into.data(), into.size(), static_cast<off_t>(offset));
    } while (n < 0 && errno == EINTR);
    if (n < 0)
        return lastError();
    done = static_cast<std::size_t>(n);
    return {};
}

// Windows of this size are mapped in turn as a walk moves through the file,
// so the memory used does not grow with the table.
constexpr std::size_t kWindow = 8 * 1024 * 1024;

void SystemFileIo::unmap(Window& window)
{
    if (window.length)
        ::munmap(window.base, window.length);
    window = {};
}

bool SystemFileIo::mapWindow(Handle file, Window& window, std::uint64_t offset, std::size_t size)
{
    unmap(window);
    struct stat st {
    };
    if (::fstat(file, &st) != 0 || offset + size > static_cast<std::uint64_t>(st.st_size))
        return false;
    const auto page = static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
    const std::uint64_t start = offset / page * page;
    const auto length = static_cast<std::size_t>(
        std::min<std::uint64_t>(kWindow, static_cast<std::uint64_t>(st.st_size) - start));
    if (offset + size > start + length)
        return false;
    void* base = ::mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_SHARED, file,
                        static_cast<off_t>(start));
    if (base == MAP_FAILED)
        return false;
#ifdef MADV_POPULATE_WRITE
    // Makes the pages writable now: a file system that cannot provide them
    // (no space for a copy-on-write block, an I/O error) says so here, and
    // the write falls back to pwrite, which reports it, instead of the copy
    // faulting later.
    if (::madvise(base, length, MADV_POPULATE_WRITE) != 0 && errno != EINVAL) {
        ::munmap(base, length);
        return false;
    }
#endif
    window = {static_cast<char*>(base), start, length};
    return true;
}

std::error_code SystemFileIo::write(Handle file, std::uint64_t offset, std::span<const char> from,
                                    std::size_t& done)
{
    done = 0;
    {
        std::lock_guard lock(m_mutex);
        if (auto it = m_windows.find(file); it != m_windows.end()) {
            Window& w = it->second;
            const bool inside =
                w.length && offset >= w.start && offset + from.size() <= w.start + w.length;
            if (inside || mapWindow(file, w, offset, from.size())) {
                std::memcpy(w.base + (offset - w.start), from.data(), from.size());
                done = from.size();
                return {};
            }
        }
    }
    ssize_t n;
    do {
        n = ::pwrite(file, from.data(), from.size(), static_cast<off_t>(offset));
    } while (n < 0 && errno == EINTR);
    if (n < 0)
        return lastError();
    done = static_cast<std::size_t>(n);
    return {};
}

std::error_code SystemFileIo::sync(Handle file)
{
    {
        std::lock_guard lock(m_mutex);
        if (auto it = m_windows.find(file);
            it != m_windows.end() && it->second.length &&
            ::msync(it->second.base, it->second.length, MS_SYNC) != 0)
            return lastError();
    }
    int r;
    do {
        r = ::fsync(file);
    } while (r != 0 && errno == EINTR);
    return r == 0 ? std::error_code{} : lastError();
}

std::error_code SystemFileIo::close(Handle file)
{
    {
        std::lock_guard lock(m_mutex);
        if (auto it = m_windows.find(file); it != m_windows.end()) {
            unmap(it->second);
            m_windows.erase(it);
        }
    }
    // Not retried on EINTR: the descriptor is released either way on Linux.
    return ::close(file) == 0 ? std::error_code{} : lastError();
}

#endif

FileIo& FileIo::system()
{
    static SystemFileIo io;
    return io;
}

} // namespace halvane::dbase
