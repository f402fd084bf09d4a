#include "support/CalibrationSet.h"

#include <QDir>
#include <QFileInfo>

#include <exiv2/exiv2.hpp>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include <stdexcept>

namespace pomelark::test {

namespace {

const QString openCvData = QStringLiteral("/usr/share/doc/opencv-doc/examples");
const QString dlibExamples = QStringLiteral("/usr/share/doc/libdlib19.1/examples");

QStringList existing(const QStringList &paths)
{
    QStringList found;
    for (const QString &path : paths)
        if (QFileInfo::exists(path))
            found.append(path);
    return found;
}

QStringList dlibFaces()
{
    QStringList paths;
    const QDir faces(dlibExamples + QStringLiteral("/faces"));
    for (const QString &name : faces.entryList({QStringLiteral("*.jpg")}, QDir::Files, QDir::Name))
        paths.append(faces.filePath(name));
    return paths;
}

cv::Mat readSource(const QString &path)
{
    cv::Mat image = cv::imread(path.toStdString(), cv::IMREAD_COLOR);
    if (image.empty())
        throw std::runtime_error("cannot read calibration source " + path.toStdString());
    return image;
}

cv::Mat cropShare(const cv::Mat &image, double left, double top, double right, double bottom)
{
    const int x0 = int(image.cols * left), y0 = int(image.rows * top);
    const int x1 = image.cols - int(image.cols * right), y1 = image.rows - int(image.rows * bottom);
    return image(cv::Rect(x0, y0, x1 - x0, y1 - y0)).clone();
}

cv::Mat makeVariant(const cv::Mat &image, const QString &variant, cv::RNG &rng)
{
    const int longer = std::max(image.cols, image.rows);
    cv::Mat out;
    if (variant == QLatin1String("base")) {
        out = image.clone();
    } else if (variant == QLatin1String("shift")) {
        out = cropShare(image, 0.10, 0.05, 0.0, 0.0);
    } else if (variant == QLatin1String("zoom")) {
        out = cropShare(image, 0.09, 0.09, 0.09, 0.09);
    } else if (variant == QLatin1String("tilt")) {
        const cv::Mat turn = cv::getRotationMatrix2D(cv::Point2f(image.cols / 2.f, image.rows / 2.f), 3.0, 1.08);
        cv::warpAffine(image, out, turn, image.size(), cv::INTER_LINEAR, cv::BORDER_REFLECT);
    } else if (variant == QLatin1String("bright")) {
        image.convertTo(out, -1, 1.3, 12);
    } else if (variant == QLatin1String("dark")) {
        image.convertTo(out, -1, 0.65, 0);
    } else if (variant == QLatin1String("blur")) {
        cv::GaussianBlur(image, out, cv::Size(), std::max(1.5, longer / 280.0));
    } else if (variant == QLatin1String("noise")) {
        cv::Mat noise(image.size(), CV_16SC3);
        rng.fill(noise, cv::RNG::NORMAL, 0, 10);
        cv::Mat wide;
        image.convertTo(wide, CV_16SC3);
        wide += noise;
        wide.convertTo(out, CV_8UC3);
    } else if (variant == QLatin1String("recompress")) {
        std::vector<uchar> bytes;
        cv::imencode(".jpg", image, bytes, {cv::IMWRITE_JPEG_QUALITY, 30});
        out = cv::imdecode(bytes, cv::IMREAD_COLOR);
    } else {
        throw std::invalid_argument("unknown variant " + variant.toStdString());
    }
    return out;
}

void writeJpeg(const QString &path, const cv::Mat &image)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!cv::imwrite(path.toStdString(), image, {cv::IMWRITE_JPEG_QUALITY, 92}))
        throw std::runtime_error("cannot write " + path.toStdString());
}

} // namespace

QStringList calibrationSources()
{
    QStringList paths;
    for (const char *name : {"HappyFish", "apple", "baboon", "building", "butterfly", "fruits", "home",
                             "licenseplate_motion", "messi5", "orange", "squirrel_cls", "starry_night", "stuff"})
        paths.append(openCvData + QStringLiteral("/data/") + QLatin1String(name) + QStringLiteral(".jpg"));
    for (int i = 1; i <= 6; ++i)
        paths.append(openCvData + QStringLiteral("/text/scenetext0%1.jpg").arg(i));
    for (int i = 0; i <= 2; ++i)
        paths.append(openCvData + QStringLiteral("/hfs/data/00%1.jpg").arg(i));
    paths.append(openCvData + QStringLiteral("/alphamat/input_images/plant.jpg"));
    paths.append(dlibExamples + QStringLiteral("/mmod_cars_test_image.jpg"));
    paths.append(dlibExamples + QStringLiteral("/mmod_cars_test_image2.jpg"));
    paths.append(dlibFaces());
    return existing(paths);
}

QStringList faceSources()
{
    QStringList paths = dlibFaces();
    paths.removeIf([](const QString &path) { return path.endsWith(QLatin1String("dogs.jpg")); });
    paths.append(openCvData + QStringLiteral("/data/messi5.jpg"));
    return existing(paths);
}

QStringList variantNames()
{
    return {QStringLiteral("base"),   QStringLiteral("shift"), QStringLiteral("zoom"),
            QStringLiteral("tilt"),   QStringLiteral("bright"), QStringLiteral("dark"),
            QStringLiteral("blur"),   QStringLiteral("noise"), QStringLiteral("recompress")};
}

QList<CalibrationPhoto> makeCalibrationSet(const QString &folder, const QStringList &variants, int maxSources)
{
    const QStringList chosen = variants.isEmpty() ? variantNames() : variants;
    QStringList sources = calibrationSources();
    if (maxSources >= 0 && sources.size() > maxSources)
        sources = sources.mid(0, maxSources);
    QList<CalibrationPhoto> photos;
    for (int s = 0; s < sources.size(); ++s) {
        const cv::Mat image = readSource(sources[s]);
        cv::RNG rng(uint64_t(1000 + s));
        for (const QString &variant : chosen) {
            const QString path = QDir(folder).filePath(
                QStringLiteral("%1_%2.jpg").arg(s, 3, 10, QLatin1Char('0')).arg(variant));
            writeJpeg(path, makeVariant(image, variant, rng));
            photos.append({path, s, variant});
        }
    }
    return photos;
}

QString makeTurnedJpeg(const QString &source, const QString &path, int degrees, bool writeOrientation)
{
    const cv::Mat image = readSource(source);
    cv::Mat turned;
    switch (degrees) {
    case 0: turned = image; break;
    case 90: cv::rotate(image, turned, cv::ROTATE_90_CLOCKWISE); break;
    case 180: cv::rotate(image, turned, cv::ROTATE_180); break;
    case 270: cv::rotate(image, turned, cv::ROTATE_90_COUNTERCLOCKWISE); break;
    default: throw std::invalid_argument("degrees must be a quarter turn");
    }
    writeJpeg(path, turned);
    if (writeOrientation) {
        auto file = Exiv2::ImageFactory::open(path.toStdString());
        file->readMetadata();
        file->exifData()["Exif.Image.Orientation"] = uint16_t(1);
        file->writeMetadata();
    }
    return path;
}

} // namespace pomelark::test
