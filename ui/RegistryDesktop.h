// The registry on a system without a Windows registry. It answers only the
// system-information launcher's two questions: the program's path is that of
// the first desktop system-information program on the search path
// (kinfocenter, hardinfo2, hardinfo, xfce4-about), and the folder location
// has no value, since no MSINFO32.EXE exists there.
#pragma once

#include "MemoryRegistry.h"

#include <QStringList>
#include <optional>

namespace halvane::ui
{

class RegistryDesktop final : public Registry
{
public:
    // The programs looked for, in order of preference.
    static const QStringList& programs();

    // Searches the directories of PATH.
    RegistryDesktop() = default;
    // Searches `directories` instead.
    explicit RegistryDesktop(QStringList directories) : m_directories(std::move(directories)) {}

    Status openKeyEx(Key root, const char* subKey, std::uint32_t options, std::uint32_t samDesired,
                     Key* result) override;
    Status queryValueEx(Key key, const char* valueName, std::uint32_t* reserved,
                        std::uint32_t* type, unsigned char* data, std::uint32_t* size) override;
    Status closeKey(Key key) override;

private:
    // Sets the path value from what is installed now.
    void refresh();

    std::optional<QStringList> m_directories;
    MemoryRegistry m_store;
};

} // namespace halvane::ui
