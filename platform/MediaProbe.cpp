#include "platform/MediaProbe.h"

#include "platform/FileDescriptor.h"
#include "platform/FirstPictures.h"

#include <QFileInfo>

extern "C" {
#include <libavformat/avformat.h>
#include <libavformat/avio.h>
#include <libavcodec/avcodec.h>
#include <libavutil/dict.h>
#include <libavutil/display.h>
#include <libavutil/log.h>
#include <libavutil/mem.h>
}

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <mutex>

#include <sys/stat.h>
#include <unistd.h>

namespace pomelark {

namespace {

using Clock = std::chrono::steady_clock;

/// The one file a probe reads, open before libavformat sees it, and the time
/// its reading must end by.
struct Source {
    int fd = -1;
    Clock::time_point until;

    bool isLate() const { return Clock::now() > until; }
};

int interruptWhenLate(void *opaque)
{
    return static_cast<const Source *>(opaque)->isLate() ? 1 : 0;
}

int readSource(void *opaque, uint8_t *buffer, int size)
{
    const auto *source = static_cast<const Source *>(opaque);
    // Our own reads: libavformat asks the interrupt callback only of the I/O it opens itself.
    if (source->isLate())
        return AVERROR_EXIT;
    for (;;) {
        const ssize_t got = ::read(source->fd, buffer, size_t(size));
        if (got > 0)
            return int(got);
        if (got == 0)
            return AVERROR_EOF;
        if (errno != EINTR)
            return AVERROR(errno);
    }
}

int64_t seekSource(void *opaque, int64_t offset, int whence)
{
    const auto *source = static_cast<const Source *>(opaque);
    if (whence & AVSEEK_SIZE) {
        struct stat status {};
        return ::fstat(source->fd, &status) == 0 ? int64_t(status.st_size) : AVERROR(errno);
    }
    const off_t position = ::lseek(source->fd, off_t(offset), whence & ~AVSEEK_FORCE);
    return position < 0 ? AVERROR(errno) : int64_t(position);
}

/// A container that names other files or addresses (QuickTime's data
/// references) would have the demuxer open them: none is opened.
int refuseOtherFiles(AVFormatContext *, AVIOContext **, const char *, int, AVDictionary **)
{
    return AVERROR(EPERM);
}

const char *demuxerFor(const QString &path)
{
    const QString extension = QFileInfo(path).suffix().toLower();
    if (extension == QLatin1String("mov") || extension == QLatin1String("mp4"))
        return "mov";
    if (extension == QLatin1String("avi"))
        return "avi";
    return nullptr;
}

/// How long the container says the file lasts: QuickTime's movie header, or
/// each AVI stream header's length. What the data present adds up to is no
/// measure: a file cut short would pass for a whole shorter one.
double declaredSeconds(const AVFormatContext &context)
{
    if (context.duration != AV_NOPTS_VALUE && context.duration > 0)
        return double(context.duration) / AV_TIME_BASE;
    const bool avi = std::strcmp(context.iformat->name, "avi") == 0;
    double seconds = 0;
    for (unsigned i = 0; i < context.nb_streams; ++i) {
        const AVStream *stream = context.streams[i];
        // Without its index libavformat estimates an AVI stream's duration from
        // the bytes present; the header's frame count, in units of the stream's
        // time base (1/rate), stays what the camera wrote.
        int64_t length = stream->duration;
        if (avi && stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO && stream->nb_frames > 0)
            length = stream->nb_frames;
        if (length != AV_NOPTS_VALUE && length > 0)
            seconds = std::max(seconds, double(length) * av_q2d(stream->time_base));
    }
    return seconds;
}

constexpr int sourceBufferBytes = 64 * 1024;

struct IOContextCloser {
    AVIOContext *context = nullptr;
    ~IOContextCloser()
    {
        if (!context)
            return;
        av_freep(&context->buffer); // libavformat may have replaced the one we gave
        avio_context_free(&context);
    }
};

struct FormatContextCloser {
    AVFormatContext *context = nullptr;
    ~FormatContextCloser()
    {
        if (context)
            avformat_close_input(&context);
    }
};

// The pixel formats whose frames Qt 6.4's player hands its video sink whole,
// under a label that says their layout, with their range and matrix in the
// frame's format: our video surface converts these right itself (Qt's own
// conversion crushes full range, crashes on 4:2:2 and shows no 10-bit picture).
// Qt labels every other format as one it is not: yuvj422p, yuvj444p and
// yuv444p as 4:2:0 (wrong colours), 10-bit 4:2:2 and 4:4:4 as two-plane P016
// with the third plane out of reach (garbage). No conversion undoes that, so
// those, and formats never measured, play from a copy. PlayerBackendTest and
// VideoPlayerViewTest hold the measurements.
constexpr std::array shownRight = {"yuv420p", "yuvj420p", "yuv422p", "yuv420p10le"};

bool isShownRight(const MediaTrack &track)
{
    return track.type != MediaTrack::Type::video
        || std::any_of(shownRight.begin(), shownRight.end(),
                       [&](const char *format) { return track.pixelFormat == QLatin1String(format); });
}

/// The quarter turn clockwise that stands the stream's pictures up: the nearest
/// to its display matrix's angle, which ffmpeg's own decode turns by too.
int clockwiseTurnOf(const AVStream &stream)
{
    size_t bytes = 0;
    const uint8_t *matrix = av_stream_get_side_data(&stream, AV_PKT_DATA_DISPLAYMATRIX, &bytes);
    if (!matrix || bytes < 9 * sizeof(int32_t))
        return 0;
    // libavutil measures the angle counter-clockwise; NaN for a matrix that
    // shows nothing.
    const double degrees = -av_display_rotation_get(reinterpret_cast<const int32_t *>(matrix));
    if (!std::isfinite(degrees))
        return 0;
    const long quarters = std::lround(degrees / 90.0);
    return int(((quarters % 4) + 4) % 4) * 90;
}

/// Pixels stretched further than this either way are a damaged header's word,
/// not a camera's: they are taken for square.
constexpr double widestPixel = 4.0;

PictureShape shapeOf(AVFormatContext &context, AVStream &stream)
{
    PictureShape shape;
    shape.clockwiseTurn = clockwiseTurnOf(stream);
    // The container's word, else the codec's, as ffmpeg weighs them.
    const AVRational aspect = av_guess_sample_aspect_ratio(&context, &stream, nullptr);
    if (aspect.num > 0 && aspect.den > 0) {
        const double pixelAspect = av_q2d(aspect);
        if (pixelAspect <= widestPixel && pixelAspect >= 1.0 / widestPixel)
            shape.pixelAspect = pixelAspect;
    }
    return shape;
}

/// Enough for the first picture behind a second of interleaved sound, or
/// behind a decoder's reordering delay.
constexpr int pictureReadBudget = 128;

} // namespace

bool MediaInfo::isPlayable() const
{
    const bool hasVideo = std::any_of(tracks.begin(), tracks.end(),
                                      [](const MediaTrack &track) { return track.type == MediaTrack::Type::video; });
    const bool allDecodable =
        std::all_of(tracks.begin(), tracks.end(), [](const MediaTrack &track) { return track.decodable; });
    return hasVideo && allDecodable && std::all_of(tracks.begin(), tracks.end(), isShownRight);
}

std::optional<MediaInfo> MediaProbe::probe(const QString &path, Limits limits)
{
    const char *demuxerName = demuxerFor(path);
    if (!demuxerName)
        return std::nullopt;
    return probeWith(path, demuxerName, limits);
}

std::optional<MediaInfo> MediaProbe::probe(const HeldFile &held, Limits limits)
{
    const char *demuxerName = demuxerFor(held.path());
    if (!demuxerName || !held.isOpen())
        return std::nullopt;
    return probeWith(held.reopenPath(), demuxerName, limits);
}

std::optional<MediaInfo> MediaProbe::probeQuickTime(const QString &path, Limits limits)
{
    return probeWith(path, "mov", limits);
}

std::optional<MediaInfo> MediaProbe::probeForPlayback(const QString &path, Limits limits)
{
    const char *demuxerName = demuxerFor(path);
    if (!demuxerName)
        return std::nullopt;
    return probeWith(path, demuxerName, limits, Pictures::decodeFirst);
}

std::optional<MediaInfo> MediaProbe::probeWith(const QString &path, const char *demuxerName, Limits limits,
                                               Pictures pictures)
{
    static std::once_flag quietLog;
    std::call_once(quietLog, [] { av_log_set_level(AV_LOG_QUIET); });

    const AVInputFormat *demuxer = av_find_input_format(demuxerName);
    if (!demuxer)
        return std::nullopt;

    // Opened as photos are, without blocking and only as a regular file: the
    // open of a named pipe put in a video's place would wait for a writer, and
    // hold the thread (and the app's quit) with it.
    const FileDescriptor file = FileDescriptor::openToRead(path);
    if (!file.isRegularFile())
        return std::nullopt;
    Source source{file.get(), Clock::now() + limits.timeLimit};

    // Declared before the format context, so it is freed after it.
    IOContextCloser io;
    auto *buffer = static_cast<unsigned char *>(av_malloc(sourceBufferBytes));
    if (!buffer)
        return std::nullopt;
    io.context = avio_alloc_context(buffer, sourceBufferBytes, 0, &source, &readSource, nullptr, &seekSource);
    if (!io.context) {
        av_free(buffer);
        return std::nullopt;
    }

    FormatContextCloser closer;
    closer.context = avformat_alloc_context();
    if (!closer.context)
        return std::nullopt;
    closer.context->pb = io.context;
    closer.context->flags |= AVFMT_FLAG_CUSTOM_IO;
    closer.context->io_open = &refuseOtherFiles;
    closer.context->interrupt_callback.callback = &interruptWhenLate;
    closer.context->interrupt_callback.opaque = &source;
    closer.context->probesize = limits.probeBytes;

    AVDictionary *options = nullptr;
    // Left unresolved, data references never even reach refuseOtherFiles.
    av_dict_set(&options, "enable_drefs", "0", 0);
    av_dict_set(&options, "use_absolute_path", "0", 0);
    const QByteArray name = QFileInfo(path).absoluteFilePath().toUtf8(); // for libavformat's own messages
    const int opened = avformat_open_input(&closer.context, name.constData(), demuxer, &options);
    av_dict_free(&options);
    if (opened < 0) {
        closer.context = nullptr; // freed by avformat_open_input on failure
        return std::nullopt;
    }

    MediaInfo info;
    info.container = QString::fromUtf8(closer.context->iformat->name);
    QList<int> trackStreams;
    for (unsigned i = 0; i < closer.context->nb_streams; ++i) {
        AVStream *stream = closer.context->streams[i];
        const AVCodecParameters *parameters = stream->codecpar;
        if (parameters->codec_type != AVMEDIA_TYPE_AUDIO && parameters->codec_type != AVMEDIA_TYPE_VIDEO)
            continue;
        if (parameters->codec_type == AVMEDIA_TYPE_VIDEO && (stream->disposition & AV_DISPOSITION_ATTACHED_PIC))
            continue;
        MediaTrack track;
        track.type = parameters->codec_type == AVMEDIA_TYPE_AUDIO ? MediaTrack::Type::audio
                                                                    : MediaTrack::Type::video;
        track.codec = QString::fromUtf8(avcodec_get_name(parameters->codec_id));
        if (track.type == MediaTrack::Type::video) {
            track.frameSize = QSize(parameters->width, parameters->height);
            track.shape = shapeOf(*closer.context, *stream);
        }
        track.decodable = avcodec_find_decoder(parameters->codec_id) != nullptr;
        info.tracks.append(track);
        trackStreams.append(int(i));
    }
    info.duration = declaredSeconds(*closer.context);
    if (pictures == Pictures::decodeFirst) {
        QList<int> videoStreams;
        for (qsizetype t = 0; t < info.tracks.size(); ++t) {
            if (info.tracks[t].type == MediaTrack::Type::video)
                videoStreams.append(trackStreams[t]);
        }
        const QHash<int, QString> formats = firstPictureFormats(closer.context, videoStreams, pictureReadBudget);
        for (qsizetype t = 0; t < info.tracks.size(); ++t)
            info.tracks[t].pixelFormat = formats.value(trackStreams[t]);
    }
    return info;
}

} // namespace pomelark
