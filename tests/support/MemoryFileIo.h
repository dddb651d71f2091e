// A FileIo over one file held in memory, so a fuzz target opens and fills a
// table thousands of times a second without touching the disk. It is the
// table engine's file I/O while it exists.
#pragma once

#include "system/Service.h"
#include "dbase/FileIo.h"

#include <algorithm>
#include <string>

namespace halvane::test
{

class MemoryFileIo final : public dbase::FileIo
{
public:
    explicit MemoryFileIo(std::string bytes) : m_bytes(std::move(bytes)) {}
    const std::string& bytes() const { return m_bytes; }

    std::error_code stat(const std::filesystem::path&, Status& out) override
    {
        out = current();
        return {};
    }
    std::error_code open(const std::filesystem::path&, Mode, Handle& out) override
    {
        out = 3;
        return {};
    }
    std::error_code status(Handle, Status& out) override
    {
        out = current();
        return {};
    }
    std::error_code read(Handle, std::uint64_t offset, std::span<char> into,
                         std::size_t& done) override
    {
        done = offset >= m_bytes.size()
                   ? 0
                   : std::min<std::size_t>(into.size(), m_bytes.size() - offset);
        std::copy_n(m_bytes.data() + (done ? offset : 0), done, into.data());
        return {};
    }
    std::error_code write(Handle, std::uint64_t offset, std::span<const char> from,
                          std::size_t& done) override
    {
        done = 0;
        if (offset + from.size() > m_bytes.size())
            return pastEndOfFile();
        std::copy(from.begin(), from.end(), m_bytes.begin() + static_cast<long>(offset));
        done = from.size();
        return {};
    }
    std::error_code replace(Handle file, std::uint64_t offset, std::span<const char>,
                            std::span<const char> now, bool& kept) override
    {
        kept = false;
        std::size_t done = 0;
        return write(file, offset, now, done);
    }
    std::error_code sync(Handle) override { return {}; }
    std::error_code close(Handle) override { return {}; }

private:
    Status current() const { return {m_bytes.size(), 1, 1, true, false}; }

    std::string m_bytes;
    ReplaceService<dbase::FileIo> m_scope{*this};
};

} // namespace halvane::test
