#pragma once

#include <QString>
#include <QUrl>

#include <qcoro/qcorotask.h>

#include <optional>

namespace pomelark {

/// Turns a video into an HEVC QuickTime file. The send reaches the ffmpeg
/// program only through this, so tests can stand in for it.
class VideoConverter {
public:
    virtual ~VideoConverter() = default;

    /// Converts `input` into `output` at `bitrate` (ffmpeg's notation, such as
    /// "2M"), stamping `creationTime` (ISO 8601 text) into the container when
    /// given. Returns the tool's log. Throws an exception whose what() is the
    /// text to show the user when the conversion fails; whatever was written to
    /// `output` stays there.
    virtual QCoro::Task<QString> convertToHEVC(QUrl input, QUrl output, QString bitrate,
                                               std::optional<QString> creationTime) = 0;
};

/// The converter the app's shared services use.
VideoConverter &defaultVideoConverter();

} // namespace pomelark
