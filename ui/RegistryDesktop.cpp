#include "RegistryDesktop.h"

#include "SysInfo.h"

#include <QStandardPaths>

namespace halvane::ui
{

const QStringList& RegistryDesktop::programs()
{
    static const QStringList names{"kinfocenter", "hardinfo2", "hardinfo", "xfce4-about"};
    return names;
}

void RegistryDesktop::refresh()
{
    for (const QString& name : programs()) {
        const QString found = m_directories ? QStandardPaths::findExecutable(name, *m_directories)
                                            : QStandardPaths::findExecutable(name);
        if (!found.isEmpty()) {
            m_store.setText(reg::kLocalMachine, kSysInfoPathKey, kSysInfoPathValue,
                            found.toLocal8Bit().toStdString());
            return;
        }
    }
    m_store.addKey(reg::kLocalMachine, kSysInfoPathKey);
    m_store.removeValue(reg::kLocalMachine, kSysInfoPathKey, kSysInfoPathValue);
}

Registry::Status RegistryDesktop::openKeyEx(Key root, const char* subKey, std::uint32_t options,
                                            std::uint32_t samDesired, Key* result)
{
    // Looked up at every open, so a program installed while this one runs is
    // found on the next click.
    refresh();
    return m_store.openKeyEx(root, subKey, options, samDesired, result);
}

Registry::Status RegistryDesktop::queryValueEx(Key key, const char* valueName,
                                               std::uint32_t* reserved, std::uint32_t* type,
                                               unsigned char* data, std::uint32_t* size)
{
    return m_store.queryValueEx(key, valueName, reserved, type, data, size);
}

Registry::Status RegistryDesktop::closeKey(Key key)
{
    return m_store.closeKey(key);
}

#ifndef _WIN32
Registry& systemRegistry()
{
    static RegistryDesktop system;
    return system;
}
#endif

} // namespace halvane::ui
