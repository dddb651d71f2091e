// FileIo over the operating system's own calls: positioned reads and writes
// on a file descriptor, so that a write is in the file when it returns.
#pragma once

#include "FileIo.h"

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
};

} // namespace halvane::dbase
