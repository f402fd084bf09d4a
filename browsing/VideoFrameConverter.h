#pragma once

#include "platform/PictureShape.h"

#include <QImage>
#include <QVideoFrame>

struct SwsContext;

namespace pomelark {

/// Turns the frames our player hands over into pictures, with libswscale, in
/// their own colour matrix (BT.601 when the frame does not say) and range, and
/// scaled in the same pass to the size they are shown at.
///
/// Qt's own conversion ignores the range, crashes on 4:2:2 and draws no 10-bit
/// frame. A frame is read only as far as its label promises and its mapping
/// holds: a mislabelled frame (a stream that changes its layout midway) looks
/// wrong but is never read past its planes.
class VideoFrameConverter {
public:
    VideoFrameConverter() = default;
    ~VideoFrameConverter();
    VideoFrameConverter(const VideoFrameConverter &) = delete;
    VideoFrameConverter &operator=(const VideoFrameConverter &) = delete;

    /// Whether frames with this label are converted here at all.
    static bool converts(QVideoFrameFormat::PixelFormat format);

    /// The frame's picture turned as `seen` says, at the size `shown` once
    /// turned (opaque, QImage::Format_RGB32).
    /// Null when the frame is invalid, its label is not one we convert, it
    /// cannot be mapped, or its planes hold less than its label promises.
    QImage convert(const QVideoFrame &frame, QSize shown, PictureShape seen = {});

private:
    /// What a scaler is made for; frames of a playing video share it.
    struct Shape {
        QSize source;
        int layout = -1;
        QSize size;
        int matrix = -1;
        bool fullRange = false;
        bool operator==(const Shape &) const = default;
    };

    SwsContext *m_scaler = nullptr;
    Shape m_shape;
};

} // namespace pomelark
