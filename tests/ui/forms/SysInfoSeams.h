// Test doubles for the system-information launcher: a registry that logs
// every call it forwards, and a fixture that installs it with the recording
// launcher and host for one test.
#pragma once

#include "system/Service.h"
#include "tests/support/MemoryRegistry.h"
#include "tests/support/RecordingHost.h"
#include "tests/support/RecordingLauncher.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace halvane::test
{

// Names the cases of a table-driven test after their `name` member.
struct CaseName {
    template <class Info> std::string operator()(const Info& test) const { return test.param.name; }
};

// Forwards to another registry and writes each call, with what was passed
// and what came back, as one line.
class LoggingRegistry final : public Registry
{
public:
    explicit LoggingRegistry(Registry& inner) : m_inner(inner) {}

    Status openKeyEx(Key root, const char* subKey, std::uint32_t options, std::uint32_t samDesired,
                     Key* result) override
    {
        Status rc = m_inner.openKeyEx(root, subKey, options, samDesired, result);
        log("open " + std::string(subKey) + " options=" + hex(options) +
            " access=" + hex(samDesired) + " -> " + std::to_string(rc));
        return rc;
    }
    Status queryValueEx(Key key, const char* valueName, std::uint32_t* reserved,
                        std::uint32_t* type, unsigned char* data, std::uint32_t* size) override
    {
        const std::string room = size ? std::to_string(*size) : "null";
        Status rc = m_inner.queryValueEx(key, valueName, reserved, type, data, size);
        log("query " + std::string(valueName) + (reserved ? " reserved" : "") + " room=" + room +
            " -> " + std::to_string(rc));
        return rc;
    }
    Status closeKey(Key key) override
    {
        Status rc = m_inner.closeKey(key);
        log(std::string(key ? "close" : "close null") + " -> " + std::to_string(rc));
        return rc;
    }

    std::vector<std::string> calls;

private:
    static std::string hex(std::uint32_t n)
    {
        char text[16];
        std::snprintf(text, sizeof text, "0x%X", n);
        return text;
    }
    void log(std::string line) { calls.push_back(std::move(line)); }

    Registry& m_inner;
};

// Installs an in-memory registry (seen through a call log), a recording
// launcher and a recording host for the length of one test.
class SysInfoTest : public ::testing::Test
{
protected:
    // Every handle opened was closed again.
    void expectAllKeysClosed() const
    {
        EXPECT_EQ(registry.openHandles(), 0u);
        EXPECT_EQ(registry.opens(), registry.closes());
    }

    MemoryRegistry registry;
    LoggingRegistry log{registry};
    RecordingLauncher launcher;
    RecordingHost host;

private:
    ReplaceService<Registry> m_registry{log};
    ReplaceService<Launcher> m_launcher{launcher};
};

} // namespace halvane::test
