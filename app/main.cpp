#include "app/MainWindow.h"
#include "app/PomelarkApp.h"
#include "platform/CpuBudget.h"

#include <QApplication>
#include <QIcon>
#include <QThreadPool>

#include <algorithm>
#include <cstdio>

#include <exiv2/exiv2.hpp>

#include <unistd.h>

int main(int argc, char *argv[])
{
    // Qt Multimedia's ffmpeg backend plays every format we hand the player.
    if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND"))
        qputenv("QT_MEDIA_BACKEND", "ffmpeg");
    // Exiv2's XMP parser must be set up once, on one thread, before any worker reads metadata.
    Exiv2::XmpParser::initialize();

    QApplication app(argc, argv);
    // Qt sizes its pool from the CPUs we may run on but not from a cgroup's CPU
    // quota, which would leave more colour-conversion threads than CPU time.
    QThreadPool *pool = QThreadPool::globalInstance();
    pool->setMaxThreadCount(std::min(pool->maxThreadCount(), pomelark::CpuBudget().cpus()));
    QApplication::setApplicationName(QStringLiteral("Pomelark"));
    QApplication::setOrganizationName(QStringLiteral("Pomelark"));
    QApplication::setApplicationVersion(QStringLiteral(POMELARK_VERSION));
    // Lets the desktop match the window to its launcher entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.pomelark.Pomelark"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("io.github.pomelark.Pomelark"),
                                                 QIcon(QStringLiteral(":/icons/io.github.pomelark.Pomelark.svg"))));

    pomelark::PomelarkApp pomelark(app, QVersionNumber::fromString(QStringLiteral(POMELARK_VERSION)));
    pomelark.window()->show();
    const int status = QApplication::exec();
    // All a quit must do was done as the loop ended: the delegate stopped the
    // writers, let an add into Photos end and removed the working folders, and
    // settings are written as they change. What is left would only wait: the
    // application object for the viewer's decodes, the services for their
    // pools, any of them held by a read from a card that stopped answering. So
    // the program ends here without them; its ffmpeg children die with it.
    std::fflush(nullptr);
    ::_exit(status);
}
