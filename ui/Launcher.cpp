#include "Launcher.h"

#include "Seam.h"

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

} // namespace

Launcher& systemLauncher()
{
    static DetachedLauncher system;
    return system;
}

namespace
{
Seam<Launcher> g_launcher(systemLauncher);
} // namespace

Launcher& launcher()
{
    return g_launcher.get();
}

Launcher* setLauncher(Launcher* l)
{
    return g_launcher.set(l);
}

} // namespace halvane::ui
