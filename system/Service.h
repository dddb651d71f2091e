// Replaceable platform services. Everything the program asks of the system
// that a test may need to stand in for (message boxes and the end of the
// process, table files, the registry, starting a program, the program's
// directory, the clock) is an interface T with a static `T& system()`, the
// system's own implementation, and is reached through service<T>(). A
// replacement is installed for a scope with ReplaceService<T>: the windowed
// program installs its message boxes that way for its whole life, tests
// install their doubles for one test.
#pragma once

#include <utility>

namespace halvane
{

namespace detail
{
template <class T> inline T* g_replacement = nullptr;
} // namespace detail

// The implementation of service T in force.
template <class T> T& service()
{
    T* replacement = detail::g_replacement<T>;
    return replacement ? *replacement : T::system();
}

// Puts `replacement` in place of service T until the end of the scope, then
// restores whatever was in force before. Scopes nest.
template <class T> class ReplaceService
{
public:
    explicit ReplaceService(T& replacement)
        : m_previous(std::exchange(detail::g_replacement<T>, &replacement))
    {
    }
    ~ReplaceService() { detail::g_replacement<T> = m_previous; }
    ReplaceService(const ReplaceService&) = delete;
    ReplaceService& operator=(const ReplaceService&) = delete;

private:
    T* m_previous;
};

} // namespace halvane
