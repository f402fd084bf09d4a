#include "services/FFmpegRunner.h"

#include "platform/ChildProcess.h"
#include "platform/CpuBudget.h"
#include "platform/CpuSetPreload.h"
#include "platform/FFmpegProgram.h"
#include "platform/MediaProbe.h"
#include "platform/SystemLog.h"

#include <QFile>
#include <QProcess>

#include <qcoro/qcoroprocess.h>

#include <algorithm>
#include <coroutine>
#include <csignal>

#include <sys/stat.h>

namespace pomelark {

namespace {

/// Resumes the awaiting coroutine, through the event loop, once `process` has
/// left the Starting state, whether it started or not. stateChanged is a
/// private signal: a slot that takes its arguments would get the hidden last
/// one as a reference to nothing, so this slot takes none.
class StartSettled {
public:
    explicit StartSettled(QProcess &process) : m_process(process) {}

    bool await_ready() const { return m_process.state() != QProcess::Starting; }

    void await_suspend(std::coroutine_handle<> awaiting)
    {
        m_connection = QObject::connect(&m_process, &QProcess::stateChanged, &m_process, [this, awaiting] {
            if (m_process.state() == QProcess::Starting)
                return;
            QObject::disconnect(m_connection);
            QMetaObject::invokeMethod(&m_process, [awaiting] { awaiting.resume(); }, Qt::QueuedConnection);
        });
    }

    void await_resume() const {}

private:
    QProcess &m_process;
    QMetaObject::Connection m_connection;
};

/// The size a poster of a `stored` frame is written at: `shape`'s shown size,
/// unless that passes 8192 a side; then, in the same shape, shrunk to the
/// frame's longer stored side. Such a poster gains nothing from more pixels
/// than the frame holds, and ffmpeg's JPEG encoder refuses a side over 65500.
QSize posterSize(const PictureShape &shape, QSize stored)
{
    constexpr int largestShownSide = 8192;
    const QSize shown = shape.shownSize(stored);
    const int longest = qMax(stored.width(), stored.height());
    if (qMax(shown.width(), shown.height()) <= qMax(largestShownSide, longest))
        return shown;
    auto shrunk = [longest](int side, int longSide) { return qMax(1, qRound(side * double(longest) / longSide)); };
    return shown.width() >= shown.height() ? QSize(longest, shrunk(shown.height(), shown.width()))
                                           : QSize(shrunk(shown.width(), shown.height()), longest);
}

} // namespace

FFmpegRunner::FFmpegRunner(Lookup lookup) : m_lookup(lookup ? std::move(lookup) : Lookup(&FFmpegProgram::find)) {}

FFmpegRunner &FFmpegRunner::shared()
{
    static FFmpegRunner runner;
    return runner;
}

std::optional<QString> FFmpegRunner::binaryPath()
{
    if (!m_binaryPath)
        m_binaryPath = m_lookup();
    return *m_binaryPath;
}

QStringList FFmpegRunner::frameArguments(const QString &input, const QString &output,
                                         const std::optional<QSize> &shown)
{
    QStringList arguments{QStringLiteral("-hide_banner"), QStringLiteral("-loglevel"), QStringLiteral("info"),
                          QStringLiteral("-y"), QStringLiteral("-i"), input, QStringLiteral("-vframes"),
                          QStringLiteral("1"), QStringLiteral("-q:v"), QStringLiteral("2")};
    // ffmpeg turns the frame upright before this filter, so the size is the
    // turned one. setsar: the rounded width must not leave a shape a hair off
    // square in the JPEG's header.
    if (shown)
        arguments << QStringLiteral("-vf")
                  << QStringLiteral("scale=%1:%2,setsar=1").arg(shown->width()).arg(shown->height());
    arguments << output;
    return arguments;
}

QStringList FFmpegRunner::hevcArguments(const QString &input, const QString &output, const QString &bitrate,
                                        const std::optional<QString> &creationTime, const QString &preset)
{
    // 8-bit 4:2:0 whatever the source: 10-bit or full-range sources would
    // otherwise come out in a profile few players decode. "-xerror": a read
    // that fails or a damaged packet ends the run with a failure; without it
    // ffmpeg treats the failed read as the end of the file and exits with 0.
    // x265 would size its pool from the machine, not from the CPUs we were given.
    const QString x265 = QStringLiteral("log-level=error:pools=%1").arg(CpuBudget().cpus());
    QStringList arguments{QStringLiteral("-hide_banner"), QStringLiteral("-loglevel"), QStringLiteral("error"),
                          QStringLiteral("-xerror"), QStringLiteral("-y"), QStringLiteral("-i"), input,
                          QStringLiteral("-c:v"), QStringLiteral("libx265"), QStringLiteral("-preset"), preset,
                          QStringLiteral("-pix_fmt"), QStringLiteral("yuv420p"), QStringLiteral("-x265-params"),
                          x265, QStringLiteral("-tag:v"), QStringLiteral("hvc1"),
                          QStringLiteral("-b:v"), bitrate, QStringLiteral("-c:a"), QStringLiteral("aac"),
                          QStringLiteral("-b:a"), QStringLiteral("128k"), QStringLiteral("-f"), QStringLiteral("mov")};
    if (creationTime)
        arguments << QStringLiteral("-metadata") << QStringLiteral("creation_time=") + *creationTime;
    arguments << output;
    return arguments;
}

QCoro::Task<QString> FFmpegRunner::extractFrame(QString input, QString output, std::shared_ptr<FFmpegStopper> stopper)
{
    co_await refuseWhatIsNoFile(input);
    // Square pixels, by far the most, keep the plain grab and its posters.
    const std::optional<QSize> shown = co_await stretchedSize(input);
    co_return co_await run(frameArguments(input, output, shown), std::move(stopper));
}

QCoro::Task<QString> FFmpegRunner::convertToHEVC(QString input, QString output, QString bitrate,
                                                 std::optional<QString> creationTime,
                                                 std::shared_ptr<FFmpegStopper> stopper)
{
    co_await refuseWhatIsNoFile(input);
    // Taken before the run: a card pulled during it takes the source with it.
    const double sourceSeconds = co_await probedSeconds(input, false);
    QString log = co_await run(hevcArguments(input, output, bitrate, creationTime), std::move(stopper));
    // A source that ends early, at a packet's edge, ends the run as if the video
    // ended there, with exit status 0: only the lengths tell.
    if (sourceSeconds > 0) {
        const double writtenSeconds = co_await probedSeconds(output, true);
        if (writtenSeconds < sourceSeconds - allowedShortfall(sourceSeconds))
            throw FFmpegError::partialRead(writtenSeconds, sourceSeconds);
    }
    co_return log;
}

double FFmpegRunner::allowedShortfall(double sourceSeconds)
{
    return std::min(0.5, sourceSeconds / 10);
}

QCoro::Task<void> FFmpegRunner::refuseWhatIsNoFile(QString input)
{
    // ffmpeg opens its input blocking: on a named pipe put in a video's place
    // it would wait for a writer, and the send or the poster with it.
    const bool noFile = co_await m_executor.run([input] {
        struct stat status {};
        return ::stat(QFile::encodeName(input).constData(), &status) == 0 && !S_ISREG(status.st_mode);
    });
    if (noFile)
        throw FFmpegError::sourceNotAFile();
}

QCoro::Task<double> FFmpegRunner::probedSeconds(QString path, bool quickTime)
{
    co_return co_await m_executor.run([path, quickTime] {
        const std::optional<MediaInfo> info = quickTime ? MediaProbe::probeQuickTime(path) : MediaProbe::probe(path);
        return info ? info->duration : 0.0;
    });
}

QCoro::Task<std::optional<QSize>> FFmpegRunner::stretchedSize(QString path)
{
    co_return co_await m_executor.run([path]() -> std::optional<QSize> {
        const std::optional<MediaInfo> info = MediaProbe::probe(path);
        if (!info)
            return std::nullopt;
        for (const MediaTrack &track : info->tracks) {
            if (track.type != MediaTrack::Type::video)
                continue;
            // Pixels so near square that the width comes out the same need no scaling.
            const QSize shown = posterSize(track.shape, track.frameSize);
            const QSize upright = PictureShape{track.shape.clockwiseTurn}.shownSize(track.frameSize);
            return shown == upright ? std::nullopt : std::optional<QSize>(shown);
        }
        return std::nullopt;
    });
}

QCoro::Task<QString> FFmpegRunner::run(QStringList arguments, std::shared_ptr<FFmpegStopper> stopper)
{
    const std::optional<QString> program = binaryPath();
    if (!program)
        throw FFmpegError::binaryNotFound();
    if (stopper && stopper->isStopped())
        throw FFmpegError::killedBySignal(SIGKILL);

    QProcess process;
    process.setProgram(*program);
    process.setArguments(arguments);
    // ffmpeg reads keys from standard input while it runs; give it nothing to read.
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    ChildProcess::dieWithParent(process);
    // x265's pool is sized by the arguments; its threads are kept on our CPUs here.
    CpuSetPreload::keepThreadsInside(process);
    process.start(QIODevice::ReadOnly);
    // The start's outcome arrives through the event loop. Waiting on the state
    // rather than on started() also ends the wait when the start fails.
    co_await StartSettled(process);
    if (process.error() == QProcess::FailedToStart)
        throw FFmpegError::launchFailed(process.errorString());

    if (stopper)
        stopper->attach(&process);
    if (process.state() != QProcess::NotRunning)
        co_await qCoro(process).waitForFinished(-1);
    if (stopper)
        stopper->detach();

    // Lenient decoding: one odd byte in a file's metadata must not cost the
    // whole log, which carries the length and the error text.
    const QString log = QString::fromUtf8(process.readAllStandardError());
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        const qsizetype inputAt = arguments.indexOf(QStringLiteral("-i")) + 1;
        const QString input = inputAt > 0 ? arguments.value(inputAt) : QString();
        // The error's description keeps one line of the log; the whole of it is
        // for whoever looks into the failure.
        if (!log.trimmed().isEmpty())
            SystemLog::write(QStringLiteral("[FFmpegRunner] ffmpeg failed on ") + input + QStringLiteral(": ")
                             + log.trimmed());
        // A crash's exit code is the signal's number.
        if (process.exitStatus() == QProcess::CrashExit)
            throw FFmpegError::killedBySignal(process.exitCode(), log.trimmed());
        // Both argument lists end with the file the run writes.
        throw FFmpegError::nonZeroExit(process.exitCode(), log.trimmed(), arguments.value(arguments.size() - 1), input);
    }
    co_return log;
}

} // namespace pomelark
