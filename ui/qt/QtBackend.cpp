#include "ui/qt/QtBackend.h"

#include "system/Host.h"
#include "ui/forms/WindowServices.h"

#include <QApplication>

namespace halvane::ui::qt
{

QtBackend::QtBackend(QApplication&)
{
    QApplication::setApplicationName(
        QString::fromUtf8(kAppTitle.data(), qsizetype(kAppTitle.size())));
    QApplication::setQuitOnLastWindowClosed(false);
}

QtBackend::~QtBackend()
{
    unloadAll();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace halvane::ui::qt
