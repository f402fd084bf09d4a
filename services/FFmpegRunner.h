#pragma once

#include "platform/HeldFile.h"
#include "platform/SerialExecutor.h"
#include "services/FFmpegError.h"
#include "services/FFmpegStopper.h"

#include <QSize>
#include <QString>
#include <QStringList>

#include <qcoro/qcorotask.h>

#include <functional>
#include <memory>
#include <optional>

namespace pomelark {

/// Runs the ffmpeg program with the app's fixed argument lists. Main thread only.
///
/// Processes start without a shell, so every argument reaches ffmpeg as it is.
/// The caller waits as a suspended coroutine, never by blocking a thread, and
/// several runs may be under way at once. The error stream is read while the
/// process runs, so a long log never stalls it. No time limit applies.
///
/// Every run fails with FFmpegError: binaryNotFound when no program is found
/// (no process is made), launchFailed when it cannot be started, nonZeroExit
/// when it ends with another status than 0 or is killed (then signalled()).
/// The program dies with the app, however the app ends. extractFrame() and
/// convertToHEVC() hand ffmpeg the input they checked, open, never its path:
/// they fail with sourceNotAFile, and make no process, when it cannot be
/// opened as a regular file.
class FFmpegRunner {
public:
    using Lookup = std::function<std::optional<QString>()>;

    /// The x265 preset of the HEVC conversion: on textured, moving 1080p30 video
    /// it matches the slower "fast" in SSIM at 2M and 1M while keeping up with
    /// real time on two cores (1.0x at 2M, 1.1x at 1M, with x265 held to them),
    /// where "fast" fell to 0.8x (bench/hevc_preset_bench).
    static constexpr const char *hevcPreset = "faster";

    /// `lookup` finds the program on first use; its answer, a negative one
    /// included, is kept for the runner's life.
    explicit FFmpegRunner(Lookup lookup = {});

    /// The runner the app uses, made on first use.
    static FFmpegRunner &shared();

    /// The program's path, looked up once.
    std::optional<QString> binaryPath();

    /// Writes one frame of `input` as a JPEG at `output` (overwriting it) and
    /// returns the run's log, which describes the input and its length. The
    /// frame is upright and, when the container says its pixels are not
    /// square, stretched to the size the player shows it at; one that would
    /// pass 8192 a side keeps that shape within the frame's longer stored side.
    QCoro::Task<QString> extractFrame(QString input, QString output, std::shared_ptr<FFmpegStopper> stopper = {});

    /// Converts `input` to HEVC video and AAC audio in a QuickTime file at `output`
    /// at the video bit rate `bitrate` (such as "2M"), stamping `creationTime`
    /// when given. Returns the run's log. Succeeds only when the source was read
    /// whole: a failed read ends the run (nonZeroExit), and an output shorter
    /// than the source's length, as the source's container gave it before the
    /// run, by more than allowedShortfall() fails with partialRead. A source
    /// whose container gives no length is checked by the first rule only.
    QCoro::Task<QString> convertToHEVC(QString input, QString output, QString bitrate,
                                       std::optional<QString> creationTime,
                                       std::shared_ptr<FFmpegStopper> stopper = {});

    /// Runs the program with `arguments`. Returns the whole error-stream text
    /// untrimmed on exit status 0; on failure the error carries it trimmed. Bytes
    /// that are not valid UTF-8 are replaced, never the whole text dropped. The
    /// last argument is taken for the file the run writes: when the log says it
    /// could not be written, the error's description gives the system's reason
    /// without the path (FFmpegError::nonZeroExit).
    QCoro::Task<QString> run(QStringList arguments, std::shared_ptr<FFmpegStopper> stopper = {});

    /// How much shorter than its source a whole conversion may come out: a
    /// tenth of the source's length, at most half a second. Copies of whole
    /// sources come out within a few hundredths of a second of them (the audio
    /// encoder's priming, the last frame's length).
    static double allowedShortfall(double sourceSeconds);

    /// With `shown`, the frame is scaled to that size in square pixels.
    static QStringList frameArguments(const QString &input, const QString &output,
                                      const std::optional<QSize> &shown = std::nullopt);
    static QStringList hevcArguments(const QString &input, const QString &output, const QString &bitrate,
                                     const std::optional<QString> &creationTime,
                                     const QString &preset = QString::fromLatin1(hevcPreset));

private:
    /// The regular file at `input`, held open so that ffmpeg reads that very
    /// file under its reopenPath(). Fails with sourceNotAFile when it cannot
    /// be opened as a regular file (missing, unreadable, a named pipe, a
    /// device, a folder), saying why in the system log.
    QCoro::Task<std::shared_ptr<const HeldFile>> hold(QString input);
    /// The size the player shows the first picture of the video `source` at
    /// (within bounds, as extractFrame() says), when its pixels' shape changes
    /// it; none for square pixels or when the container cannot be read.
    QCoro::Task<std::optional<QSize>> stretchedSize(std::shared_ptr<const HeldFile> source);
    /// The length of the video `source` in seconds; 0 when unknown.
    QCoro::Task<double> probedSeconds(std::shared_ptr<const HeldFile> source);
    /// The same for the QuickTime file a run wrote at `output`.
    QCoro::Task<double> outputSeconds(QString output);
    /// As the public run(); with `input`, ffmpeg inherits its descriptor, and
    /// its log names the file by its path where ffmpeg named it by the link.
    QCoro::Task<QString> runHolding(QStringList arguments, std::shared_ptr<FFmpegStopper> stopper,
                                    std::shared_ptr<const HeldFile> input);

    Lookup m_lookup;
    std::optional<std::optional<QString>> m_binaryPath;
    SerialExecutor m_executor{QStringLiteral("FFmpegRunner")};
};

} // namespace pomelark
