// Checks the committed pictures against the controls that show them: each
// has the size its control is designed for, the run and tour pictures are
// 24-bit BMP files, the icon file holds both icon sizes and the About logo
// is a valid vector picture of the logo control's proportions.
#include <QFile>
#include <QCoreApplication>
#include <QImageReader>
#include <QSvgRenderer>
#include <algorithm>
#include <gtest/gtest.h>

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
                                         Picture{kArt, "instruction_page.png", 397, 427},
                                         Picture{kArt, "icon16.png", 16, 16},
                                         Picture{kArt, "icon32.png", 32, 32}));

INSTANTIATE_TEST_SUITE_P(Delivered, PictureSize,
                         testing::Values(Picture{kDist, "wait.BMP", 169, 89},
                                         Picture{kDist, "success.BMP", 169, 89}));

class DeliveredBitmap : public testing::TestWithParam<const char*>
{
};

// The delivered pictures are plain 24-bit Windows bitmaps, the form every
// picture loader reads.
TEST_P(DeliveredBitmap, IsA24BitBmp)
{
    QFile file(QString::fromUtf8(kDist) + QLatin1Char('/') + QString::fromUtf8(GetParam()));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray header = file.read(30);
    ASSERT_EQ(header.size(), 30);
    EXPECT_EQ(header.left(2), QByteArray("BM"));
    EXPECT_EQ(static_cast<unsigned char>(header[28]) | static_cast<unsigned char>(header[29]) << 8,
              24);
}

INSTANTIATE_TEST_SUITE_P(Run, DeliveredBitmap, testing::Values("wait.BMP", "success.BMP"));

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

} // namespace

int main(int argc, char** argv)
{
    // Image format plugins (ICO, SVG) are found through the application.
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
