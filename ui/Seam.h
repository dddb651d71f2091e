// A service reached through a seam: the system's own implementation until
// another one (a test double) is installed in its place.
#pragma once

#include <utility>

namespace halvane::ui
{

template <class T> class Seam
{
public:
    using System = T& (*)();
    explicit constexpr Seam(System system) : m_system(system) {}

    T& get() const { return m_installed ? *m_installed : m_system(); }
    // Installs `replacement` (nullptr restores the system's); returns the
    // previous one, or nullptr when that was the system's.
    T* set(T* replacement) { return std::exchange(m_installed, replacement); }

private:
    System m_system;
    T* m_installed = nullptr;
};

} // namespace halvane::ui
