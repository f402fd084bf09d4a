#include "support/Fixtures.h"

#include "support/CameraLikePhotos.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImageWriter>
#include <QPainter>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <exiv2/exiv2.hpp>

#include <condition_variable>
#include <cstdio>
#include <cerrno>
#include <fcntl.h>
#include <glob.h>
#include <jpeglib.h>
#include <mutex>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace pomelark::test {

namespace {

void makeParent(const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
}

} // namespace

void writeJpegByRows(const QString &path, const JpegRecipe &recipe, const std::function<void(int, QRgb *)> &pixelsOf)
{
    FILE *file = std::fopen(QFile::encodeName(path).constData(), "wb");
    if (!file)
        throw std::runtime_error("cannot write fixture");
    const bool cmyk = recipe.colour == JpegColour::cmyk;
    const bool grey = recipe.colour == JpegColour::grey;
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = JDIMENSION(recipe.size.width());
    info.image_height = JDIMENSION(recipe.size.height());
    info.input_components = cmyk ? 4 : grey ? 1 : 3;
    info.in_color_space = cmyk ? JCS_CMYK : grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    if (recipe.fullChroma)
        info.comp_info[0].h_samp_factor = info.comp_info[0].v_samp_factor = 1;
    jpeg_set_quality(&info, recipe.quality, TRUE);
    info.restart_interval = JDIMENSION(recipe.restartInterval);
    info.optimize_coding = recipe.optimized;
    info.arith_code = recipe.arithmetic;
    std::vector<jpeg_scan_info> scans;
    if (recipe.scanPerComponent) {
        for (int component = 0; component < info.num_components; ++component)
            scans.push_back({.comps_in_scan = 1, .component_index = {component}, .Ss = 0, .Se = 63, .Ah = 0, .Al = 0});
        info.scan_info = scans.data();
        info.num_scans = int(scans.size());
    }
    if (recipe.progressive)
        jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    std::vector<QRgb> pixels(size_t(recipe.size.width()));
    std::vector<JSAMPLE> row(size_t(recipe.size.width()) * 4);
    while (info.next_scanline < info.image_height) {
        pixelsOf(int(info.next_scanline), pixels.data());
        for (int x = 0; x < recipe.size.width(); ++x) {
            const int r = qRed(pixels[x]), g = qGreen(pixels[x]), b = qBlue(pixels[x]);
            if (grey) {
                row[size_t(x)] = JSAMPLE(qGray(r, g, b));
                continue;
            }
            if (!cmyk) {
                row[size_t(x) * 3 + 0] = JSAMPLE(r);
                row[size_t(x) * 3 + 1] = JSAMPLE(g);
                row[size_t(x) * 3 + 2] = JSAMPLE(b);
                continue;
            }
            // Adobe's inverted CMYK, as cameras and editors write it.
            const int k = 255 - std::max({r, g, b});
            const int c = k == 255 ? 0 : (255 - r - k) * 255 / (255 - k);
            const int m = k == 255 ? 0 : (255 - g - k) * 255 / (255 - k);
            const int y = k == 255 ? 0 : (255 - b - k) * 255 / (255 - k);
            row[size_t(x) * 4 + 0] = JSAMPLE(255 - c);
            row[size_t(x) * 4 + 1] = JSAMPLE(255 - m);
            row[size_t(x) * 4 + 2] = JSAMPLE(255 - y);
            row[size_t(x) * 4 + 3] = JSAMPLE(255 - k);
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::fclose(file);
}

namespace {

/// Writes through libjpeg itself, for what Qt's writer cannot: CMYK, restart
/// markers, arithmetic coding, a scan for each component.
void writeWithLibjpeg(const QString &path, const QImage &picture, const JpegRecipe &recipe)
{
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    writeJpegByRows(path, recipe, [&](int y, QRgb *row) {
        std::copy_n(reinterpret_cast<const QRgb *>(rgb.constScanLine(y)), rgb.width(), row);
    });
}

void writeExif(const QString &path, const JpegRecipe &recipe)
{
    if (recipe.orientation == 0 && recipe.dateTimeOriginal.isEmpty() && recipe.exif.isEmpty())
        return;
    auto image = Exiv2::ImageFactory::open(path.toStdString());
    image->readMetadata();
    Exiv2::ExifData &exif = image->exifData();
    if (recipe.orientation != 0)
        exif["Exif.Image.Orientation"] = uint16_t(recipe.orientation);
    if (!recipe.dateTimeOriginal.isEmpty())
        exif["Exif.Photo.DateTimeOriginal"] = recipe.dateTimeOriginal.toStdString();
    for (auto tag = recipe.exif.begin(); tag != recipe.exif.end(); ++tag)
        exif[tag.key().toStdString()] = tag.value().toStdString();
    image->writeMetadata();
}

QStringList videoArguments(const VideoRecipe &recipe, const QString &output)
{
    const QString size = QStringLiteral("%1x%2").arg(recipe.size.width()).arg(recipe.size.height());
    const QString seconds = QString::number(recipe.seconds);
    const QString picture = recipe.colourBars ? QStringLiteral("smptehdbars") : QStringLiteral("testsrc2");
    QStringList args{QStringLiteral("-nostdin"), QStringLiteral("-hide_banner"), QStringLiteral("-loglevel"),
                     QStringLiteral("error"), QStringLiteral("-y"), QStringLiteral("-f"), QStringLiteral("lavfi"),
                     QStringLiteral("-i"), QStringLiteral("%1=size=%2:rate=25").arg(picture, size)};
    if (recipe.audio)
        args << QStringLiteral("-f") << QStringLiteral("lavfi") << QStringLiteral("-i")
             << QStringLiteral("sine=frequency=440:sample_rate=44100");
    args << QStringLiteral("-t") << seconds;
    if (!recipe.pixelAspect.isEmpty())
        args << QStringLiteral("-vf") << QStringLiteral("setsar=") + recipe.pixelAspect;
    auto pixels = [&](const char *usual) {
        return QStringList{QStringLiteral("-pix_fmt"),
                           recipe.pixelFormat.isEmpty() ? QString::fromLatin1(usual) : recipe.pixelFormat};
    };
    switch (recipe.format) {
    case VideoFormat::movH264:
    case VideoFormat::mp4H264:
        args << QStringLiteral("-c:v") << QStringLiteral("libx264") << pixels("yuv420p") << QStringLiteral("-preset")
             << QStringLiteral("ultrafast");
        if (recipe.audio)
            args << QStringLiteral("-c:a") << QStringLiteral("aac");
        break;
    case VideoFormat::mp4Hevc:
        args << QStringLiteral("-c:v") << QStringLiteral("libx265") << QStringLiteral("-preset")
             << QStringLiteral("ultrafast") << pixels("yuv420p") << QStringLiteral("-x265-params")
             << QStringLiteral("log-level=error") << QStringLiteral("-tag:v") << QStringLiteral("hvc1");
        if (recipe.audio)
            args << QStringLiteral("-c:a") << QStringLiteral("aac");
        break;
    case VideoFormat::aviMjpeg:
    case VideoFormat::movMjpeg:
        args << QStringLiteral("-c:v") << QStringLiteral("mjpeg") << QStringLiteral("-q:v") << QStringLiteral("5")
             << pixels("yuvj420p");
        if (recipe.audio)
            args << QStringLiteral("-c:a") << QStringLiteral("pcm_s16le");
        break;
    case VideoFormat::aviMpeg4:
        args << QStringLiteral("-c:v") << QStringLiteral("mpeg4") << QStringLiteral("-q:v") << QStringLiteral("5");
        if (recipe.audio)
            args << QStringLiteral("-c:a") << QStringLiteral("libmp3lame");
        break;
    }
    if (recipe.pictureDamaged)
        args << QStringLiteral("-bsf:v") << QStringLiteral("noise=amount=1");
    if (recipe.indexFirst)
        args << QStringLiteral("-movflags") << QStringLiteral("+faststart");
    if (!recipe.picture)
        args << QStringLiteral("-vn");
    args << output;
    return args;
}

void runFfmpeg(const QStringList &arguments)
{
    QProcess ffmpeg;
    ffmpeg.start(ffmpegProgram(), arguments);
    if (!ffmpeg.waitForFinished(120000) || ffmpeg.exitStatus() != QProcess::NormalExit || ffmpeg.exitCode() != 0)
        throw std::runtime_error("ffmpeg could not make a fixture video: "
                                 + ffmpeg.readAllStandardError().toStdString());
}

QString videoExtension(VideoFormat format)
{
    switch (format) {
    case VideoFormat::movH264:
    case VideoFormat::movMjpeg:
        return QStringLiteral("mov");
    case VideoFormat::mp4Hevc:
    case VideoFormat::mp4H264:
        return QStringLiteral("mp4");
    case VideoFormat::aviMjpeg:
    case VideoFormat::aviMpeg4:
        break;
    }
    return QStringLiteral("avi");
}

} // namespace

QImage fixturePicture(QSize size)
{
    QImage picture(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(picture.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            line[x] = qRgb(80 + 100 * x / std::max(1, size.width()), 160, 80 + 100 * y / std::max(1, size.height()));
    }
    QPainter painter(&picture);
    const int w = size.width() / 4;
    const int h = size.height() / 4;
    painter.fillRect(0, 0, w, h, QColor(230, 20, 20));
    painter.fillRect(size.width() - w, size.height() - h, w, h, QColor(20, 20, 230));
    return picture;
}

QString makeJpeg(const QString &path, const JpegRecipe &recipe)
{
    makeParent(path);
    QImage picture = fixturePicture(recipe.size);
    if (recipe.colourSpace.isValid())
        picture.setColorSpace(recipe.colourSpace);
    if (recipe.grain > 0) {
        QRandomGenerator noise(1);
        addGrain(picture, noise, recipe.grain);
    }
    switch (recipe.colour) {
    case JpegColour::rgb: {
        if (recipe.restartInterval > 0 || recipe.arithmetic || recipe.scanPerComponent || recipe.fullChroma) {
            writeWithLibjpeg(path, picture, recipe);
            break;
        }
        QImageWriter writer(path, "JPG");
        writer.setQuality(recipe.quality);
        writer.setProgressiveScanWrite(recipe.progressive);
        writer.setOptimizedWrite(recipe.optimized);
        if (!writer.write(picture))
            throw std::runtime_error("cannot write fixture JPEG");
        break;
    }
    case JpegColour::grey:
        if (recipe.progressive || recipe.arithmetic) {
            writeWithLibjpeg(path, picture, recipe);
            break;
        }
        if (!picture.convertToFormat(QImage::Format_Grayscale8).save(path, "JPG", recipe.quality))
            throw std::runtime_error("cannot write fixture JPEG");
        break;
    case JpegColour::cmyk:
        writeWithLibjpeg(path, picture, recipe);
        break;
    }
    writeExif(path, recipe);
    return path;
}

QString ffmpegProgram()
{
    const QString configured = qEnvironmentVariable("POMELARK_FFMPEG");
    return configured.isEmpty() ? QStringLiteral("ffmpeg") : configured;
}

QString makeVideo(const QString &path, const VideoRecipe &recipe)
{
    static QTemporaryDir cache(QDir::tempPath() + QStringLiteral("/pomelark-video-fixtures-XXXXXX"));
    static QHash<QString, QString> made;
    const QString key = QStringLiteral("%1-%2%3-%4-%5x%6-%7-%8-%9")
                            .arg(int(recipe.format))
                            .arg(recipe.audio)
                            .arg(recipe.picture)
                            .arg(recipe.seconds)
                            .arg(recipe.size.width())
                            .arg(recipe.size.height())
                            .arg(recipe.pictureDamaged)
                            .arg(recipe.pixelFormat)
                            .arg(recipe.colourBars)
                        + (recipe.indexFirst ? QStringLiteral("-indexFirst") : QString())
                        + QStringLiteral("-%1-%2").arg(recipe.rotation).arg(
                            QString(recipe.pixelAspect).replace(u'/', u'x'));
    QString cached = made.value(key);
    if (cached.isEmpty()) {
        cached = cache.filePath(key + QLatin1Char('.') + videoExtension(recipe.format));
        // This ffmpeg writes the "rotate" tag into the display matrix only when
        // it copies the stream, not when it encodes it.
        const QString encoded = recipe.rotation ? cache.filePath(key + QStringLiteral("-unturned.")
                                                               + videoExtension(recipe.format))
                                              : cached;
        runFfmpeg(videoArguments(recipe, encoded));
        if (recipe.rotation)
            runFfmpeg({QStringLiteral("-nostdin"), QStringLiteral("-loglevel"), QStringLiteral("error"),
                       QStringLiteral("-y"), QStringLiteral("-i"), encoded, QStringLiteral("-c"),
                       QStringLiteral("copy"), QStringLiteral("-metadata:s:v:0"),
                       QStringLiteral("rotate=%1").arg(recipe.rotation), cached});
        made.insert(key, cached);
    }
    makeParent(path);
    QFile::remove(path);
    if (!QFile::copy(cached, path))
        throw std::runtime_error("cannot copy fixture video");
    QFile(path).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                               | QFileDevice::ReadOther);
    return path;
}

namespace {

/// Where the compressed data of the JPEG's first scan starts and ends (its end marker).
std::pair<qint64, qint64> scanData(const QByteArray &jpeg)
{
    const qsizetype sos = jpeg.indexOf("\xff\xda");
    if (sos < 0 || sos + 4 > jpeg.size())
        throw std::runtime_error("no scan in fixture JPEG");
    const int length = (uchar(jpeg[sos + 2]) << 8) | uchar(jpeg[sos + 3]);
    const qint64 begin = sos + 2 + length;
    const qint64 end = jpeg.lastIndexOf("\xff\xd9");
    if (end <= begin)
        throw std::runtime_error("no end in fixture JPEG");
    return {begin, end};
}

} // namespace

void cutInScanData(const QString &path)
{
    const auto [begin, end] = scanData(contentOf(path));
    truncateFile(path, (begin + end) / 2);
}

void damageScanData(const QString &path)
{
    QByteArray jpeg = contentOf(path);
    const auto [begin, end] = scanData(jpeg);
    qint64 middle = (begin + end) / 2;
    while (uchar(jpeg[middle - 1]) == 0xff) // not the second byte of a stuffed 0xff
        ++middle;
    for (qint64 i = 0; i < 64 && middle + i < end; ++i)
        jpeg[middle + i] = char((i * 37 + 11) % 0xff);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(jpeg) != jpeg.size())
        throw std::runtime_error("cannot damage fixture");
}

void truncateFile(const QString &path, qint64 bytes)
{
    QFile file(path);
    if (!file.resize(bytes))
        throw std::runtime_error("cannot truncate fixture");
}

namespace {

/// Where the first packet of the video at `path` that starts at or past `share`
/// of its length begins, and how long it is.
std::pair<qint64, qint64> firstPacketFrom(const QString &path, double share)
{
    QProcess probe;
    probe.start(QStringLiteral("ffprobe"), {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-show_entries"),
                                            QStringLiteral("packet=pos,size"), QStringLiteral("-of"),
                                            QStringLiteral("csv=p=0"), path});
    if (!probe.waitForFinished(60000) || probe.exitCode() != 0)
        throw std::runtime_error("ffprobe could not list a fixture's packets");
    const qint64 from = qint64(QFileInfo(path).size() * share);
    std::pair<qint64, qint64> first{-1, 0};
    // "size,pos" a packet, in ffprobe's order of the fields.
    for (const QByteArray &line : probe.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> fields = line.trimmed().split(',');
        bool isNumber = false;
        const qint64 position = fields.value(1).toLongLong(&isNumber);
        if (isNumber && position >= from && (first.first < 0 || position < first.first))
            first = {position, fields[0].toLongLong()};
    }
    if (first.first < 0)
        throw std::runtime_error("no packet starts past the cut");
    return first;
}

} // namespace

void cutAtPacketEdge(const QString &path, double share)
{
    truncateFile(path, firstPacketFrom(path, share).first);
}

void cutInsidePacket(const QString &path, double share)
{
    const auto [position, size] = firstPacketFrom(path, share);
    truncateFile(path, position + std::max<qint64>(1, size / 2));
}

void truncateFileToShare(const QString &path, double share)
{
    truncateFile(path, qint64(QFileInfo(path).size() * share));
}

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QString makeTextFile(const QString &path, const QByteArray &content)
{
    makeParent(path);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error("cannot write fixture");
    file.write(content);
    return path;
}

QString makeEmptyFile(const QString &path)
{
    return makeTextFile(path, QByteArray());
}

QString makeLink(const QString &path, const QString &target)
{
    makeParent(path);
    if (::symlink(QFile::encodeName(target).constData(), QFile::encodeName(path).constData()) != 0)
        throw std::runtime_error("cannot make link");
    return path;
}

QString makeDanglingLink(const QString &path)
{
    return makeLink(path, QFileInfo(path).absolutePath() + QStringLiteral("/no-such-file-anywhere"));
}

QString makeFifo(const QString &path)
{
    makeParent(path);
    if (::mkfifo(QFile::encodeName(path).constData(), 0644) != 0)
        throw std::runtime_error("cannot make a named pipe");
    return path;
}

QString fileFailingEveryRead()
{
    static const QString found = [] {
        const char *pattern = "/sys/devices/virtual/*/*/power/autosuspend_delay_ms";
        glob_t matches{};
        QString path;
        if (::glob(pattern, 0, nullptr, &matches) == 0) {
            for (size_t i = 0; i < matches.gl_pathc && path.isEmpty(); ++i) {
                const int fd = ::open(matches.gl_pathv[i], O_RDONLY);
                struct stat attributes {};
                char byte = 0;
                if (fd >= 0 && ::fstat(fd, &attributes) == 0 && S_ISREG(attributes.st_mode) && attributes.st_size > 0
                    && ::read(fd, &byte, 1) < 0 && errno == EIO)
                    path = QFile::decodeName(matches.gl_pathv[i]);
                if (fd >= 0)
                    ::close(fd);
            }
        }
        ::globfree(&matches);
        return path;
    }();
    if (found.isEmpty())
        throw std::runtime_error("this test needs a file whose reads fail with EIO, and none of "
                                 "/sys/devices/virtual/*/*/power/autosuspend_delay_ms does here");
    return found;
}

PipeReleaser::PipeReleaser(const QString &path)
    : m_watch([this, name = QFile::encodeName(path)](std::stop_token stop) {
          std::mutex lock;
          std::condition_variable_any wake;
          std::unique_lock held(lock);
          while (!wake.wait_for(held, stop, std::chrono::seconds(5), [&] { return stop.stop_requested(); })) {
              // Without a reader a non-blocking open of the write end fails (ENXIO).
              const int writer = ::open(name.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
              if (writer >= 0) {
                  ++m_released;
                  ::close(writer);
              }
          }
      })
{
}

} // namespace pomelark::test
