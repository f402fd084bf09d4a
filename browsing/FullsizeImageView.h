#pragma once

#include "browsing/ZoomPan.h"
#include "look/AnimatedValue.h"

#include <QImage>
#include <QPointer>
#include <QUrl>
#include <QWidget>

#include <optional>

namespace pomelark {

class ActivitySpinner;
class ShadowUnderlay;

/// One photo as large as the room it is given allows, at its own shape, with
/// rounded corners and a deep soft shadow. The picture is decoded off the main
/// thread at up to 3200 px on its long side, upright by its EXIF orientation and
/// turned by the given rotation. Until a picture is there (or when the file does
/// not decode) a large spinner shows instead; no message is given.
///
/// Zoom goes from 1× to 8× by pinching (touchpad or touch screen) or with Ctrl
/// and the scroll wheel over the photo. Zoomed in, the photo moves by dragging
/// and by scrolling, never so far that it stops covering its panel; scrolling
/// anywhere in the application is then taken by it. At 1× scrolling passes on.
/// A new photo or rotation snaps back to 1× at once and keeps the old picture
/// until the new one is decoded.
///
/// Clicks outside the photo's panel are left to whatever lies behind.
class FullsizeImageView : public QWidget {
    Q_OBJECT
public:
    struct Inputs {
        QUrl url;                ///< the photo's file
        int rotationDegrees = 0; ///< clockwise turn to apply (the item's rotation, 0 when none)
    };

    static constexpr int maxPixelSize = 3200;
    static constexpr qreal cornerRadius = 12;

    explicit FullsizeImageView(Inputs inputs, QWidget *parent = nullptr, FrameTicker &ticker = FrameTicker::shared());
    ~FullsizeImageView() override;

    /// Shows another photo or the same one turned. Changing either starts a new
    /// decode; giving the values already shown changes nothing.
    void setSource(const QUrl &url, int rotationDegrees);

    QUrl url() const { return m_inputs.url; }
    int rotationDegrees() const { return m_inputs.rotationDegrees; }

    /// The picture shown; null while the first decode runs or when it failed.
    const QImage &image() const { return m_image; }
    /// Whether a decode for the current photo and rotation is still running.
    bool isLoading() const { return m_loading; }

    const ZoomPan &zoomPan() const { return m_zoomPan; }

    /// Where the panel lies in this widget: the photo's shape fitted into the
    /// widget and centred, or the whole widget while there is no picture.
    QRectF panelRect() const;
    /// Where the whole picture is drawn right now (zoomed and moved; the panel clips it).
    QRectF pictureRect() const;

    /// The largest rectangle of the aspect of `pictureSize` that fits `room`,
    /// centred in it; 4 : 3 when the picture has no height; `room` itself when
    /// there is no picture.
    static QRectF fittedPanel(const QRectF &room, std::optional<QSizeF> pictureSize);

    QSize sizeHint() const override;

Q_SIGNALS:
    /// A decode for the current photo and rotation has finished (the picture may be null).
    void pictureLoaded();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void reload();
    void setPicture(QImage image);
    void layoutChanged();
    /// Moves what is displayed to the current zoom and pan, animated or at once.
    void showZoomPan(std::optional<double> seconds);
    void beginPinch();
    void updatePinch(double magnification);
    void endPinch(double magnification);
    bool takeScroll(QWheelEvent *event);

    Inputs m_inputs;
    QImage m_image;
    QImage m_previous;
    ZoomPan m_zoomPan;
    AnimatedValue m_shownZoom;
    AnimatedValue m_shownPanX;
    AnimatedValue m_shownPanY;
    AnimatedValue m_pictureFade;
    ActivitySpinner *m_spinner = nullptr;
    QPointer<ShadowUnderlay> m_shadow;
    quint64 m_generation = 0;
    bool m_loading = false;
    bool m_scrollFilterInstalled = false;

    // Drag in progress.
    bool m_pressed = false;
    bool m_dragging = false;
    QPointF m_pressPosition;

    // Pinch in progress (touchpad gestures deliver steps, touch screens totals).
    bool m_pinching = false;
    double m_pinchMagnification = 1.0;
};

} // namespace pomelark
