#pragma once

#include "browsing/CoverPicture.h"
#include "browsing/GridTile.h"

#include <QImage>
#include <QPointer>
#include <QUrl>

#include <qcoro/qcorotask.h>

#include <optional>

namespace pomelark {

/// The grid's tile for one photo: its small picture, turned by the rotation
/// chosen for it, over a grey placeholder with a spinner until the picture is
/// there. A photo that cannot be decoded keeps the placeholder.
class PhotoThumbnail : public GridTile, private FrameClient {
    Q_OBJECT
public:
    using Loader = std::function<QCoro::Task<std::optional<QImage>>(QUrl)>;
    static constexpr double rotateSeconds = 0.25;

    /// Starts loading the picture through `loader` at once.
    PhotoThumbnail(QUrl url, int rotationDegrees, Flags flags, std::function<void()> onActivate,
                   std::function<void()> onToggleSelect, Loader loader, QObject *parent = nullptr,
                   FrameTicker &ticker = FrameTicker::shared());
    ~PhotoThumbnail() override;

    const QUrl &url() const { return m_url; }
    /// A new file: its picture is loaded; the old one stays until the new
    /// result arrives, and a late result for the old file is dropped.
    void setUrl(QUrl url);
    int rotationDegrees() const { return m_rotationDegrees; }
    /// Turns the picture to the new rotation over 0.25 s.
    void setRotationDegrees(int degrees);
    /// The picture drawn right now, if any.
    const std::optional<QImage> &image() const { return m_image; }
    /// The angle the picture is drawn at right now.
    qreal drawnRotation() const { return m_rotation.value(); }

protected:
    void paintContent(QPainter &painter, const QRectF &tile) override;

private:
    static QCoro::Task<void> runLoad(QPointer<PhotoThumbnail> self, quint64 generation, QUrl url, Loader loader);
    void load();
    void setImage(std::optional<QImage> image);
    void advanceTo(std::chrono::nanoseconds now) override;
    void paintSpinner(QPainter &painter, const QRectF &tile) const;

    QUrl m_url;
    int m_rotationDegrees;
    Loader m_loader;
    std::optional<QImage> m_image;
    CoverPicture m_picture;
    quint64 m_generation = 0;
    int m_spinnerSpoke = -1;
    bool m_constructing = true;
    AnimatedValue m_rotation;
    AnimatedValue m_appear;
};

} // namespace pomelark
