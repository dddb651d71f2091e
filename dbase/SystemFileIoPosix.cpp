// FileIo over the POSIX calls. Reads are positioned reads. Writes to a file
// opened for writing are copies into a shared mapping of a window of the
// file: a write is then a copy into the file's own pages, in the file (seen
// by every reader, kept if the process ends by any path) when it returns,
// without a system call per field.
//
// A write through a mapping marks a whole folio of the page cache dirty
// (up to 2 MiB on recent kernels), and writing it back gives disk space to
// all of it: in a window of the file that holds a hole, writes are pwrite
// instead, so a sparse file gets space for the blocks written and no more.
// Windows are aligned to their size, so no folio reaches into two of them.
//
// A field is saved by one store of 8 bytes (or 1) into the mapping when no
// more bytes than that change, else by one pwrite of the whole field, after
// comparing the field with what the run read: a kill never leaves a field
// part new, part old, and a field another program wrote meanwhile is left as
// it wrote it.
//
// A copy into a mapping faults (SIGBUS) when the file no longer reaches that
// far (it was shortened) or the system cannot provide the page (no space for
// it, an I/O error). The fault is caught around our own copies, and only
// there: the write then fails past the end of a shortened file, and
// otherwise the file is written with pwrite from then on, which reports the
// reason (disk full, I/O error) as an error.
#include "dbase/FieldStore.h"
#include "dbase/FileIo.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csetjmp>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <string>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace halvane::dbase
{
namespace
{

std::error_code lastError()
{
    return {errno, std::generic_category()};
}

FileIo::Status toStatus(const struct stat& st)
{
    FileIo::Status s;
    s.size = static_cast<std::uint64_t>(st.st_size);
    s.device = static_cast<std::uint64_t>(st.st_dev);
    s.inode = static_cast<std::uint64_t>(st.st_ino);
    s.regular = S_ISREG(st.st_mode);
    s.directory = S_ISDIR(st.st_mode);
    s.links = static_cast<std::uint64_t>(st.st_nlink);
    return s;
}

// ---- The guard around copies into a mapping --------------------------------

// The copy in progress on this thread: where to return to when it faults,
// and the mapping it writes into. Read by the signal handler.
struct CopyGuard {
    sigjmp_buf* resume = nullptr;
    const char* begin = nullptr;
    const char* end = nullptr;
};
thread_local CopyGuard t_copy;
struct sigaction g_previousBusAction;

void onBusError(int signal, siginfo_t* info, void* context)
{
    const auto* at = static_cast<const char*>(info->si_addr);
    if (t_copy.resume && at >= t_copy.begin && at < t_copy.end)
        siglongjmp(*t_copy.resume, 1);
    // Not a fault of our copy: handled as it was before ours was installed.
    const struct sigaction& previous = g_previousBusAction;
    if ((previous.sa_flags & SA_SIGINFO) && previous.sa_sigaction) {
        previous.sa_sigaction(signal, info, context);
        return;
    }
    if (previous.sa_handler == SIG_IGN && info->si_code <= 0)
        return; // sent by another process, and ignored
    if (previous.sa_handler != SIG_DFL && previous.sa_handler != SIG_IGN) {
        previous.sa_handler(signal);
        return;
    }
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

void installBusHandler()
{
    static std::once_flag once;
    std::call_once(once, [] {
        struct sigaction action {
        };
        action.sa_sigaction = onBusError;
        // SA_NODEFER: leaving the handler by siglongjmp then needs no change
        // of the signal mask, so the copy needs no system call to set it up.
        action.sa_flags = SA_SIGINFO | SA_NODEFER;
        sigemptyset(&action.sa_mask);
        ::sigaction(SIGBUS, &action, &g_previousBusAction);
    });
}

// Runs `body`, which reads or writes the mapping [begin, end). False when it
// faulted; some of its bytes may be written then.
template <class Body> bool guarded(const char* begin, const char* end, Body&& body)
{
    sigjmp_buf resume;
    if (sigsetjmp(resume, 0) != 0) {
        t_copy.resume = nullptr;
        return false;
    }
    t_copy.begin = begin;
    t_copy.end = end;
    std::atomic_signal_fence(std::memory_order_seq_cst);
    t_copy.resume = &resume;
    std::atomic_signal_fence(std::memory_order_seq_cst);
    body();
    std::atomic_signal_fence(std::memory_order_seq_cst);
    t_copy.resume = nullptr;
    return true;
}

// ---- Files -------------------------------------------------------------------

// Windows of this size are mapped in turn as a walk moves through the file,
// so the memory used does not grow with the table. A window's pages count as
// the process's own while it is mapped: 1 MiB keeps a run within 16 MB up to
// 10,000,000 records, at the cost of a few hundred more system calls.
constexpr std::uint64_t kWindow = 1024 * 1024;

struct OpenFile {
    int fd = -1;
    bool mapped = false; // written through a mapping (until a copy faults)
    // The window of the file that writes fall in now: mapped at `base`, or
    // nullptr when it holds a hole.
    char* base = nullptr;
    std::uint64_t start = 0;
    std::size_t length = 0; // 0: no window yet
    bool dirty = false;
};

class PosixFileIo final : public FileIo
{
public:
    std::error_code stat(const std::filesystem::path& file, Status& out) override
    {
        struct stat st {
        };
        if (::stat(file.c_str(), &st) != 0)
            return lastError();
        out = toStatus(st);
        return {};
    }

    std::error_code open(const std::filesystem::path& file, Mode mode, Handle& out) override
    {
        const int flags = O_CLOEXEC | (mode == Mode::ReadWrite ? O_RDWR : O_RDONLY);
        int fd;
        do {
            fd = ::open(file.c_str(), flags);
        } while (fd < 0 && errno == EINTR);
        if (fd < 0)
            return lastError();
        auto* opened = new OpenFile;
        opened->fd = fd;
        opened->mapped = mode == Mode::ReadWrite;
        out = reinterpret_cast<Handle>(opened);
        return {};
    }

    std::error_code status(Handle file, Status& out) override
    {
        struct stat st {
        };
        if (::fstat(of(file).fd, &st) != 0)
            return lastError();
        out = toStatus(st);
        return {};
    }

    std::error_code read(Handle file, std::uint64_t offset, std::span<char> into,
                         std::size_t& done) override
    {
        done = 0;
        ssize_t n;
        do {
            n = ::pread(of(file).fd, into.data(), into.size(), static_cast<off_t>(offset));
        } while (n < 0 && errno == EINTR);
        if (n < 0)
            return lastError();
        done = static_cast<std::size_t>(n);
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
        if (throughMapping(f, offset, [&](char* to) {
                f.dirty = true;
                std::memcpy(to, from.data(), from.size());
            })) {
            done = from.size();
            return {};
        }
        return positionedWrite(f.fd, offset, from, done);
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
        // The comparison and the store touch the field's page once each, a
        // few instructions apart.
        if (throughMapping(f, offset, [&](char* to) {
                kept = !sameBytes(to, was.data(), was.size());
                if (kept || store.size == 0)
                    return;
                f.dirty = true;
                storeField(to, now, store, mappedEnd(f));
                storeFence();
            })) {
            // The comparison read the field's pages: the file reaches past
            // it, so a write of it cannot extend the file.
            return kept || store.size != 0 ? std::error_code{} : wholeWrite(f.fd, offset, now);
        }
        return replaceByWriting(*this, file, offset, was, now, kept);
    }

    std::error_code replaceAll(Handle file, std::span<const Replacement> fields,
                               std::size_t& done) override
    {
        done = 0;
        OpenFile& f = of(file);
        while (done < fields.size()) {
            if (auto error = reach(f, fields[done].offset, fields[done].now.size()))
                return error;
            // The fields in this window, one after the other under one
            // guard, each as replace saves it; a fault leaves the one being
            // saved as it was, and the rest go the way of replace.
            bool writeCall = false;
            const char* end = mappedEnd(f);
            const bool faulted = f.mapped && f.base && !guarded(f.base, end, [&] {
                    for (; done < fields.size(); ++done) {
                        const Replacement& field = fields[done];
                        if (field.offset < f.start ||
                            field.offset + field.now.size() > f.start + f.length)
                            return;
                        const FieldStore store = storeFor(field.was, field.now);
                        if (store.size == 0) {
                            writeCall = true;
                            return;
                        }
                        char* to = f.base + (field.offset - f.start);
                        if (sameBytes(to, field.was.data(), field.was.size())) {
                            f.dirty = true;
                            storeField(to, field.now, store, end);
                        }
                        std::atomic_signal_fence(std::memory_order_seq_cst);
                    }
                });
            storeFence();
            if (faulted) {
                unmap(f);
                f.mapped = false;
            } else if (!writeCall && f.mapped && f.base) {
                continue;
            }
            if (done == fields.size())
                break;
            bool kept = false;
            const Replacement& field = fields[done];
            if (auto error = replace(file, field.offset, field.was, field.now, kept))
                return error;
            ++done;
        }
        return {};
    }

    std::error_code sync(Handle file) override
    {
        OpenFile& f = of(file);
        if (f.base && f.dirty && ::msync(f.base, f.length, MS_SYNC) != 0)
            return lastError();
        int r;
        do {
            r = ::fsync(f.fd);
        } while (r != 0 && errno == EINTR);
        return r == 0 ? std::error_code{} : lastError();
    }

    std::error_code close(Handle file) override
    {
        OpenFile* f = &of(file);
        if (f->base)
            ::munmap(f->base, f->length);
        // Not retried on EINTR: the descriptor is released either way on Linux.
        const int r = ::close(f->fd);
        const std::error_code result = r == 0 ? std::error_code{} : lastError();
        delete f;
        return result;
    }

private:
    static OpenFile& of(Handle file) { return *reinterpret_cast<OpenFile*>(file); }

    // Runs `body` with the place of `offset` in the mapped window; false
    // when the window is not mapped, or when the body faulted: the file is
    // written with pwrite from then on, which tells why.
    template <class Body> static bool throughMapping(OpenFile& f, std::uint64_t offset, Body&& body)
    {
        if (!f.mapped || !f.base)
            return false;
        char* to = f.base + (offset - f.start);
        if (guarded(f.base, mappedEnd(f), [&] { body(to); }))
            return true;
        unmap(f);
        f.mapped = false;
        return false;
    }

    // The end of the window's mapped pages: a masked store may address bytes
    // past the window's end up to there (and writes none of them).
    static const char* mappedEnd(const OpenFile& f)
    {
        return f.base ? f.base + (f.length + 4095) / 4096 * 4096 : nullptr;
    }

    // For a file written through mappings: moves the window to the one that
    // holds [offset, offset + n), failing past the end of the file.
    static std::error_code reach(OpenFile& f, std::uint64_t offset, std::size_t n)
    {
        if (!f.mapped || (f.length && offset >= f.start && offset + n <= f.start + f.length))
            return {};
        std::uint64_t size = 0;
        if (auto error = fileSize(f.fd, size))
            return error;
        if (offset + n > size)
            return pastEndOfFile();
        mapWindow(f, offset, n, size);
        return {};
    }

    // One pwrite of all of `from`, short writes completed (a write that
    // makes no progress is a full disk).
    static std::error_code wholeWrite(int fd, std::uint64_t offset, std::span<const char> from)
    {
        while (!from.empty()) {
            std::size_t done = 0;
            if (auto error = pwriteSome(fd, offset, from, done))
                return error;
            if (done == 0)
                return std::make_error_code(std::errc::no_space_on_device);
            from = from.subspan(done);
            offset += done;
        }
        return {};
    }

    static std::error_code pwriteSome(int fd, std::uint64_t offset, std::span<const char> from,
                                      std::size_t& done)
    {
        ssize_t n;
        do {
            n = ::pwrite(fd, from.data(), from.size(), static_cast<off_t>(offset));
        } while (n < 0 && errno == EINTR);
        if (n < 0)
            return lastError();
        done = static_cast<std::size_t>(n);
        return {};
    }

    static std::error_code fileSize(int fd, std::uint64_t& size)
    {
        struct stat st {
        };
        if (::fstat(fd, &st) != 0)
            return lastError();
        size = static_cast<std::uint64_t>(st.st_size);
        return {};
    }

    static void unmap(OpenFile& f)
    {
        if (f.base) {
            ::munmap(f.base, f.length);
#ifdef SYNC_FILE_RANGE_WRITE
            // The walk has moved on: start writing these pages to disk now,
            // so that the sync at the end has less to wait for. Unmapped
            // first: pages still mapped would each have to be made
            // read-only again, and the processors told, as they are written.
            if (f.dirty)
                ::sync_file_range(f.fd, static_cast<off_t>(f.start), static_cast<off_t>(f.length),
                                  SYNC_FILE_RANGE_WRITE);
#endif
        }
        f.base = nullptr;
        f.start = 0;
        f.length = 0;
        f.dirty = false;
    }

    // Moves the window to the one around [offset, offset + n) of a file of
    // `size` bytes, and maps it unless it holds a hole; where the system
    // gives no mapping, the file is written with pwrite.
    static void mapWindow(OpenFile& f, std::uint64_t offset, std::size_t n, std::uint64_t size)
    {
        installBusHandler();
        unmap(f);
        const std::uint64_t start = offset / kWindow * kWindow;
        const auto length =
            static_cast<std::size_t>(std::min(size - start, std::max(kWindow, offset + n - start)));
        f.start = start;
        f.length = length;
        const off_t hole = ::lseek(f.fd, static_cast<off_t>(start), SEEK_HOLE);
        if (hole >= 0 && static_cast<std::uint64_t>(hole) < start + length)
            return;
        void* base = ::mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_SHARED, f.fd,
                            static_cast<off_t>(start));
        if (base == MAP_FAILED) {
            f.mapped = false;
            return;
        }
        f.base = static_cast<char*>(base);
#ifdef MADV_POPULATE_WRITE
        // A save compares the field before it stores: without this, each
        // page would fault twice, for the read and again for the write. The
        // walk goes on from here, so the rest of the window is made
        // writable in one call; where the system cannot, the faults do it.
        const std::uint64_t page = (offset - start) / 4096 * 4096;
        ::madvise(f.base + page, length - page, MADV_POPULATE_WRITE);
#endif
    }

    static std::error_code positionedWrite(int fd, std::uint64_t offset, std::span<const char> from,
                                           std::size_t& done)
    {
        std::uint64_t size = 0;
        if (auto error = fileSize(fd, size))
            return error;
        if (offset + from.size() > size)
            return pastEndOfFile();
        return pwriteSome(fd, offset, from, done);
    }
};

} // namespace

FileIo& FileIo::system()
{
    static PosixFileIo io;
    return io;
}

} // namespace halvane::dbase
