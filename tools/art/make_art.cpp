// make-art: renders every picture of the program into a source tree.
// Usage: make-art SOURCE_DIR
// Writes SOURCE_DIR/ui/art/* (pictures stored with the window designs) and
// SOURCE_DIR/dist/*.BMP (pictures delivered beside the program). The output
// depends only on the texts here and the Debian font files, so a second run
// reproduces the committed files byte for byte.
#include "tools/art/ArtFonts.h"
#include "tools/art/IcoFile.h"
#include "tools/art/Pictures.h"
#include "tools/art/TourPage.h"

#include <QApplication>
#include <QDir>
#include <QImageWriter>
#include <QPainter>
#include <QSvgRenderer>
#include <QTextStream>

namespace
{

using namespace halvane::art;

bool save(const QImage& image, const QString& path, const char* format)
{
    QImageWriter writer(path, format);
    if (qstrcmp(format, "png") == 0)
        writer.setQuality(0);
    if (writer.write(image))
        return true;
    QTextStream(stderr) << "make-art: cannot write " << path << ": " << writer.errorString()
                        << '\n';
    return false;
}

// The run pictures are read by the program as 24-bit BMP.
bool saveBmp(const QImage& image, const QString& path)
{
    return save(image.convertToFormat(QImage::Format_RGB888), path, "bmp");
}

// The logo for a window system that draws no SVG (the Win32 backend), at its
// size on a screen of 96 DPI, with its transparency.
bool saveLogoPng(const QString& svgPath, const QString& path)
{
    QSvgRenderer svg(svgPath);
    if (!svg.isValid())
        return false;
    QImage logo(svg.defaultSize(), QImage::Format_ARGB32_Premultiplied);
    logo.fill(Qt::transparent);
    QPainter painter(&logo);
    svg.render(&painter);
    painter.end();
    return save(logo, path, "png");
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: make-art SOURCE_DIR\n";
        return 2;
    }
    QString error;
    if (!ArtFonts::load(error)) {
        QTextStream(stderr) << "make-art: " << error << '\n';
        return 1;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));
    const QString art = root.filePath(QStringLiteral("ui/art"));
    const QString dist = root.filePath(QStringLiteral("dist"));
    if (!QDir().mkpath(art) || !QDir().mkpath(dist)) {
        QTextStream(stderr) << "make-art: cannot create " << art << " or " << dist << '\n';
        return 1;
    }

    const QImage icon16 = programIcon(16);
    const QImage icon32 = programIcon(32);
    bool ok = writeIco(art + QStringLiteral("/qrx2.ico"), {icon16, icon32});
    // The icon at every size of the hicolor theme the desktop menus and
    // software centres ask for; the windows use 16 and 32.
    for (const int size : kIconSizes)
        ok = ok && save(programIcon(size), art + QStringLiteral("/icon%1.png").arg(size), "png");
    ok = ok && save(splashPicture(), art + QStringLiteral("/splash.png"), "png") &&
         save(instructionPicture(), art + QStringLiteral("/instruction.png"), "png") &&
         save(instructionPagePicture(), art + QStringLiteral("/instruction_page.png"), "png") &&
         writeLogoSvg(art + QStringLiteral("/logo.svg")) &&
         saveLogoPng(art + QStringLiteral("/logo.svg"), art + QStringLiteral("/logo.png")) &&
         saveBmp(waitPicture(), dist + QStringLiteral("/wait.BMP")) &&
         saveBmp(successPicture(), dist + QStringLiteral("/success.BMP"));
    for (int page = 1; ok && page <= kTourPages; ++page)
        ok = saveBmp(tourPagePicture(page), dist + QStringLiteral("/%1.BMP").arg(page));
    return ok ? 0 : 1;
}
