// Writes a Windows icon file (.ico) holding several sizes of one icon, each
// as a 32-bit bitmap with its transparency mask, the form every Windows
// version reads.
#pragma once

#include <QImage>
#include <QList>
#include <QString>

namespace halvane::art
{

bool writeIco(const QString& path, const QList<QImage>& sizes);

} // namespace halvane::art
