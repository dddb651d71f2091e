#include "Launcher.h"

#include <QProcess>
#include <QString>

namespace halvane::ui
{
namespace
{

class DetachedLauncher final : public Launcher
{
public:
    bool startDetached(const std::string& program) override
    {
        // As the file system sees it, the path ends at its first zero.
        const QString path = QString::fromLocal8Bit(program.c_str());
        return !path.isEmpty() && QProcess::startDetached(path, {});
    }
};

Launcher* g_launcher = nullptr;

} // namespace

Launcher& systemLauncher()
{
    static DetachedLauncher system;
    return system;
}

Launcher& launcher()
{
    return g_launcher ? *g_launcher : systemLauncher();
}

Launcher* setLauncher(Launcher* l)
{
    Launcher* previous = g_launcher;
    g_launcher = l;
    return previous;
}

} // namespace halvane::ui
