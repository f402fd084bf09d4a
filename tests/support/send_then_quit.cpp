// Stands in for a program built on the services that ends during a send: sends
// the photos of the folder named by its first argument, in name order, through
// the app's own converter into the Photos folder named by its second argument,
// staging them in the third, and quits its event loop, then returns from main,
// as soon as the first photo's file is begun.
#include "services/ConvertService.h"
#include "services/ExportCoordinator.h"
#include "services/PhotosService.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QTimer>

#include <exiv2/exiv2.hpp>

using namespace pomelark;

int main(int argc, char **argv)
{
    Exiv2::XmpParser::initialize();
    QCoreApplication app(argc, argv);
    if (argc < 4)
        return 2;
    const QString card = QString::fromLocal8Bit(argv[1]), staging = QString::fromLocal8Bit(argv[3]);
    MediaItems items;
    for (const QFileInfo &photo : QDir(card).entryInfoList({QStringLiteral("*.JPG")}, QDir::Files, QDir::Name))
        items.append({QUuid::createUuid(), QUrl::fromLocalFile(photo.filePath()), MediaItem::Kind::photo});
    PhotosService photos(PhotoLibrary(QString::fromLocal8Bit(argv[2])));
    ExportCoordinator coordinator(ConvertService::shared(), photos, staging);
    QCoro::Task<void> send = coordinator.exportItems(items, {.quality = QualityMode::size, .autoCleanup = false}, {},
                                                     [] { return false; });
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, &app, [&] {
        if (QDirIterator(staging, QDir::Files, QDirIterator::Subdirectories).hasNext())
            QCoreApplication::quit();
    });
    look.start(2);
    return QCoreApplication::exec();
}
