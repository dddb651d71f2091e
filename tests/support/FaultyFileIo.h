// A FileIo over the real files that counts every call and can fail the Nth
// one, make writes fall short, or let the test change the file between two
// calls: how the tests reach the failure paths of the table engine. It is the
// table engine's file I/O while it exists.
#pragma once

#include "system/Service.h"
#include "dbase/FileIo.h"

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace halvane::test
{

class FaultyFileIo final : public dbase::FileIo
{
public:
    // The call (1 for the first, of any kind) that fails with `error`; 0: none.
    int failAt = 0;
    std::error_code error = std::make_error_code(std::errc::io_error);
    // Writes of more than this many bytes write only this many (0: no limit).
    std::size_t shortWrite = 0;
    // Calls so far, by kind and in all.
    int calls = 0, opens = 0, reads = 0, writes = 0, syncs = 0, closes = 0;
    std::vector<Mode> openModes;
    // The kind of call that was made to fail ("open", "write", ...).
    std::string failed;
    // Writes make no progress at all (and report no error).
    bool stall = false;
    // Called before every call with its kind and, for reads and writes, its
    // offset: another program acting on the file at that moment.
    std::function<void(std::string_view kind, std::uint64_t offset)> before;
    // Every write asked for: offset and size.
    std::vector<std::pair<std::uint64_t, std::size_t>> written;

    std::error_code stat(const std::filesystem::path& file, Status& out) override
    {
        act("stat");
        return next("stat") ? error : real().stat(file, out);
    }
    std::error_code open(const std::filesystem::path& file, Mode mode, Handle& out) override
    {
        act("open");
        ++opens;
        openModes.push_back(mode);
        return next("open") ? error : real().open(file, mode, out);
    }
    std::error_code status(Handle file, Status& out) override
    {
        act("status");
        return next("status") ? error : real().status(file, out);
    }
    std::error_code read(Handle file, std::uint64_t offset, std::span<char> into,
                         std::size_t& done) override
    {
        act("read", offset);
        ++reads;
        done = 0;
        return next("read") ? error : real().read(file, offset, into, done);
    }
    std::error_code write(Handle file, std::uint64_t offset, std::span<const char> from,
                          std::size_t& done) override
    {
        act("write", offset);
        ++writes;
        written.emplace_back(offset, from.size());
        done = 0;
        if (next("write"))
            return error;
        if (stall)
            return {};
        if (shortWrite && from.size() > shortWrite)
            from = from.first(shortWrite);
        return real().write(file, offset, from, done);
    }
    // A save of a field counts as a write; it stalls as a full disk, and
    // with shortWrite the failing one puts the first bytes of the field in
    // place before it fails (a save cut part-way).
    std::error_code replace(Handle file, std::uint64_t offset, std::span<const char> was,
                            std::span<const char> now, bool& kept) override
    {
        act("write", offset);
        ++writes;
        written.emplace_back(offset, now.size());
        kept = false;
        if (next("write")) {
            std::size_t done = 0;
            if (shortWrite && now.size() > shortWrite)
                real().write(file, offset, now.first(shortWrite), done);
            return error;
        }
        if (stall)
            return std::make_error_code(std::errc::no_space_on_device);
        return real().replace(file, offset, was, now, kept);
    }
    std::error_code sync(Handle file) override
    {
        act("sync");
        ++syncs;
        return next("sync") ? error : real().sync(file);
    }
    std::error_code close(Handle file) override
    {
        act("close");
        ++closes;
        // The handle is released even when the close reports a failure.
        auto result = real().close(file);
        return next("close") ? error : result;
    }

private:
    ReplaceService<dbase::FileIo> m_scope{*this};
    static FileIo& real() { return FileIo::system(); }
    void act(std::string_view kind, std::uint64_t offset = 0)
    {
        if (before)
            before(kind, offset);
    }
    bool next(const char* kind)
    {
        if (++calls != failAt)
            return false;
        failed = kind;
        return true;
    }
};

} // namespace halvane::test
