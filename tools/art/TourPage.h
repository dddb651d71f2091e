// The common layout of the fifteen tour pages (401 x 425, the size of the
// instruction viewer's picture box): a title band with the page number, an
// illustration, a paragraph, and a row of dots that shows where in the tour
// the reader is.
#pragma once

#include <QImage>
#include <QRectF>
#include <QString>
#include <functional>

class QPainter;

namespace halvane::art
{

inline constexpr int kTourPages = 15;

using Illustration = std::function<void(QPainter&, const QRectF&)>;

QImage tourPage(int number, const QString& title, const QString& body,
                const Illustration& illustrate);

QImage tourPagePicture(int number); // 1 to 15

} // namespace halvane::art
