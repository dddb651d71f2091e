// An environment variable set (or, with nullopt, unset) for a scope, and
// restored afterwards.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace halvane::test
{

class ScopedEnv
{
    static void put(const char* name, const std::optional<std::string>& value)
    {
#ifdef _WIN32
        _putenv_s(name, value ? value->c_str() : ""); // the empty text removes it
#else
        if (value)
            setenv(name, value->c_str(), 1);
        else
            unsetenv(name);
#endif
    }

public:
    ScopedEnv(const char* name, std::optional<std::string> value) : m_name(name)
    {
        if (const char* old = std::getenv(name))
            m_old = old;
        put(name, value);
    }
    ~ScopedEnv() { put(m_name, m_old); }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

} // namespace halvane::test
