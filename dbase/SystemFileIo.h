// FileIo over the operating system's own calls. Reads are positioned reads.
// Writes to a file opened for writing go through a shared memory mapping of
// a window of the file where the system has one: a write is then a copy into
// the file's own pages, in the file (seen by every reader, kept if the
// process ends by any path) when it returns, without a system call per
// record; elsewhere they are positioned writes.
#pragma once

#include "dbase/FileIo.h"

#include <mutex>
#include <unordered_map>

namespace halvane::dbase
{

class SystemFileIo final : public FileIo
{
public:
    std::error_code stat(const std::filesystem::path& file, Status& out) override;
    std::error_code open(const std::filesystem::path& file, Mode mode, Handle& out) override;
    std::error_code status(Handle file, Status& out) override;
    std::error_code read(Handle file, std::uint64_t offset, std::span<char> into,
                         std::size_t& done) override;
    std::error_code write(Handle file, std::uint64_t offset, std::span<const char> from,
                          std::size_t& done) override;
    std::error_code sync(Handle file) override;
    std::error_code close(Handle file) override;

private:
    // The mapped part of a file opened for writing (none yet when length 0).
    struct Window {
        char* base = nullptr;
        std::uint64_t start = 0;
        std::size_t length = 0;
    };
    bool mapWindow(Handle file, Window& window, std::uint64_t offset, std::size_t size);
    static void unmap(Window& window);

    std::mutex m_mutex;
    std::unordered_map<Handle, Window> m_windows;
};

} // namespace halvane::dbase
