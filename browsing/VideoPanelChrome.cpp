#include "browsing/VideoPanelChrome.h"

#include "look/ActivitySpinner.h"
#include "look/ContinuousShape.h"
#include "look/LookFont.h"
#include "look/Palette.h"
#include "look/ShadowPainter.h"
#include "look/SymbolIcons.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QGraphicsOpacityEffect>
#include <QMouseEvent>
#include <QPainter>

namespace pomelark {

namespace {

constexpr qreal badgeSide = 76;
constexpr qreal badgeSpacing = 14;
constexpr qreal barMargin = 10;
constexpr qreal barPaddingX = 14;
constexpr qreal barPaddingY = 10;
constexpr qreal barSpacing = 12;
constexpr qreal buttonSide = 32;
constexpr qreal scrubberBand = 24;

QColor white(qreal opacity)
{
    return QColor::fromRgbF(1, 1, 1, float(opacity));
}

QColor black(qreal opacity)
{
    return QColor::fromRgbF(0, 0, 0, float(opacity));
}

QFont captionFont()
{
    return LookFont::system(13);
}

QFont timeFont()
{
    return LookFont::system(11, QFont::Medium);
}

QString preparingText()
{
    return QCoreApplication::translate("VideoPlayerPanel", "Preparing...");
}

/// A capsule holding one line of text with the given padding; returns its rectangle.
QRectF textCapsule(const QString &text, const QFont &font, qreal padX, qreal padY)
{
    const QFontMetricsF metrics(font);
    return {0, 0, metrics.horizontalAdvance(text) + 2 * padX, metrics.height() + 2 * padY};
}

} // namespace

VideoPanelChrome::VideoPanelChrome(Actions actions, QWidget *parent, FrameTicker &ticker)
    : QWidget(parent), m_actions(std::move(actions))
{
    m_spinner = new ActivitySpinner(ActivitySpinner::Size::regular, Palette::accentDeep(), this, ticker);
    m_spinner->hide();
    m_spinnerFade = new QGraphicsOpacityEffect(m_spinner);
    m_spinnerFade->setEnabled(false);
    m_spinner->setGraphicsEffect(m_spinnerFade);
}

void VideoPanelChrome::setState(const State &state)
{
    m_state = state;
    // The spinner leaves with the rest of the badge while the bar fades in.
    const bool fadingOut = state.phase == VideoPanelPhase::playing && state.playingFade < 1;
    m_spinnerFade->setEnabled(fadingOut);
    m_spinnerFade->setOpacity(fadingOut ? 1 - state.playingFade : 1);
    m_spinner->setVisible(state.phase == VideoPanelPhase::preparing || fadingOut);
    placeSpinner();
    update();
}

void VideoPanelChrome::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeSpinner();
}

QRectF VideoPanelChrome::badgeCircle() const
{
    const QString caption = m_state.phase == VideoPanelPhase::preparing ? preparingText() : m_state.fileName;
    const qreal captionHeight = textCapsule(caption, captionFont(), 12, 4).height();
    const qreal stack = badgeSide + badgeSpacing + captionHeight;
    const QPointF centre = QRectF(rect()).center();
    return {centre.x() - badgeSide / 2, centre.y() - stack / 2, badgeSide, badgeSide};
}

void VideoPanelChrome::placeSpinner()
{
    m_spinner->move((badgeCircle().center() - QPointF(m_spinner->width(), m_spinner->height()) / 2).toPoint());
}

QRectF VideoPanelChrome::barRect() const
{
    if (m_state.phase != VideoPanelPhase::playing)
        return {};
    const qreal height = buttonSide + 2 * barPaddingY;
    return {barMargin, this->height() - barMargin - height, width() - 2 * barMargin, height};
}

QRectF VideoPanelChrome::playButtonRect() const
{
    const QRectF bar = barRect();
    if (bar.isEmpty())
        return {};
    return {bar.left() + barPaddingX, bar.center().y() - buttonSide / 2, buttonSide, buttonSide};
}

QRectF VideoPanelChrome::timeLabelRect() const
{
    const QRectF bar = barRect();
    if (bar.isEmpty())
        return {};
    const QFontMetricsF metrics(timeFont());
    const qreal width = metrics.horizontalAdvance(m_state.timeText);
    return {bar.right() - barPaddingX - width, bar.center().y() - metrics.height() / 2, width, metrics.height()};
}

QRectF VideoPanelChrome::scrubberRect() const
{
    const QRectF button = playButtonRect();
    if (button.isEmpty())
        return {};
    const qreal left = button.right() + barSpacing;
    const qreal right = timeLabelRect().left() - barSpacing;
    return {left, button.center().y() - scrubberBand / 2, std::max<qreal>(0, right - left), scrubberBand};
}

void VideoPanelChrome::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    switch (m_state.phase) {
    case VideoPanelPhase::idle:
    case VideoPanelPhase::preparing:
        paintCentre(painter, m_state.phase == VideoPanelPhase::preparing);
        paintDurationBadge(painter);
        break;
    case VideoPanelPhase::failed:
        paintFailure(painter);
        paintDurationBadge(painter);
        break;
    case VideoPanelPhase::playing:
        // What showed while preparing leaves as the bar arrives.
        if (m_state.playingFade < 1) {
            painter.setOpacity(1 - m_state.playingFade);
            paintCentre(painter, true);
            paintDurationBadge(painter);
            painter.setOpacity(m_state.playingFade);
        }
        paintBar(painter);
        break;
    }
}

void VideoPanelChrome::paintCentre(QPainter &painter, bool preparing) const
{
    const QRectF circle = badgeCircle();
    QPainterPath disc;
    disc.addEllipse(circle);
    ShadowPainter::draw(painter, disc, Shadows::medium());
    painter.fillPath(disc, white(0.9));
    if (!preparing)
        SymbolIcons::paint(painter, QStringLiteral("play.fill"), circle.translated(3, 0), 28, SymbolWeight::Regular,
                           Palette::accentDeep());

    const QString caption = preparing ? preparingText() : m_state.fileName;
    QRectF box = textCapsule(caption, captionFont(), 12, 4);
    box.moveTop(circle.bottom() + badgeSpacing);
    box.moveLeft(circle.center().x() - box.width() / 2);
    painter.fillPath(capsule(box), black(0.35));
    painter.setFont(captionFont());
    painter.setPen(white(0.85));
    painter.drawText(box, Qt::AlignCenter | Qt::TextSingleLine, caption);
}

void VideoPanelChrome::paintFailure(QPainter &painter) const
{
    const QFont messageFont = captionFont();
    const QFont nameFont = LookFont::system(11);
    const QFontMetricsF message(messageFont);
    const QFontMetricsF name(nameFont);
    const qreal contentWidth = std::max({qreal(28), message.horizontalAdvance(m_state.failureMessage),
                                         name.horizontalAdvance(m_state.fileName)});
    const qreal contentHeight = 28 + 10 + message.height() + 10 + name.height();
    QRectF box(0, 0, contentWidth + 32, contentHeight + 24);
    box.moveCenter(QRectF(rect()).center());
    painter.fillPath(continuousRoundedRect(box, 12), black(0.45));

    qreal y = box.top() + 12;
    SymbolIcons::paint(painter, QStringLiteral("exclamationmark.triangle.fill"),
                       QRectF(box.center().x() - 14, y, 28, 28), 28, SymbolWeight::Regular, white(0.85));
    y += 28 + 10;
    painter.setFont(messageFont);
    painter.setPen(white(0.85));
    painter.drawText(QRectF(box.left(), y, box.width(), message.height()), Qt::AlignCenter, m_state.failureMessage);
    y += message.height() + 10;
    painter.setFont(nameFont);
    painter.setPen(white(0.55));
    painter.drawText(QRectF(box.left(), y, box.width(), name.height()), Qt::AlignCenter, m_state.fileName);
}

void VideoPanelChrome::paintDurationBadge(QPainter &painter) const
{
    if (!m_state.durationText)
        return;
    const QFont font = LookFont::system(12, QFont::DemiBold);
    QRectF box = textCapsule(*m_state.durationText, font, 9, 4);
    box.moveBottomRight(QPointF(width() - 10, height() - 10));
    painter.fillPath(capsule(box), black(0.6));
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(box, Qt::AlignCenter | Qt::TextSingleLine, *m_state.durationText);
}

void VideoPanelChrome::paintBar(QPainter &painter) const
{
    const QRectF bar = barRect();
    painter.fillPath(capsule(bar), black(0.45));

    const QRectF button = playButtonRect();
    painter.setPen(Qt::NoPen);
    painter.setBrush(white(0.18));
    painter.drawEllipse(button);
    SymbolIcons::paint(painter, m_state.isPlaying ? QStringLiteral("pause.fill") : QStringLiteral("play.fill"), button,
                       14, SymbolWeight::Semibold, Qt::white);

    const QRectF band = scrubberRect();
    const QRectF track(band.left(), band.center().y() - 2, band.width(), 4);
    painter.fillPath(capsule(track), white(0.18));
    const qreal filled = std::max<qreal>(track.width() * m_state.progress, 0);
    if (filled > 0)
        painter.fillPath(capsule(QRectF(track.topLeft(), QSizeF(filled, 4))), Palette::accent());

    painter.setFont(timeFont());
    painter.setPen(white(0.85));
    painter.drawText(timeLabelRect(), Qt::AlignCenter | Qt::TextSingleLine, m_state.timeText);
}

void VideoPanelChrome::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    if (event->button() != Qt::LeftButton)
        return;
    const QPointF at = event->position();
    if (playButtonRect().contains(at)) {
        m_press = Press::button;
    } else if (scrubberRect().contains(at)) {
        m_press = Press::scrubber;
        const QRectF band = scrubberRect();
        if (m_actions.onScrub)
            m_actions.onScrub(at.x() - band.left(), band.width());
    } else if (barRect().contains(at)) {
        m_press = Press::bar;
    } else {
        m_press = m_state.hasSurface ? Press::surface : Press::none;
    }
}

void VideoPanelChrome::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    if (m_press != Press::scrubber || !m_actions.onScrub)
        return;
    const QRectF band = scrubberRect();
    m_actions.onScrub(event->position().x() - band.left(), band.width());
}

void VideoPanelChrome::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    const Press press = m_press;
    m_press = Press::none;
    const QPointF at = event->position();
    if (press == Press::scrubber) {
        if (m_actions.onEndScrub)
            m_actions.onEndScrub();
    } else if (press == Press::button && playButtonRect().contains(at)) {
        if (m_actions.onToggle)
            m_actions.onToggle();
    } else if (press == Press::surface && QRectF(rect()).contains(at)) {
        if (m_actions.onSurfaceTap)
            m_actions.onSurfaceTap();
    }
}

} // namespace pomelark
