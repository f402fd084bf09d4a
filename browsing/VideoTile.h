#pragma once

#include "browsing/CoverPicture.h"
#include "browsing/GridTile.h"
#include "services/MediaItem.h"
#include "services/VideoInfo.h"

#include <QPointer>

#include <qcoro/qcorotask.h>

#include <optional>

namespace pomelark {

class PlaybackPrewarmer;

/// The grid's tile for one video: its poster with the length and a play
/// button, or a tinted placeholder with a film symbol and the file name until
/// the poster is known. Outside select mode a badge tells whether the video is
/// still being made playable ("Preparing") or cannot be played ("Won't play").
/// A click first moves the video to the front of the prewarmer's queue.
class VideoTile : public GridTile {
    Q_OBJECT
public:
    using Loader = std::function<QCoro::Task<VideoInfo>(QUrl)>;
    static constexpr double posterSeconds = 0.25;

    /// Starts loading the poster through `loader` at once. `prewarmer` may be
    /// null (no badge, nothing to prioritise); the tile repaints on its changes.
    VideoTile(MediaItem item, PlaybackPrewarmer *prewarmer, Flags flags, std::function<void()> onActivate,
              std::function<void()> onToggleSelect, Loader loader, QObject *parent = nullptr,
              FrameTicker &ticker = FrameTicker::shared());

    const MediaItem &item() const { return m_item; }
    const std::optional<VideoInfo> &info() const { return m_info; }

    /// The badge text for the prewarmer's current state of this video, empty
    /// when none is shown (select mode, no poster yet, no entry, or ready).
    QString statusText() const;
    QString helpAt(QPointF point) const override;

protected:
    void paintContent(QPainter &painter, const QRectF &tile) override;
    void activate() override;

private:
    static QCoro::Task<void> runLoad(QPointer<VideoTile> self, QUrl url, Loader loader);
    void setInfo(std::optional<VideoInfo> info);
    QRectF statusBadgeFrame() const;
    void paintPoster(QPainter &painter, const QRectF &tile);
    void paintPlaceholder(QPainter &painter, const QRectF &tile) const;
    void paintPlayButton(QPainter &painter, const QRectF &tile) const;
    void paintStatusBadge(QPainter &painter) const;

    MediaItem m_item;
    QPointer<PlaybackPrewarmer> m_prewarmer;
    std::optional<VideoInfo> m_info;
    CoverPicture m_poster;
    bool m_constructing = true;
    AnimatedValue m_appear;
};

} // namespace pomelark
