#include "ui/qt/QtWindowSystem.h"

#include "ui/qt/QtWindow.h"

#include <QApplication>

namespace halvane::ui::qt
{

std::unique_ptr<NativeWindow> QtWindowSystem::createWindow(const WindowDesign& design,
                                                           WindowEvents& events)
{
    return std::make_unique<QtWindow>(design, events);
}

int QtWindowSystem::runEventLoop()
{
    return QApplication::exec();
}

void QtWindowSystem::quitEventLoop(int status)
{
    QCoreApplication::exit(status);
}

void QtWindowSystem::later(std::function<void()> task)
{
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [task = std::move(task)] { task(); }, Qt::QueuedConnection);
}

} // namespace halvane::ui::qt
