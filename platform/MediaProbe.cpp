#include "platform/MediaProbe.h"

#include "platform/FirstPictures.h"

#include <QFileInfo>

extern "C" {
#include <libavformat/avformat.h>
#include <libavcodec/avcodec.h>
#include <libavutil/dict.h>
#include <libavutil/log.h>
}

#include <algorithm>
#include <array>
#include <mutex>

namespace pomelark {

namespace {

using Clock = std::chrono::steady_clock;

struct Deadline {
    Clock::time_point until;
};

int interruptWhenLate(void *opaque)
{
    const auto *deadline = static_cast<const Deadline *>(opaque);
    return Clock::now() > deadline->until ? 1 : 0;
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

    Deadline deadline{Clock::now() + limits.timeLimit};
    FormatContextCloser closer;
    closer.context = avformat_alloc_context();
    if (!closer.context)
        return std::nullopt;
    closer.context->interrupt_callback.callback = &interruptWhenLate;
    closer.context->interrupt_callback.opaque = &deadline;
    closer.context->probesize = limits.probeBytes;

    AVDictionary *options = nullptr;
    // Never follow references to other files or protocols from inside a container.
    av_dict_set(&options, "enable_drefs", "0", 0);
    av_dict_set(&options, "use_absolute_path", "0", 0);
    av_dict_set(&options, "protocol_whitelist", "file", 0);
    const QByteArray localPath = QFileInfo(path).absoluteFilePath().toUtf8();
    const QByteArray url = QByteArrayLiteral("file:") + localPath;
    const int opened = avformat_open_input(&closer.context, url.constData(), demuxer, &options);
    av_dict_free(&options);
    if (opened < 0) {
        closer.context = nullptr; // freed by avformat_open_input on failure
        return std::nullopt;
    }

    MediaInfo info;
    info.container = QString::fromUtf8(closer.context->iformat->name);
    QList<int> trackStreams;
    for (unsigned i = 0; i < closer.context->nb_streams; ++i) {
        const AVStream *stream = closer.context->streams[i];
        const AVCodecParameters *parameters = stream->codecpar;
        if (parameters->codec_type != AVMEDIA_TYPE_AUDIO && parameters->codec_type != AVMEDIA_TYPE_VIDEO)
            continue;
        if (parameters->codec_type == AVMEDIA_TYPE_VIDEO && (stream->disposition & AV_DISPOSITION_ATTACHED_PIC))
            continue;
        MediaTrack track;
        track.type = parameters->codec_type == AVMEDIA_TYPE_AUDIO ? MediaTrack::Type::audio
                                                                    : MediaTrack::Type::video;
        track.codec = QString::fromUtf8(avcodec_get_name(parameters->codec_id));
        if (track.type == MediaTrack::Type::video)
            track.frameSize = QSize(parameters->width, parameters->height);
        track.decodable = avcodec_find_decoder(parameters->codec_id) != nullptr;
        info.tracks.append(track);
        trackStreams.append(int(i));
    }
    if (closer.context->duration != AV_NOPTS_VALUE && closer.context->duration > 0) {
        info.duration = double(closer.context->duration) / AV_TIME_BASE;
    } else {
        // AVI headers give each stream's length but no overall duration.
        for (unsigned i = 0; i < closer.context->nb_streams; ++i) {
            const AVStream *stream = closer.context->streams[i];
            if (stream->duration != AV_NOPTS_VALUE && stream->duration > 0)
                info.duration = std::max(info.duration, double(stream->duration) * av_q2d(stream->time_base));
        }
    }
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
