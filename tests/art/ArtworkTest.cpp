// Checks the committed pictures against the controls that show them: each
// has the size its control is designed for, the run and tour pictures are
// 24-bit BMP files, the icon file holds both icon sizes, the icon pictures of
// the desktop's icon theme have their sizes and a transparent background, and
// the About logo is a valid vector picture of the logo control's proportions
// that leaves clear the parts of it the window's controls cover.
#include <QCoreApplication>
#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QSvgRenderer>
#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{

struct Picture {
    const char* dir;
    const char* name;
    int width;
    int height;
};

const char* const kArt = HALVANE_ART_DIR;
const char* const kDist = HALVANE_DIST_DIR;

QString pathOf(const Picture& picture)
{
    return QString::fromUtf8(picture.dir) + QLatin1Char('/') + QString::fromUtf8(picture.name);
}

void PrintTo(const Picture& picture, std::ostream* os)
{
    *os << picture.name;
}

class PictureSize : public testing::TestWithParam<Picture>
{
};

TEST_P(PictureSize, HasTheSizeOfItsControl)
{
    QImageReader reader(pathOf(GetParam()));
    const QImage image = reader.read();
    ASSERT_FALSE(image.isNull()) << reader.errorString().toStdString();
    EXPECT_EQ(image.width(), GetParam().width);
    EXPECT_EQ(image.height(), GetParam().height);
}

INSTANTIATE_TEST_SUITE_P(Design, PictureSize,
                         testing::Values(Picture{kArt, "splash.png", 1028, 768},
                                         Picture{kArt, "instruction.png", 167, 90},
                                         Picture{kArt, "instruction_page.png", 397, 427}));

// The program icon at the sizes of the hicolor icon theme: the windows use 16
// and 32, desktop menus and software centres the others.
std::vector<Picture> iconPictures()
{
    static const std::vector<std::string> names = [] {
        std::vector<std::string> all;
        for (const int size : {16, 32, 48, 64, 128, 256})
            all.push_back("icon" + std::to_string(size) + ".png");
        return all;
    }();
    std::vector<Picture> pictures;
    for (const std::string& name : names) {
        const int size = std::stoi(name.substr(4));
        pictures.push_back({kArt, name.c_str(), size, size});
    }
    return pictures;
}

INSTANTIATE_TEST_SUITE_P(Icon, PictureSize, testing::ValuesIn(iconPictures()));

class IconPicture : public testing::TestWithParam<Picture>
{
};

// A menu draws the icon over its own background: the page stands on
// transparent pixels, and is itself opaque.
TEST_P(IconPicture, IsAnOpaquePageOnATransparentBackground)
{
    const QImage image(pathOf(GetParam()));
    ASSERT_FALSE(image.isNull());
    ASSERT_TRUE(image.hasAlphaChannel());
    const int last = image.width() - 1;
    for (const QPoint corner : {QPoint(0, 0), QPoint(last, 0), QPoint(0, last), QPoint(last, last)})
        EXPECT_EQ(qAlpha(image.pixel(corner)), 0) << "corner " << corner.x() << "," << corner.y();
    EXPECT_EQ(qAlpha(image.pixel(image.width() / 2, image.height() / 2)), 255);
}

INSTANTIATE_TEST_SUITE_P(Icon, IconPicture, testing::ValuesIn(iconPictures()));

// The run pictures fill picRun (2535 x 1335 twips); the tour pages are
// sized for the instruction viewer's Picture1 (6015 x 6375 twips).
std::vector<Picture> deliveredPictures()
{
    static const std::vector<std::string> names = [] {
        std::vector<std::string> all{"wait.BMP", "success.BMP"};
        for (int page = 1; page <= 15; ++page)
            all.push_back(std::to_string(page) + ".BMP");
        return all;
    }();
    std::vector<Picture> pictures;
    for (const std::string& name : names) {
        const bool run = name == "wait.BMP" || name == "success.BMP";
        pictures.push_back({kDist, name.c_str(), run ? 169 : 401, run ? 89 : 425});
    }
    return pictures;
}

INSTANTIATE_TEST_SUITE_P(Delivered, PictureSize, testing::ValuesIn(deliveredPictures()));

class DeliveredBitmap : public testing::TestWithParam<Picture>
{
};

// The delivered pictures are plain 24-bit Windows bitmaps, the form every
// picture loader reads.
TEST_P(DeliveredBitmap, IsA24BitBmp)
{
    QFile file(pathOf(GetParam()));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray header = file.read(30);
    ASSERT_EQ(header.size(), 30);
    EXPECT_EQ(header.left(2), QByteArray("BM"));
    EXPECT_EQ(static_cast<unsigned char>(header[28]) | static_cast<unsigned char>(header[29]) << 8,
              24);
}

INSTANTIATE_TEST_SUITE_P(Delivered, DeliveredBitmap, testing::ValuesIn(deliveredPictures()));

TEST(ProgramIcon, IcoHoldsBothSizes)
{
    QImageReader reader(QString::fromUtf8(kArt) + QStringLiteral("/qrx2.ico"), "ico");
    ASSERT_EQ(reader.imageCount(), 2);
    QList<int> widths;
    for (int i = 0; i < reader.imageCount(); ++i) {
        ASSERT_TRUE(reader.jumpToImage(i));
        const QImage image = reader.read();
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.width(), image.height());
        widths.append(image.width());
    }
    std::sort(widths.begin(), widths.end());
    EXPECT_EQ(widths, (QList<int>{16, 32}));
}

TEST(AboutLogo, IsAVectorPictureOfTheLogoControlsProportions)
{
    QSvgRenderer logo(QString::fromUtf8(kArt) + QStringLiteral("/logo.svg"));
    ASSERT_TRUE(logo.isValid());
    // Image1 of the About window is 2400 x 735 twips.
    const QRectF view = logo.viewBoxF();
    EXPECT_NEAR(view.width() / view.height(), 2400.0 / 735.0, 1e-3);
}

// A control of the About window that lies over Image1 (120, 1440, 2400 x 735
// twips), in twips of the window.
struct Cover {
    const char* name;
    QRectF twips;
};

void PrintTo(const Cover& cover, std::ostream* os)
{
    *os << cover.name;
}

// The logo drawn at four times its size on screen (160 x 49), on a
// transparent background.
QImage renderedLogo()
{
    QSvgRenderer logo(QString::fromUtf8(kArt) + QStringLiteral("/logo.svg"));
    QImage image(640, 196, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    logo.render(&painter, QRectF(image.rect()));
    painter.end();
    return image;
}

class AboutLogoCover : public testing::TestWithParam<Cover>
{
};

// What the controls over the logo hide must not be part of it: the logo's
// pixels under them are background.
TEST_P(AboutLogoCover, LeavesTheCoveredPartEmpty)
{
    const QImage logo = renderedLogo();
    const qreal scale = logo.width() / 2400.0;
    const QRectF covered = GetParam().twips.translated(-120, -1440);
    const QRect pixels = QRectF(covered.left() * scale, covered.top() * scale,
                                covered.width() * scale, covered.height() * scale)
                             .toAlignedRect()
                             .intersected(logo.rect());
    ASSERT_FALSE(pixels.isEmpty());
    int drawn = 0;
    for (int y = pixels.top(); y <= pixels.bottom(); ++y)
        for (int x = pixels.left(); x <= pixels.right(); ++x)
            drawn += qAlpha(logo.pixel(x, y)) != 0;
    EXPECT_EQ(drawn, 0) << "pixels drawn under " << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(AboutWindow, AboutLogoCover,
                         testing::Values(Cover{"cmdSysInfo", QRectF(2160, 1440, 1005, 345)},
                                         Cover{"Label1", QRectF(120, 2160, 2205, 225)}));

// The logo is not empty: the maker's mark stands at its left.
TEST(AboutLogo, ShowsTheMarkAtItsLeft)
{
    const QImage logo = renderedLogo();
    EXPECT_EQ(qAlpha(logo.pixel(logo.height() / 2, logo.height() / 2)), 255);
}

} // namespace

int main(int argc, char** argv)
{
    // Image format plugins (ICO, SVG) are found through the application.
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
