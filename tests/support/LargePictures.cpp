#include "support/LargePictures.h"

#include <QCryptographicHash>
#include <QtEndian>

#include <algorithm>
#include <stdexcept>

namespace pomelark::test {

QByteArray claimingSize(QByteArray jpeg, QSize size)
{
    // The first frame header: baseline, extended, progressive, or either arithmetic.
    for (qsizetype at = 2; at + 9 <= jpeg.size(); ++at) {
        const uchar marker = uchar(jpeg[at + 1]);
        if (uchar(jpeg[at]) == 0xff && (marker == 0xc0 || marker == 0xc1 || marker == 0xc2 || marker == 0xc9 || marker == 0xca)) {
            // Marker, length, precision, then height and width, high byte first.
            const char sizes[] = {char(size.height() >> 8), char(size.height()), char(size.width() >> 8), char(size.width())};
            return jpeg.replace(at + 5, 4, sizes, 4);
        }
    }
    throw std::runtime_error("no frame header");
}

QList<HeaderClaim> hugeHeaderClaims()
{
    const JpegRecipe grey{.colour = JpegColour::grey, .progressive = true};
    return {
        {"progressive colour", {.size = QSize(16, 16), .progressive = true}, QSize(14856, 65283)},
        {"baseline colour", {.size = QSize(16, 16)}, QSize(14856, 65283)},
        {"progressive grey", grey, QSize(65500, 32784)},
        {"arithmetic progressive grey", {.colour = JpegColour::grey, .progressive = true, .arithmetic = true},
         QSize(65500, 32784)},
        {"progressive 4:4:4 colour", {.progressive = true, .fullChroma = true}, QSize(23170, 23170)},
        {"progressive CMYK", {.colour = JpegColour::cmyk, .progressive = true}, QSize(23170, 23170)},
        {"progressive grey, fitting in memory", grey, QSize(24000, 24000)},
    };
}

QString makeLargeJpeg(const QString &path, QSize size, bool progressive)
{
    writeJpegByRows(path, {.size = size, .quality = 85, .progressive = progressive}, [&](int y, QRgb *row) {
        for (int x = 0; x < size.width(); ++x) {
            const int checker = ((x / 4 + y / 4) % 2) * 24;
            row[x] = qRgb(int(qint64(x) * 200 / size.width()) + checker, int(qint64(y) * 200 / size.height()) + checker,
                          120 + checker);
        }
    });
    return path;
}

QByteArray withProfileChunks(const QByteArray &jpeg, int count, int bytes)
{
    const QByteArray tag("ICC_PROFILE", 12);
    QByteArray chunks;
    chunks.reserve(qsizetype(count) * (bytes + 4));
    for (int chunk = 0; chunk < count; ++chunk) {
        // Marker, length (its own two bytes included), tag, number, count; then
        // data that differs from chunk to chunk.
        const int length = bytes + 2;
        chunks.append("\xff\xe2", 2);
        chunks += char(length >> 8);
        chunks += char(length);
        chunks += tag;
        chunks += char(chunk % 255 + 1);
        chunks += char(255);
        const qsizetype dataStart = chunks.size();
        chunks.resize(dataStart + bytes - tag.size() - 2);
        for (qsizetype at = dataStart; at < chunks.size(); ++at)
            chunks[at] = char(chunk * 7 + at);
    }
    return jpeg.left(2) + chunks + jpeg.mid(2);
}

QByteArray withExtendedXmp(const QByteArray &jpeg, qint64 bytes)
{
    const QByteArray tag("http://ns.adobe.com/xmp/extension/", 35);
    // A packet of that size: a description whose text differs along it.
    QByteArray packet = "<x:xmpmeta xmlns:x='adobe:ns:meta/'><rdf:RDF "
                        "xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'>"
                        "<rdf:Description rdf:about='' xmlns:dc='http://purl.org/dc/elements/1.1/'><dc:description>";
    const QByteArray end = "</dc:description></rdf:Description></rdf:RDF></x:xmpmeta>";
    const qsizetype textStart = packet.size();
    packet.resize(std::max<qsizetype>(textStart, qsizetype(bytes) - end.size()));
    for (qsizetype at = textStart; at < packet.size(); ++at)
        packet[at] = char('a' + (at * 7 + at / 4096) % 26);
    packet += end;
    const QByteArray digest = QCryptographicHash::hash(packet, QCryptographicHash::Md5).toHex().toUpper();
    // The most a segment carries besides its tag, digest, length and offset.
    constexpr qsizetype chunkBytes = 65533 - 35 - 32 - 8;
    QByteArray segments;
    segments.reserve(packet.size() + (packet.size() / chunkBytes + 1) * (4 + 35 + 32 + 8));
    for (qsizetype offset = 0; offset < packet.size(); offset += chunkBytes) {
        const qsizetype size = std::min(chunkBytes, packet.size() - offset);
        const int length = int(2 + tag.size() + digest.size() + 8 + size);
        segments.append("\xff\xe1", 2);
        segments += char(length >> 8);
        segments += char(length);
        segments += tag + digest;
        char numbers[8];
        qToBigEndian(quint32(packet.size()), numbers);
        qToBigEndian(quint32(offset), numbers + 4);
        segments.append(numbers, 8);
        segments.append(packet.constData() + offset, size);
    }
    return jpeg.left(2) + segments + jpeg.mid(2);
}

} // namespace pomelark::test
