// Pictures of this program's own windows and messages, for the tour pages.
#pragma once

#include <QImage>
#include <QString>

namespace halvane::art
{

enum class MainWindowState { Design, Waiting, Done };

QImage shotSplash();
QImage shotMainWindow(MainWindowState state);
QImage shotMessage(const QString& text, const QString& title);

} // namespace halvane::art
