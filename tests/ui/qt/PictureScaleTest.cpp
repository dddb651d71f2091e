// A picture box draws its picture at the picture's own size in the window's
// units: at a device-pixel ratio above 1 (QT_SCALE_FACTOR=1.5, its own CTest
// run) it is scaled up smoothly and fills what it fills at 1, where it is
// copied pixel for pixel.
#include "ui/qt/PictureBoxWidget.h"

#include <QImage>
#include <QPixmap>
#include <cmath>
#include <gtest/gtest.h>

namespace halvane::test
{
namespace
{

const QColor kQuarters[4] = {QColor(200, 30, 30), QColor(30, 160, 40), QColor(20, 40, 210),
                             QColor(240, 220, 20)};

QImage quarters(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixelColor(x, y, kQuarters[(y >= height / 2) * 2 + (x >= width / 2)]);
    return image;
}

bool similar(const QColor& a, const QColor& b, int tolerance)
{
    return std::abs(a.red() - b.red()) <= tolerance &&
           std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

TEST(PictureScale, PictureBoxFillsWhatItFillsAtRatioOne)
{
    constexpr int kWidth = 80, kHeight = 60;
    ui::qt::PictureBoxWidget box;
    box.resize(200, 150);
    box.setPicture(quarters(kWidth, kHeight));
    const QPixmap grabbed = box.grab();
    const double ratio = grabbed.devicePixelRatio();
    RecordProperty("ratio", std::to_string(ratio));
    const QImage drawn = grabbed.toImage();
    const QPoint origin = box.contentsRect().topLeft() * ratio;
    const int width = int(std::lround(kWidth * ratio)), height = int(std::lround(kHeight * ratio));
    if (ratio == 1.0) {
        int wrong = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                wrong += drawn.pixelColor(origin + QPoint(x, y)) !=
                         kQuarters[(y >= kHeight / 2) * 2 + (x >= kWidth / 2)];
        EXPECT_EQ(wrong, 0) << "pixel for pixel at ratio 1";
    }
    for (int q = 0; q < 4; ++q) {
        const QPoint at =
            origin + QPoint(width / 4 + (q % 2) * width / 2, height / 4 + (q / 2) * height / 2);
        EXPECT_TRUE(similar(drawn.pixelColor(at), kQuarters[q], 8))
            << "quarter " << q << " at ratio " << ratio;
    }
    const QColor past = drawn.pixelColor(origin + QPoint(width + 3, height / 4));
    for (const QColor& quarter : kQuarters)
        EXPECT_FALSE(similar(past, quarter, 8)) << "the picture ends at " << width << " pixels";
}

} // namespace
} // namespace halvane::test
