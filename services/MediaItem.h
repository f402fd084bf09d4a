#pragma once

#include <QMetaType>
#include <QUrl>
#include <QUuid>

namespace pomelark {

/// One photo or video of a session. Only the folder scan makes items; every scan
/// gives every file a new id, so the same file has a new id in a later session.
struct MediaItem {
    enum class Kind { photo, video };

    QUuid id;
    QUrl url;   ///< the file as the scan found it, not resolved further
    Kind kind = Kind::photo;

    friend bool operator==(const MediaItem &, const MediaItem &) = default;
};

using MediaItems = QList<MediaItem>;

} // namespace pomelark

Q_DECLARE_METATYPE(pomelark::MediaItem)
