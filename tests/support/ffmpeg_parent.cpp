// Stands in for the app in the test that kills it: starts one run of the
// program named by its first argument through FFmpegRunner, then waits to be
// killed.
#include "services/FFmpegRunner.h"

#include <QCoreApplication>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const QString program = QString::fromLocal8Bit(argv[1]);
    pomelark::FFmpegRunner runner([program] { return std::optional<QString>(program); });
    QCoro::Task<QString> run = runner.run({QStringLiteral("-i"), QStringLiteral("clip.mov")});
    return app.exec();
}
