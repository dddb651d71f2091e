// FileIo over the Win32 API. A table is opened sharing reading, writing and
// deleting, so the exporting program can still write, rename or replace it
// while it is open. Reads are positioned (ReadFile with the offset in an
// OVERLAPPED on a synchronous handle); who a file is comes from
// GetFileInformationByHandle (volume serial number and file index). Errors
// are Win32 error codes in a category of their own, which compares with
// std::errc, so the engine reports them under the numbers it uses everywhere,
// and which describes a sharing or lock violation in words a user can act on.
//
// Writes to a file opened for writing go into a view of a 4 MiB window of the
// file (CreateFileMappingW, MapViewOfFile), moved along as the walk moves: a
// save is then a store into the file's own pages, seen by every reader and
// kept if the process ends by any path, without a system call per field (a
// GetFileSizeEx and a WriteFile per field made a run under Wine some 250
// times slower).
// A field is saved as on POSIX (dbase/FieldStore.h): compared with what the
// run read, then one store of 8 bytes (or 1), or one WriteFile of the whole
// field when more bytes than that change.
//
// While a view is mapped Windows refuses to shorten the file (SetEndOfFile
// fails with ERROR_USER_MAPPED_FILE), so a table cannot lose the page a save
// writes. A touch of a view can still fail when the system cannot read the
// page in (a network or removable drive lost, an I/O error; under Wine, a
// Unix program shortened the file): EXCEPTION_IN_PAGE_ERROR. A vectored
// exception handler catches it around our own touches of the view, and only
// there: the file is then written with WriteFile from then on, which reports
// the reason, or that the file no longer reaches that far.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include "dbase/FieldStore.h"
#include "dbase/FileIo.h"
#include "system/WideText.h"

#include <algorithm>
#include <atomic>
#include <cstring>
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

// ---- The guard around touches of a view -------------------------------------

// The touch of a view in progress on this thread: where to return to when it
// faults, and the view it touches. Read by the exception handler.
struct TouchGuard {
    void* resume[5] = {}; // for __builtin_setjmp
    bool active = false;
    const char* begin = nullptr;
    const char* end = nullptr;
};
thread_local TouchGuard t_touch;

// Where a faulted touch goes on: back to its guard, which returns false. The
// builtin jump restores only the frame and the stack, which is all a touch
// (a comparison and a store, no frame of its own to unwind) needs.
[[noreturn]] __attribute__((noinline, force_align_arg_pointer)) void resumeAfterFault()
{
    __builtin_longjmp(t_touch.resume, 1);
}

// A fault inside the guarded view continues as if the faulting instruction
// had called resumeAfterFault. The handler returns rather than jumping away
// itself, so the system ends its dispatch of the exception (and its frames
// on the stack) the normal way. Any other exception is left to the handlers
// there were before.
LONG CALLBACK onTouchFault(EXCEPTION_POINTERS* exception)
{
    const EXCEPTION_RECORD& r = *exception->ExceptionRecord;
    if (r.ExceptionCode != EXCEPTION_IN_PAGE_ERROR && r.ExceptionCode != EXCEPTION_ACCESS_VIOLATION)
        return EXCEPTION_CONTINUE_SEARCH;
    const TouchGuard& guard = t_touch;
    const auto* at =
        reinterpret_cast<const char*>(r.NumberParameters >= 2 ? r.ExceptionInformation[1] : 0);
    if (!guard.active || at < guard.begin || at >= guard.end)
        return EXCEPTION_CONTINUE_SEARCH;
    CONTEXT& c = *exception->ContextRecord;
#if defined(__x86_64__)
    DWORD64& ip = c.Rip;
    DWORD64& sp = c.Rsp;
    constexpr std::uintptr_t kShadowSpace = 32; // the callee's, above its return address
#else
    DWORD& ip = c.Eip;
    DWORD& sp = c.Esp;
    constexpr std::uintptr_t kShadowSpace = 0;
#endif
    // Below the faulting frame's stack, 16-byte aligned as at a call: the
    // return address is the faulting instruction's, so the stack reads as a
    // call from there.
    std::uintptr_t top = (static_cast<std::uintptr_t>(sp) - 128) & ~std::uintptr_t(15);
    top -= kShadowSpace + sizeof(void*);
    *reinterpret_cast<std::uintptr_t*>(top) = static_cast<std::uintptr_t>(ip);
    sp = top;
    ip = reinterpret_cast<std::uintptr_t>(&resumeAfterFault);
    return EXCEPTION_CONTINUE_EXECUTION;
}

void installFaultHandler()
{
    static const void* const handler = ::AddVectoredExceptionHandler(1, onTouchFault);
    (void)handler;
}

// Runs `body`, which touches the view [begin, end). False when it faulted;
// some of its bytes may be written then.
template <class Body> bool guarded(const char* begin, const char* end, Body&& body)
{
    TouchGuard& guard = t_touch;
    if (__builtin_setjmp(guard.resume) != 0) {
        t_touch.active = false;
        return false;
    }
    guard.begin = begin;
    guard.end = end;
    std::atomic_signal_fence(std::memory_order_seq_cst);
    guard.active = true;
    std::atomic_signal_fence(std::memory_order_seq_cst);
    body();
    std::atomic_signal_fence(std::memory_order_seq_cst);
    guard.active = false;
    return true;
}

// PrefetchVirtualMemory, which Windows 7 lacks: asked for by name.
struct MemoryRange {
    void* address;
    SIZE_T bytes;
};
using PrefetchFunction = BOOL(WINAPI*)(HANDLE, ULONG_PTR, MemoryRange*, ULONG);

PrefetchFunction prefetchFunction()
{
    static const auto function = reinterpret_cast<PrefetchFunction>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "PrefetchVirtualMemory")));
    return function;
}

// ---- Files -------------------------------------------------------------------

// Windows of this size are mapped in turn as a walk moves through the file,
// so the address space used does not grow with the table. A multiple of the
// system's allocation granularity (64 KiB), as a view's offset must be.
constexpr std::uint64_t kWindow = 4 * 1024 * 1024;

struct OpenFile {
    HANDLE h = INVALID_HANDLE_VALUE;
    bool mapped = false; // written through views (until a touch faults)
    // The view that writes fall in now, or nullptr.
    char* base = nullptr;
    std::uint64_t start = 0;
    std::size_t length = 0;
    bool dirty = false;
};

OpenFile& of(FileIo::Handle file)
{
    return *reinterpret_cast<OpenFile*>(file);
}

std::error_code fileSize(HANDLE h, std::uint64_t& size)
{
    LARGE_INTEGER now{};
    if (!::GetFileSizeEx(h, &now))
        return lastError();
    size = static_cast<std::uint64_t>(now.QuadPart);
    return {};
}

// One WriteFile at `offset`, never past the end of the file: WriteFile there
// would extend it, and a table shortened by another program is not written.
std::error_code writeAt(HANDLE h, std::uint64_t offset, std::span<const char> from,
                        std::size_t& done)
{
    done = 0;
    std::uint64_t size = 0;
    if (auto error = fileSize(h, size))
        return error;
    if (offset + from.size() > size)
        return FileIo::pastEndOfFile();
    OVERLAPPED where = at(offset);
    DWORD put = 0;
    const auto n = static_cast<DWORD>(std::min(from.size(), kMaxTransfer));
    if (!::WriteFile(h, from.data(), n, &put, &where))
        return lastError();
    done = put;
    return {};
}

void unmap(OpenFile& f)
{
    if (f.base) {
        // The walk has moved on: start writing these pages to disk now, so
        // that the sync at the end has less to wait for.
        if (f.dirty)
            ::FlushViewOfFile(f.base, 0);
        ::UnmapViewOfFile(f.base);
    }
    f.base = nullptr;
    f.start = 0;
    f.length = 0;
    f.dirty = false;
}

// Maps the window around [offset, offset + n) of a file of `size` bytes;
// where the system gives no view, the file is written with WriteFile.
void mapWindow(OpenFile& f, std::uint64_t offset, std::size_t n, std::uint64_t size)
{
    installFaultHandler();
    unmap(f);
    const std::uint64_t start = offset / kWindow * kWindow;
    const auto length =
        static_cast<std::size_t>(std::min(size - start, std::max(kWindow, offset + n - start)));
    // A section of the file's size as it is now (0, 0): one of a given size
    // would extend a file that another program has just shortened.
    HANDLE section = ::CreateFileMappingW(f.h, nullptr, PAGE_READWRITE, 0, 0, nullptr);
    void* base = section ? ::MapViewOfFile(section, FILE_MAP_WRITE, static_cast<DWORD>(start >> 32),
                                           static_cast<DWORD>(start & 0xFFFFFFFFu), length)
                         : nullptr;
    if (section)
        ::CloseHandle(section); // the view keeps it
    if (!base) {
        f.mapped = false;
        return;
    }
    f.base = static_cast<char*>(base);
    f.start = start;
    f.length = length;
    // The walk goes on from here: the rest of the window is read in with
    // one request rather than a fault at each page.
    if (const PrefetchFunction prefetch = prefetchFunction()) {
        const std::size_t page = static_cast<std::size_t>(offset - start) / 4096 * 4096;
        MemoryRange range{f.base + page, length - page};
        prefetch(::GetCurrentProcess(), 1, &range, 0);
    }
}

// For a file written through views: moves the view to the window that holds
// [offset, offset + n), failing past the end of the file.
std::error_code reach(OpenFile& f, std::uint64_t offset, std::size_t n)
{
    if (!f.mapped || (f.base && offset >= f.start && offset + n <= f.start + f.length))
        return {};
    std::uint64_t size = 0;
    if (auto error = fileSize(f.h, size))
        return error;
    if (offset + n > size)
        return FileIo::pastEndOfFile();
    mapWindow(f, offset, n, size);
    return {};
}

// The end of the view's pages: a masked store may address bytes past the
// view's length up to there (and writes none of them).
const char* viewEnd(const OpenFile& f)
{
    return f.base ? f.base + (f.length + 4095) / 4096 * 4096 : nullptr;
}

// Runs `body` with the place of `offset` in the view; false when there is no
// view, or when the body faulted: the file is written with WriteFile from
// then on, which tells why.
template <class Body> bool throughView(OpenFile& f, std::uint64_t offset, Body&& body)
{
    if (!f.mapped || !f.base)
        return false;
    char* to = f.base + (offset - f.start);
    if (guarded(f.base, viewEnd(f), [&] { body(to); }))
        return true;
    f.dirty = false; // nothing to flush from a view the system cannot page in
    unmap(f);
    f.mapped = false;
    return false;
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
        auto* opened = new OpenFile;
        opened->h = h;
        opened->mapped = mode == Mode::ReadWrite;
        out = reinterpret_cast<Handle>(opened);
        return {};
    }

    std::error_code status(Handle file, Status& out) override { return statusOf(of(file).h, out); }

    std::error_code read(Handle file, std::uint64_t offset, std::span<char> into,
                         std::size_t& done) override
    {
        done = 0;
        OVERLAPPED where = at(offset);
        DWORD got = 0;
        const auto n = static_cast<DWORD>(std::min(into.size(), kMaxTransfer));
        if (!::ReadFile(of(file).h, into.data(), n, &got, &where)) {
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
        OpenFile& f = of(file);
        if (from.empty())
            return {};
        if (auto error = reach(f, offset, from.size()))
            return error;
        if (throughView(f, offset, [&](char* to) {
                f.dirty = true;
                std::memcpy(to, from.data(), from.size());
            })) {
            done = from.size();
            return {};
        }
        return writeAt(f.h, offset, from, done);
    }

    std::error_code replace(Handle file, std::uint64_t offset, std::span<const char> was,
                            std::span<const char> now, bool& kept) override
    {
        kept = false;
        OpenFile& f = of(file);
        if (now.empty())
            return {};
        if (auto error = reach(f, offset, now.size()))
            return error;
        const FieldStore store = storeFor(was, now);
        if (throughView(f, offset, [&](char* to) {
                kept = !sameBytes(to, was.data(), was.size());
                if (kept || store.size == 0)
                    return;
                f.dirty = true;
                storeField(to, now, store, viewEnd(f));
                storeFence();
            })) {
            if (kept || store.size != 0)
                return {};
            // A change too wide for one store: one WriteFile of the field.
            std::size_t done = 0;
            if (auto error = writeAt(f.h, offset, now, done))
                return error;
            return done == now.size() ? std::error_code{}
                                      : std::make_error_code(std::errc::no_space_on_device);
        }
        return replaceByWriting(*this, file, offset, was, now, kept);
    }

    std::error_code sync(Handle file) override
    {
        OpenFile& f = of(file);
        if (f.base && f.dirty && !::FlushViewOfFile(f.base, 0))
            return lastError();
        return ::FlushFileBuffers(f.h) ? std::error_code{} : lastError();
    }

    std::error_code close(Handle file) override
    {
        OpenFile* f = &of(file);
        if (f->base)
            ::UnmapViewOfFile(f->base);
        const bool closed = ::CloseHandle(f->h);
        const std::error_code result = closed ? std::error_code{} : lastError();
        delete f;
        return result;
    }
};

} // namespace

FileIo& FileIo::system()
{
    static Win32FileIo io;
    return io;
}

} // namespace halvane::dbase
