// The .ico container: a directory of entries, then per entry a
// BITMAPINFOHEADER, the bottom-up BGRA pixels and a 1-bit AND mask.
#include "tools/art/IcoFile.h"

#include <QBuffer>
#include <QDataStream>
#include <QFile>

namespace halvane::art
{

namespace
{

QByteArray bitmapEntry(const QImage& source)
{
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const int w = image.width();
    const int h = image.height();
    const int maskStride = ((w + 31) / 32) * 4;

    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    // BITMAPINFOHEADER; the height counts the colour rows and the mask rows.
    out << quint32(40) << qint32(w) << qint32(2 * h) << quint16(1) << quint16(32) << quint32(0)
        << quint32(w * h * 4 + maskStride * h) << qint32(0) << qint32(0) << quint32(0)
        << quint32(0);
    for (int y = h - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < w; ++x)
            out << quint8(qBlue(row[x])) << quint8(qGreen(row[x])) << quint8(qRed(row[x]))
                << quint8(qAlpha(row[x]));
    }
    // AND mask: a set bit is a transparent pixel.
    for (int y = h - 1; y >= 0; --y) {
        QByteArray maskRow(maskStride, '\0');
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < w; ++x)
            if (qAlpha(row[x]) < 128)
                maskRow[x / 8] = static_cast<char>(maskRow[x / 8] | (0x80 >> (x % 8)));
        out.writeRawData(maskRow.constData(), maskStride);
    }
    return bytes;
}

} // namespace

bool writeIco(const QString& path, const QList<QImage>& sizes)
{
    QList<QByteArray> entries;
    for (const QImage& image : sizes)
        entries.append(bitmapEntry(image));

    QByteArray file;
    QDataStream out(&file, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint16(0) << quint16(1) << quint16(sizes.size());
    quint32 offset = 6 + 16 * static_cast<quint32>(sizes.size());
    for (qsizetype i = 0; i < sizes.size(); ++i) {
        const QImage& image = sizes[i];
        out << quint8(image.width() >= 256 ? 0 : image.width())
            << quint8(image.height() >= 256 ? 0 : image.height()) << quint8(0) << quint8(0)
            << quint16(1) << quint16(32) << quint32(entries[i].size()) << offset;
        offset += static_cast<quint32>(entries[i].size());
    }
    for (const QByteArray& entry : entries)
        out.writeRawData(entry.constData(), static_cast<int>(entry.size()));

    QFile target(path);
    return target.open(QIODevice::WriteOnly) && target.write(file) == file.size();
}

} // namespace halvane::art
