// The service (system/Service.h) through which the table engine reaches the
// file system: every open, read, write, sync and close of a table goes
// through service<FileIo>(), so a test can put its own in place and make any
// single call fail, fall short, or change the file between two calls.
#pragma once

#include "system/DisplayName.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <system_error>

namespace halvane
{
class Failure;
}

namespace halvane::dbase
{

class FileIo
{
public:
    // What open hands out and close takes back; its meaning is the
    // implementation's own.
    using Handle = std::intptr_t;
    enum class Mode { ReadOnly, ReadWrite };

    // What the engine needs to know about a file: its size, and who it is
    // (so that a replaced file is told apart from the one that was opened:
    // device and inode, on Windows the volume serial number and file index).
    struct Status {
        std::uint64_t size = 0;
        std::uint64_t device = 0;
        std::uint64_t inode = 0;
        bool regular = false;
        bool directory = false;
        std::uint64_t links = 1; // names the file has; 0 once it is deleted
        // The name is one the system keeps for a device (Windows: CON, NUL,
        // COM1, ... with any extension), whatever the folder: not a file.
        bool deviceName = false;
    };

    virtual ~FileIo() = default;

    // Every call reports failure through its result, never by throwing; the
    // engine turns failures into halvane::Failure (see ioFailure).

    // Status of the file a path names (following links).
    virtual std::error_code stat(const std::filesystem::path& file, Status& out) = 0;
    // Opens an existing file; never creates one. Other programs may still
    // read, write, rename and delete the file while it is open.
    virtual std::error_code open(const std::filesystem::path& file, Mode mode, Handle& out) = 0;
    virtual std::error_code status(Handle file, Status& out) = 0;
    // Reads up to into.size() bytes at `offset`; `done` < into.size() without
    // an error means the file ends there.
    virtual std::error_code read(Handle file, std::uint64_t offset, std::span<char> into,
                                 std::size_t& done) = 0;
    // Writes up to from.size() bytes at `offset`; may write fewer (`done`).
    // When it returns, the bytes written are in the file: another process
    // reads them, and they stay if this process ends by any path. Never
    // extends the file: a range that reaches past its end (the file was
    // shortened) fails with pastEndOfFile(), nothing of it written.
    virtual std::error_code write(Handle file, std::uint64_t offset, std::span<const char> from,
                                  std::size_t& done) = 0;
    // Saves one field of a record: `was` is what the caller read at `offset`,
    // `now` what the field is to hold, as many bytes. The field changes in
    // one step that no end of the process can cut (one store into the file's
    // pages, or one write call of the whole field): it holds `was` or `now`
    // whole, never a part of each. An implementation that compares the field
    // first (POSIX, where that is a read of the mapped page) writes nothing
    // when the file no longer holds `was` there (another program wrote the
    // field since it was read) and sets `kept`: that program's text stays
    // whole, and the caller's check at the end of the run finds the
    // difference. Fails as write does, never extending the file.
    virtual std::error_code replace(Handle file, std::uint64_t offset, std::span<const char> was,
                                    std::span<const char> now, bool& kept) = 0;
    // One field of a record to save, as replace takes it.
    struct Replacement {
        std::uint64_t offset = 0;
        std::span<const char> was;
        std::span<const char> now;
    };
    // Saves the changed fields of one record, in order, each as replace
    // saves it; stops at the first that fails, `done` being how many were
    // saved (written, or kept as another program wrote them) before it. This
    // one calls replace for each; an implementation that writes through
    // mapped pages does them in one pass.
    virtual std::error_code replaceAll(Handle file, std::span<const Replacement> fields,
                                       std::size_t& done);
    // Makes everything written to the file durable on stable storage.
    virtual std::error_code sync(Handle file) = 0;
    virtual std::error_code close(Handle file) = 0;

    // What a write reaching past the end of the file reports.
    static std::error_code pastEndOfFile()
    {
        return std::make_error_code(std::errc::result_out_of_range);
    }

    // The operating system's files: SystemFileIoPosix.cpp or
    // SystemFileIoWin32.cpp.
    static FileIo& system();
};

// A failed file operation as the program reports it: the number by the kind of
// failure (53 file not found, 57 device I/O error, 61 disk full, 70 permission
// denied, 75 path/file access error) and a description that says what was
// being done (`what`, e.g. "cannot write record 5 of"), the file and the
// system's reason.
Failure ioFailure(std::error_code error, std::string_view what, const std::filesystem::path& file);

// Reads into `into` from `offset` until it is full or the file ends; returns
// the bytes read. Throws ioFailure when a read fails, saying "<what> of" the
// file, or "<what> record N of" it when `record` (1 for the first) is given.
std::size_t readFully(FileIo& io, FileIo::Handle file, std::uint64_t offset, std::span<char> into,
                      std::string_view what, const std::filesystem::path& name, long record = 0);
// Writes all of `from` at `offset`, going on after a short write; a write
// that makes no progress is a disk-full failure. Throws ioFailure as above.
void writeFully(FileIo& io, FileIo::Handle file, std::uint64_t offset, std::span<const char> from,
                std::string_view what, const std::filesystem::path& name, long record = 0);

// FileIo::replace for a file that is not written through its mapped pages:
// the field is read, and written whole (io.write, going on after a short
// write) when it still holds `was`; else nothing is written and `kept` is set.
std::error_code replaceByWriting(FileIo& io, FileIo::Handle file, std::uint64_t offset,
                                 std::span<const char> was, std::span<const char> now, bool& kept);

} // namespace halvane::dbase
