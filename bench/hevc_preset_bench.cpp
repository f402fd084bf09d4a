// Picks the x265 preset of the HEVC conversion: converts a 20 s 1080p30 clip
// with real texture and motion (a slow pan over photographs with sensor-like
// grain, in a high-rate H.264 file like a camera's) at "2M" and "1M" with each
// candidate preset, pinned to two cores, and reports speed (times real time),
// size and SSIM against the source. Each conversion runs twice and the faster
// run counts, as other work on the machine slows single runs. The bench pins
// itself to the two cores first, so the x265 pool its arguments ask for is
// sized for them, as the app's is on a two-core machine.
//
//   hevc_preset_bench [preset ...]     (default: ultrafast superfast veryfast faster fast)
#include "platform/CpuBudget.h"
#include "platform/CpuSetPreload.h"
#include "services/FFmpegRunner.h"
#include "support/TempFolder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>

#include <algorithm>
#include <cstdio>
#include <stdexcept>

#include <sched.h>

using namespace pomelark;

namespace {

constexpr double clipSeconds = 20.0;

QString runProgram(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    // As the app starts ffmpeg: without it x265 leaves the two cores it was given.
    CpuSetPreload::keepThreadsInside(process);
    process.start(program, arguments);
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        throw std::runtime_error(program.toStdString() + " failed: "
                                 + process.readAllStandardError().right(2000).toStdString());
    return QString::fromUtf8(process.readAllStandardError());
}

QString makeSource(const QString &path)
{
    const QString data = QStringLiteral("/usr/share/doc/opencv-doc/examples/data/");
    QStringList arguments{QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-y")};
    for (const char *photo : {"leuvenA", "aloeL", "starry_night", "building"})
        arguments << QStringLiteral("-loop") << QStringLiteral("1") << QStringLiteral("-framerate")
                  << QStringLiteral("30") << QStringLiteral("-i") << data + QLatin1String(photo) + QStringLiteral(".jpg");
    arguments << QStringLiteral("-f") << QStringLiteral("lavfi") << QStringLiteral("-i")
              << QStringLiteral("sine=frequency=440:sample_rate=48000") << QStringLiteral("-filter_complex")
              << QStringLiteral("[0]scale=1920:1080[a];[1]scale=1920:1080[b];[2]scale=1920:1080[c];"
                                "[3]scale=1920:1080[d];[a][b]hstack[top];[c][d]hstack[bottom];[top][bottom]vstack,"
                                "crop=1920:1080:x='(iw-ow)*(0.5+0.5*sin(t*0.7))':y='(ih-oh)*(0.5+0.5*cos(t*0.5))',"
                                "noise=alls=3:allf=t,format=yuv420p[v]")
              << QStringLiteral("-map") << QStringLiteral("[v]") << QStringLiteral("-map") << QStringLiteral("4:a")
              << QStringLiteral("-t") << QString::number(clipSeconds) << QStringLiteral("-c:v")
              << QStringLiteral("libx264") << QStringLiteral("-preset") << QStringLiteral("veryfast")
              << QStringLiteral("-crf") << QStringLiteral("18") << QStringLiteral("-c:a") << QStringLiteral("aac")
              << QStringLiteral("-b:a") << QStringLiteral("192k") << path;
    runProgram(QStringLiteral("ffmpeg"), arguments);
    return path;
}

double ssim(const QString &converted, const QString &source)
{
    const QString log = runProgram(QStringLiteral("ffmpeg"),
                                   {QStringLiteral("-hide_banner"), QStringLiteral("-i"), converted, QStringLiteral("-i"),
                                    source, QStringLiteral("-lavfi"), QStringLiteral("[0:v][1:v]ssim"),
                                    QStringLiteral("-f"), QStringLiteral("null"), QStringLiteral("-")});
    const QRegularExpressionMatch match = QRegularExpression(QStringLiteral("All:([0-9.]+)")).match(log);
    return match.hasMatch() ? match.captured(1).toDouble() : 0.0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList presets = app.arguments().mid(1);
    if (presets.isEmpty())
        presets = {QStringLiteral("ultrafast"), QStringLiteral("superfast"), QStringLiteral("veryfast"),
                   QStringLiteral("faster"), QStringLiteral("fast")};

    test::TempFolder folder;
    cpu_set_t twoCores;
    CPU_ZERO(&twoCores);
    CPU_SET(0, &twoCores);
    CPU_SET(1, &twoCores);
    if (sched_setaffinity(0, sizeof(twoCores), &twoCores) != 0) {
        std::fprintf(stderr, "cannot pin to cores 0,1\n");
        return 1;
    }
    std::printf("conversions pinned to cores 0,1, x265 pool sized for %d\n", CpuBudget().cpus());
    std::printf("making the 20 s 1080p30 source...\n");
    std::fflush(stdout);
    const QString source = makeSource(folder.filePath(QStringLiteral("source.mov")));
    std::printf("source: %.1f MB\n\n", double(QFileInfo(source).size()) / 1e6);
    std::printf("%-10s %-5s %9s %9s %8s\n", "preset", "rate", "speed", "size MB", "SSIM");

    for (const QString &preset : std::as_const(presets)) {
        for (const QString &rate : {QStringLiteral("2M"), QStringLiteral("1M")}) {
            const QString output = folder.filePath(preset + QLatin1Char('-') + rate + QStringLiteral(".mov"));
            const QStringList arguments = FFmpegRunner::hevcArguments(source, output, rate, std::nullopt, preset);
            double seconds = 1e9;
            for (int run = 0; run < 2; ++run) {
                QElapsedTimer timer;
                timer.start();
                runProgram(QStringLiteral("ffmpeg"), arguments);
                seconds = std::min(seconds, double(timer.nsecsElapsed()) / 1e9);
            }
            std::printf("%-10s %-5s %8.2fx %9.2f %8.4f\n", qPrintable(preset), qPrintable(rate), clipSeconds / seconds,
                        double(QFileInfo(output).size()) / 1e6, ssim(output, source));
            std::fflush(stdout);
            QFile::remove(output);
        }
    }
    return 0;
}
