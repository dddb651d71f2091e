#include "dbase/FileIo.h"

#include "system/Failure.h"

#include <algorithm>
#include <cerrno>
#include <string>

namespace halvane::dbase
{

namespace
{
bool isQuotaExceeded(std::error_code error)
{
#ifdef EDQUOT
    return error.category() == std::generic_category() && error.value() == EDQUOT;
#else
    (void)error;
    return false;
#endif
}
} // namespace

std::error_code FileIo::replaceAll(Handle file, std::span<const Replacement> fields,
                                   std::size_t& done)
{
    for (done = 0; done < fields.size(); ++done) {
        bool kept = false;
        const Replacement& field = fields[done];
        if (auto error = replace(file, field.offset, field.was, field.now, kept))
            return error;
    }
    return {};
}

Failure ioFailure(std::error_code error, std::string_view what, const std::filesystem::path& file)
{
    int number = err::DeviceIO;
    std::string kind = "Device I/O error";
    if (error == std::errc::no_space_on_device || isQuotaExceeded(error)) {
        number = err::DiskFull;
        kind = "Disk full";
    } else if (error == std::errc::permission_denied ||
               error == std::errc::operation_not_permitted ||
               error == std::errc::read_only_file_system || error == std::errc::text_file_busy) {
        number = err::PermissionDenied;
        kind = "Permission denied";
    } else if (error == std::errc::no_such_file_or_directory) {
        number = err::FileNotFound;
        kind = "File not found";
    } else if (error == std::errc::is_a_directory || error == std::errc::not_a_directory ||
               error == std::errc::filename_too_long ||
               error == std::errc::too_many_symbolic_link_levels) {
        number = err::PathFileAccess;
        kind = "Path/File access error";
    }
    return Failure(number, kind + ": " + std::string(what) + " " + displayName(file) + " (" +
                               error.message() + ")");
}

namespace
{
// Built only when something failed: the walk calls these for every record.
Failure ioFailureAt(std::error_code error, std::string_view what, const std::filesystem::path& file,
                    long record)
{
    return ioFailure(error,
                     std::string(what) +
                         (record > 0 ? " record " + std::to_string(record) + " of" : " of"),
                     file);
}
} // namespace

std::size_t readFully(FileIo& io, FileIo::Handle file, std::uint64_t offset, std::span<char> into,
                      std::string_view what, const std::filesystem::path& name, long record)
{
    std::size_t total = 0;
    while (total < into.size()) {
        std::size_t done = 0;
        if (auto error = io.read(file, offset + total, into.subspan(total), done))
            throw ioFailureAt(error, what, name, record);
        if (done == 0)
            break;
        total += done;
    }
    return total;
}

void writeFully(FileIo& io, FileIo::Handle file, std::uint64_t offset, std::span<const char> from,
                std::string_view what, const std::filesystem::path& name, long record)
{
    std::size_t total = 0;
    while (total < from.size()) {
        std::size_t done = 0;
        if (auto error = io.write(file, offset + total, from.subspan(total), done))
            throw ioFailureAt(error, what, name, record);
        if (done == 0)
            throw ioFailureAt(std::make_error_code(std::errc::no_space_on_device), what, name,
                              record);
        total += done;
    }
}

std::error_code replaceByWriting(FileIo& io, FileIo::Handle file, std::uint64_t offset,
                                 std::span<const char> was, std::span<const char> now, bool& kept)
{
    kept = false;
    std::string current(was.size(), '\0');
    for (std::size_t total = 0; total < current.size();) {
        std::size_t done = 0;
        if (auto error = io.read(file, offset + total, std::span(current).subspan(total), done))
            return error;
        if (done == 0)
            return FileIo::pastEndOfFile();
        total += done;
    }
    kept = !std::equal(was.begin(), was.end(), current.begin());
    for (std::size_t total = 0; !kept && total < now.size();) {
        std::size_t done = 0;
        if (auto error = io.write(file, offset + total, now.subspan(total), done))
            return error;
        if (done == 0)
            return std::make_error_code(std::errc::no_space_on_device);
        total += done;
    }
    return {};
}

} // namespace halvane::dbase
