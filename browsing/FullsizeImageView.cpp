#include "browsing/FullsizeImageView.h"

#include "browsing/AspectFit.h"
#include "look/ActivitySpinner.h"
#include "look/ContinuousShape.h"
#include "look/ShadowUnderlay.h"
#include "services/ConvertService.h"

#include <QApplication>
#include <QFutureWatcher>
#include <QGestureEvent>
#include <QMouseEvent>
#include <QNativeGestureEvent>
#include <QPainter>
#include <QPinchGesture>
#include <QtConcurrent/QtConcurrentRun>

#include <cmath>

namespace pomelark {

namespace {

constexpr qreal dragThreshold = 10;
constexpr double pinchEndSeconds = 0.25;
constexpr double dragEndSeconds = 0.15;
constexpr double pictureFadeSeconds = 0.1;
/// One notch of the wheel (120 units) moves the photo as far as a scroll view
/// moves its page: three lines of 20 px.
constexpr double pixelsPerWheelUnit = 60.0 / 120.0;
/// One notch with Ctrl zooms by a quarter.
constexpr double zoomPerNotch = 1.25;

Shadow pictureShadow()
{
    return {QColor(0, 0, 0, 128), 30, 0, 20};
}

QImage decodeForDisplay(const QUrl &url, int degrees)
{
    QImage image = ConvertService::loadRotatedImage(url, FullsizeImageView::maxPixelSize, degrees);
    if (image.isNull())
        return image;
    // The formats the raster painter draws without converting on every frame.
    return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                         : QImage::Format_RGB32);
}

} // namespace

FullsizeImageView::FullsizeImageView(Inputs inputs, QWidget *parent, FrameTicker &ticker)
    : QWidget(parent),
      m_inputs(std::move(inputs)),
      m_shownZoom(1.0, ticker),
      m_shownPanX(0.0, ticker),
      m_shownPanY(0.0, ticker),
      m_pictureFade(1.0, ticker)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setAttribute(Qt::WA_AcceptTouchEvents);
    grabGesture(Qt::PinchGesture);
    for (AnimatedValue *value : {&m_shownZoom, &m_shownPanX, &m_shownPanY})
        value->setOnChange([this] { update(); });
    m_pictureFade.setOnChange([this] {
        // A faded-out picture of 3200 px is worth freeing at once.
        if (m_pictureFade.value() >= 1.0)
            m_previous = QImage();
        update();
    });

    m_spinner = new ActivitySpinner(ActivitySpinner::Size::large, QColor(255, 255, 255, 200), this, ticker);
    m_shadow = new ShadowUnderlay(this, [this] {
        ShadowUnderlay::Cast cast;
        cast.shadow = pictureShadow();
        // The panel casts no shadow until it has a picture to give it its shape.
        if (!m_image.isNull())
            cast.shape = continuousRoundedRect(panelRect(), cornerRadius);
        return cast;
    });
    reload();
}

FullsizeImageView::~FullsizeImageView()
{
    if (m_scrollFilterInstalled)
        qApp->removeEventFilter(this);
    delete m_shadow;
}

void FullsizeImageView::setSource(const QUrl &url, int rotationDegrees)
{
    if (url == m_inputs.url && rotationDegrees == m_inputs.rotationDegrees)
        return;
    m_inputs.url = url;
    m_inputs.rotationDegrees = rotationDegrees;
    reload();
}

QSize FullsizeImageView::sizeHint() const
{
    return {800, 600};
}

QRectF FullsizeImageView::fittedPanel(const QRectF &room, std::optional<QSizeF> pictureSize)
{
    if (!pictureSize)
        return room;
    return aspectFitted(room, pictureSize->height() > 0 ? pictureSize->width() / pictureSize->height() : 4.0 / 3.0);
}

QRectF FullsizeImageView::panelRect() const
{
    std::optional<QSizeF> pictureSize;
    if (!m_image.isNull())
        pictureSize = QSizeF(m_image.size());
    return fittedPanel(QRectF(rect()), pictureSize);
}

QRectF FullsizeImageView::pictureRect() const
{
    const QRectF panel = panelRect();
    const qreal zoom = m_shownZoom.value();
    QRectF picture(QPointF(), panel.size() * zoom);
    picture.moveCenter(panel.center() + QPointF(m_shownPanX.value(), m_shownPanY.value()));
    return picture;
}

void FullsizeImageView::reload()
{
    m_zoomPan.reset();
    m_pinching = false;
    m_pinchMagnification = 1.0;
    showZoomPan(std::nullopt);

    const quint64 generation = ++m_generation;
    m_loading = true;
    const QUrl url = m_inputs.url;
    const int degrees = m_inputs.rotationDegrees;
    // A result for a photo or turn no longer shown is dropped by its generation;
    // one that arrives after the view is gone dies with its watcher. The watcher
    // always reports through the event loop, even for a decode that finished
    // before it was attached, so a result never lands inside `setSource`.
    auto *watcher = new QFutureWatcher<QImage>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, generation] {
        watcher->deleteLater();
        if (generation != m_generation)
            return;
        m_loading = false;
        setPicture(watcher->result());
        Q_EMIT pictureLoaded();
    });
    watcher->setFuture(QtConcurrent::run([url, degrees] { return decodeForDisplay(url, degrees); }));
}

void FullsizeImageView::setPicture(QImage image)
{
    m_previous = m_image;
    m_image = std::move(image);
    // Only a picture of the same shape fades over the old one; another shape
    // (a turn) would stretch the old picture while it fades, so it simply replaces it.
    if (!m_previous.isNull() && !m_image.isNull() && m_previous.size() == m_image.size()) {
        m_pictureFade.setValue(0.0);
        m_pictureFade.animateTo(1.0, Animation::easeOut(pictureFadeSeconds));
    } else {
        m_previous = QImage();
        m_pictureFade.setValue(1.0);
    }
    layoutChanged();
}

void FullsizeImageView::layoutChanged()
{
    const QRectF panel = panelRect();
    m_zoomPan.setPanelSize(panel.size());
    m_spinner->setVisible(m_image.isNull());
    m_spinner->move((panel.center() - QPointF(m_spinner->width(), m_spinner->height()) / 2).toPoint());
    if (m_shadow)
        m_shadow->refresh();
    update();
}

void FullsizeImageView::showZoomPan(std::optional<double> seconds)
{
    const double zoom = m_zoomPan.effectiveZoom();
    const QPointF pan = m_zoomPan.effectivePan();
    if (seconds) {
        const Animation animation = Animation::easeOut(*seconds);
        m_shownZoom.animateTo(zoom, animation);
        m_shownPanX.animateTo(pan.x(), animation);
        m_shownPanY.animateTo(pan.y(), animation);
    } else {
        m_shownZoom.setValue(zoom);
        m_shownPanX.setValue(pan.x());
        m_shownPanY.setValue(pan.y());
    }
    update();
}

void FullsizeImageView::paintEvent(QPaintEvent *)
{
    if (m_image.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRectF panel = panelRect();
    painter.setClipPath(continuousRoundedRect(panel, cornerRadius));

    const QRectF picture = pictureRect();
    const QRectF visible = picture.intersected(panel);
    if (visible.isEmpty())
        return;
    // Only the part inside the panel is scaled, so a zoomed 3200 px picture costs
    // no more to draw than the panel's own pixels.
    auto drawPart = [&](const QImage &image, qreal opacity) {
        const qreal sx = image.width() / picture.width();
        const qreal sy = image.height() / picture.height();
        const QRectF source((visible.left() - picture.left()) * sx, (visible.top() - picture.top()) * sy,
                            visible.width() * sx, visible.height() * sy);
        painter.setOpacity(opacity);
        painter.drawImage(visible, image, source);
    };
    const qreal fade = m_pictureFade.value();
    if (fade < 1.0 && !m_previous.isNull())
        drawPart(m_previous, 1.0 - fade);
    drawPart(m_image, fade);
}

void FullsizeImageView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutChanged();
    showZoomPan(std::nullopt);
}

void FullsizeImageView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_scrollFilterInstalled) {
        qApp->installEventFilter(this);
        m_scrollFilterInstalled = true;
    }
}

void FullsizeImageView::hideEvent(QHideEvent *event)
{
    if (m_scrollFilterInstalled) {
        qApp->removeEventFilter(this);
        m_scrollFilterInstalled = false;
    }
    QWidget::hideEvent(event);
}

void FullsizeImageView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !panelRect().contains(event->position())) {
        event->ignore();
        return;
    }
    m_pressed = true;
    m_dragging = false;
    m_pressPosition = event->position();
    event->accept();
}

void FullsizeImageView::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_pressed) {
        event->ignore();
        return;
    }
    const QPointF translation = event->position() - m_pressPosition;
    if (!m_dragging && std::hypot(translation.x(), translation.y()) < dragThreshold)
        return;
    m_dragging = true;
    m_zoomPan.setPanInFlight(translation);
    showZoomPan(std::nullopt);
}

void FullsizeImageView::mouseReleaseEvent(QMouseEvent *event)
{
    if (!m_pressed) {
        event->ignore();
        return;
    }
    const bool dragged = m_dragging;
    m_pressed = false;
    m_dragging = false;
    if (!dragged)
        return;
    m_zoomPan.commitPan(event->position() - m_pressPosition);
    showZoomPan(dragEndSeconds);
}

void FullsizeImageView::beginPinch()
{
    m_pinching = true;
    m_pinchMagnification = 1.0;
}

void FullsizeImageView::updatePinch(double magnification)
{
    m_pinchMagnification = magnification;
    m_zoomPan.setGestureZoom(magnification);
    showZoomPan(std::nullopt);
}

void FullsizeImageView::endPinch(double magnification)
{
    m_pinching = false;
    m_zoomPan.commitZoom(magnification);
    showZoomPan(pinchEndSeconds);
}

bool FullsizeImageView::event(QEvent *event)
{
    if (event->type() == QEvent::NativeGesture) {
        auto *gesture = static_cast<QNativeGestureEvent *>(event);
        switch (gesture->gestureType()) {
        case Qt::BeginNativeGesture:
            if (panelRect().contains(gesture->position()))
                beginPinch();
            return true;
        case Qt::ZoomNativeGesture:
            // Touchpads report each step as a change of scale since the last one.
            if (m_pinching)
                updatePinch(m_pinchMagnification * (1.0 + gesture->value()));
            return true;
        case Qt::EndNativeGesture:
            if (m_pinching)
                endPinch(m_pinchMagnification);
            return true;
        default:
            break;
        }
    }
    if (event->type() == QEvent::Gesture) {
        auto *gestures = static_cast<QGestureEvent *>(event);
        if (auto *pinch = static_cast<QPinchGesture *>(gestures->gesture(Qt::PinchGesture))) {
            switch (pinch->state()) {
            case Qt::GestureStarted:
                beginPinch();
                break;
            case Qt::GestureUpdated:
                if (m_pinching)
                    updatePinch(pinch->totalScaleFactor());
                break;
            case Qt::GestureFinished:
            case Qt::GestureCanceled:
                if (m_pinching)
                    endPinch(pinch->totalScaleFactor());
                break;
            default:
                break;
            }
            gestures->accept(pinch);
            return true;
        }
    }
    return QWidget::event(event);
}

void FullsizeImageView::wheelEvent(QWheelEvent *event)
{
    // Ctrl with the wheel zooms, for mice without a pinch.
    if (!(event->modifiers() & Qt::ControlModifier) || m_image.isNull()
        || !panelRect().contains(event->position())) {
        event->ignore();
        return;
    }
    const double notches = event->angleDelta().y() / 120.0;
    if (notches == 0) {
        event->ignore();
        return;
    }
    m_zoomPan.commitZoom(std::pow(zoomPerNotch, notches));
    showZoomPan(pinchEndSeconds);
    event->accept();
}

bool FullsizeImageView::takeScroll(QWheelEvent *event)
{
    if (event->modifiers() & Qt::ControlModifier)
        return false;
    const QPointF delta = !event->pixelDelta().isNull() ? QPointF(event->pixelDelta())
                                                         : QPointF(event->angleDelta()) * pixelsPerWheelUnit;
    if (!m_zoomPan.scrollBy(delta))
        return false;
    showZoomPan(std::nullopt);
    return true;
}

bool FullsizeImageView::eventFilter(QObject *watched, QEvent *event)
{
    // While zoomed in, every scroll in the application moves the photo.
    if (event->type() == QEvent::Wheel && takeScroll(static_cast<QWheelEvent *>(event)))
        return true;
    return QWidget::eventFilter(watched, event);
}

} // namespace pomelark
