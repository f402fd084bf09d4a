#include "services/FFmpegRunner.h"

#include "platform/ChildProcess.h"
#include "platform/CpuBudget.h"
#include "platform/CpuSetPreload.h"
#include "platform/FFmpegProgram.h"
#include "platform/MediaProbe.h"
#include "platform/SystemErrorText.h"
#include "platform/SystemLog.h"

#include <QProcess>

#include <qcoro/qcoroprocess.h>

#include <algorithm>
#include <cerrno>
#include <coroutine>
#include <csignal>

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

/// `log` with the source named by its own path where ffmpeg names it by the
/// link it was given, so that the log and the errors read from it name the
/// user's file.
QString namingTheSource(QString log, const HeldFile &source)
{
    const QString link = source.reopenPath();
    for (qsizetype at = log.indexOf(link); at >= 0; at = log.indexOf(link, at)) {
        const qsizetype end = at + link.size();
        // "/proc/self/fd/1" is no name of "/proc/self/fd/12".
        if (end < log.size() && log.at(end).isDigit()) {
            at = end;
            continue;
        }
        log.replace(at, link.size(), source.path());
        at += source.path().size();
    }
    return log;
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
    const std::shared_ptr<const HeldFile> source = co_await hold(input);
    // Square pixels, by far the most, keep the plain grab and its posters.
    const std::optional<QSize> shown = co_await stretchedSize(source);
    co_return co_await runHolding(frameArguments(source->reopenPath(), output, shown), std::move(stopper), source);
}

QCoro::Task<QString> FFmpegRunner::convertToHEVC(QString input, QString output, QString bitrate,
                                                 std::optional<QString> creationTime,
                                                 std::shared_ptr<FFmpegStopper> stopper)
{
    const std::shared_ptr<const HeldFile> source = co_await hold(input);
    // Taken before the run: a card pulled during it takes the source with it.
    const double sourceSeconds = co_await probedSeconds(source);
    QString log = co_await runHolding(hevcArguments(source->reopenPath(), output, bitrate, creationTime),
                                      std::move(stopper), source);
    // A source that ends early, at a packet's edge, ends the run as if the video
    // ended there, with exit status 0: only the lengths tell.
    if (sourceSeconds > 0) {
        const double writtenSeconds = co_await outputSeconds(output);
        if (writtenSeconds < sourceSeconds - allowedShortfall(sourceSeconds))
            throw FFmpegError::partialRead(writtenSeconds, sourceSeconds);
    }
    co_return log;
}

double FFmpegRunner::allowedShortfall(double sourceSeconds)
{
    return std::min(0.5, sourceSeconds / 10);
}

QCoro::Task<std::shared_ptr<const HeldFile>> FFmpegRunner::hold(QString input)
{
    // ffmpeg opens its input blocking: on a named pipe put in a video's place
    // it would wait for a writer, and the send or the poster with it. Whatever
    // takes the path's place after this open, ffmpeg reads the file it holds.
    std::shared_ptr<const HeldFile> held =
        co_await m_executor.run([input] { return std::make_shared<const HeldFile>(HeldFile::open(input)); });
    if (!held->isOpen()) {
        const QString why = held->error() == EINVAL ? QStringLiteral("not a regular file")
                                                    : SystemErrorText::systemDescription(held->error());
        SystemLog::write(QStringLiteral("[FFmpegRunner] cannot read ") + input + QStringLiteral(": ") + why);
        throw FFmpegError::sourceNotAFile();
    }
    co_return held;
}

QCoro::Task<double> FFmpegRunner::probedSeconds(std::shared_ptr<const HeldFile> source)
{
    co_return co_await m_executor.run([source] {
        const std::optional<MediaInfo> info = MediaProbe::probe(*source);
        return info ? info->duration : 0.0;
    });
}

QCoro::Task<double> FFmpegRunner::outputSeconds(QString output)
{
    co_return co_await m_executor.run([output] {
        const std::optional<MediaInfo> info = MediaProbe::probeQuickTime(output);
        return info ? info->duration : 0.0;
    });
}

QCoro::Task<std::optional<QSize>> FFmpegRunner::stretchedSize(std::shared_ptr<const HeldFile> source)
{
    co_return co_await m_executor.run([source]() -> std::optional<QSize> {
        const std::optional<MediaInfo> info = MediaProbe::probe(*source);
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
    return runHolding(std::move(arguments), std::move(stopper), nullptr);
}

QCoro::Task<QString> FFmpegRunner::runHolding(QStringList arguments, std::shared_ptr<FFmpegStopper> stopper,
                                              std::shared_ptr<const HeldFile> input)
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
    if (input)
        ChildProcess::keepOpen(process, input->descriptor());
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
    QString log = QString::fromUtf8(process.readAllStandardError());
    if (input)
        log = namingTheSource(log, *input);
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        const qsizetype inputAt = arguments.indexOf(QStringLiteral("-i")) + 1;
        const QString source = input ? input->path() : inputAt > 0 ? arguments.value(inputAt) : QString();
        // The error's description keeps one line of the log; the whole of it is
        // for whoever looks into the failure.
        if (!log.trimmed().isEmpty())
            SystemLog::write(QStringLiteral("[FFmpegRunner] ffmpeg failed on ") + source + QStringLiteral(": ")
                             + log.trimmed());
        // A crash's exit code is the signal's number.
        if (process.exitStatus() == QProcess::CrashExit)
            throw FFmpegError::killedBySignal(process.exitCode(), log.trimmed());
        // Both argument lists end with the file the run writes.
        throw FFmpegError::nonZeroExit(process.exitCode(), log.trimmed(), arguments.value(arguments.size() - 1),
                                       source);
    }
    co_return log;
}

} // namespace pomelark
