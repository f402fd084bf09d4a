#include "platform/MediaProbe.h"

#include <QFileInfo>

extern "C" {
#include <libavformat/avformat.h>
#include <libavcodec/avcodec.h>
#include <libavutil/dict.h>
#include <libavutil/log.h>
}

#include <algorithm>
#include <cstring>
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

struct FormatContextCloser {
    AVFormatContext *context = nullptr;
    ~FormatContextCloser()
    {
        if (context)
            avformat_close_input(&context);
    }
};

} // namespace

bool MediaInfo::isPlayable() const
{
    const bool hasVideo = std::any_of(tracks.begin(), tracks.end(),
                                      [](const MediaTrack &track) { return track.type == MediaTrack::Type::video; });
    const bool allDecodable =
        std::all_of(tracks.begin(), tracks.end(), [](const MediaTrack &track) { return track.decodable; });
    return hasVideo && allDecodable;
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

std::optional<MediaInfo> MediaProbe::probeWith(const QString &path, const char *demuxerName, Limits limits)
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
    }
    info.duration = declaredSeconds(*closer.context);
    return info;
}

} // namespace pomelark
