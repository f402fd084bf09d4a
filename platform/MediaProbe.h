#pragma once

#include "platform/HeldFile.h"
#include "platform/PictureShape.h"

#include <QList>
#include <QSize>
#include <QString>

#include <chrono>
#include <optional>

namespace pomelark {

/// What a video file holds, as far as the container tells without decoding.
struct MediaTrack {
    enum class Type { audio, video };
    Type type = Type::video;
    QString codec;      ///< libavcodec's short name, such as "h264" or "aac"
    QSize frameSize;    ///< video tracks only
    bool decodable = false; ///< this machine's libavcodec has a decoder for it
    /// Video tracks, from probeForPlayback() only: libavutil's name of the pixel
    /// format of the first decoded picture ("yuv420p", "yuvj422p",
    /// "yuv420p10le"); empty when no picture was decoded.
    QString pixelFormat;
    /// Video tracks: how the frames are turned and stretched to be seen, from
    /// the display matrix and the sample aspect ratio; our player does neither.
    PictureShape shape;
};

struct MediaInfo {
    QString container;        ///< the demuxer that opened it ("mov,mp4,…" or "avi")
    QList<MediaTrack> tracks; ///< audio and video streams, in file order
    /// Seconds, as the container's headers give it (for a file cut short, more
    /// than its data holds); 0 when they do not say.
    double duration = 0;

    /// Whether our player (Qt Multimedia on its ffmpeg backend, which decodes
    /// with this machine's libavcodec) shows the file right: it has a video
    /// track, every track has a decoder, and every video track's pictures come
    /// in a pixel format whose frames the player hands over whole and truly
    /// labelled. Everything else, an unknown pixel format included, needs a
    /// playable copy.
    bool isPlayable() const;
};

/// Opens videos with libavformat.
///
/// The demuxer is chosen by the file's extension, as the platform's media layer
/// does: .mov and .mp4 use the QuickTime/MP4 demuxer and .avi the AVI demuxer,
/// so a JPEG or a text file named .mov is not taken for a video. Only a regular
/// file is read, through one descriptor opened without blocking, and no file
/// the container names is opened. Reading is bounded in bytes and in time, so a
/// damaged or hostile file can neither crash nor hang the caller. Safe to call
/// from any thread.
class MediaProbe {
public:
    struct Limits {
        qint64 probeBytes = 5 * 1024 * 1024;
        std::chrono::milliseconds timeLimit{15000};
    };

    /// The file's tracks and duration, or nothing when the container cannot be
    /// opened (unknown extension, damaged or missing index, unreadable file,
    /// time limit reached) or the path is no regular file (a named pipe is
    /// never waited on).
    static std::optional<MediaInfo> probe(const QString &path, Limits limits);
    static std::optional<MediaInfo> probe(const QString &path) { return probe(path, Limits{}); }

    /// The same for the file `held` holds, read through an open of its own:
    /// that very file, whatever its path names by now. Its path's extension
    /// chooses the demuxer.
    static std::optional<MediaInfo> probe(const HeldFile &held, Limits limits);
    static std::optional<MediaInfo> probe(const HeldFile &held) { return probe(held, Limits{}); }

    /// As probe(), and each video track's first picture decoded for its pixel
    /// format, which isPlayable() judges by. Costs a picture's decode, so it is
    /// for playback alone.
    static std::optional<MediaInfo> probeForPlayback(const QString &path, Limits limits);
    static std::optional<MediaInfo> probeForPlayback(const QString &path) { return probeForPlayback(path, Limits{}); }

    /// The same for a QuickTime file whatever its name, such as one that ffmpeg
    /// wrote under a temporary name.
    static std::optional<MediaInfo> probeQuickTime(const QString &path, Limits limits);
    static std::optional<MediaInfo> probeQuickTime(const QString &path) { return probeQuickTime(path, Limits{}); }

private:
    enum class Pictures { skip, decodeFirst };
    static std::optional<MediaInfo> probeWith(const QString &path, const char *demuxerName, Limits limits,
                                              Pictures pictures = Pictures::skip);
};

} // namespace pomelark
