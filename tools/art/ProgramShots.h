// Pictures of this program's own windows and message boxes for the tour
// pages, rendered from the windows themselves (the ui library) with the
// window system's frame drawn around them.
#pragma once

#include <QImage>
#include <QString>

namespace halvane::art
{

enum class MainWindowState { Design, Waiting, Done };

// The splash window, its artwork replaced by `artwork` (the picture this run
// of the generator has just drawn, the same as the one stored with the
// design).
QImage shotSplash(const QImage& artwork);

// The main window: before the first run, during it and after it.
QImage shotMainWindow(MainWindowState state);

// A message box of the program, as the window services make it, its text
// wrapped to keep the box within `maxWidth`.
QImage shotMessage(const QString& text, const QString& title, int maxWidth);

} // namespace halvane::art
