#include "tidy_send/ProgressRing.h"

#include "look/FrameTimeline.h"
#include "look/LookFont.h"
#include "look/Palette.h"

#include <QPainter>

#include <cmath>

namespace pomelark {

ProgressRing::ProgressRing(QWidget *parent, FrameTicker &ticker)
    : QWidget(parent), m_timeline(new FrameTimeline(60, ticker, this))
{
    setFixedSize(side, side);
    setFont(LookFont::rounded(18, QFont::Bold));
    connect(m_timeline, &FrameTimeline::frame, this, &ProgressRing::advance);
}

ProgressRing::~ProgressRing() = default;

void ProgressRing::setPercent(qint64 percent)
{
    if (percent == m_percent)
        return;
    m_percent = percent;
    update();
}

QString ProgressRing::centreText() const
{
    return tr("%1%").arg(m_percent);
}

void ProgressRing::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_timeline->start();
}

void ProgressRing::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    m_timeline->stop();
}

void ProgressRing::advance(std::chrono::nanoseconds date)
{
    // The turn counts from the first frame the ring was shown; hiding and showing
    // again does not restart it, so the arc never jumps back.
    if (!m_spinStarted) {
        m_spinStarted = true;
        m_spinStart = date;
    }
    const double turns = secondsBetween(m_spinStart, date) / turnSeconds;
    m_spin = (turns - std::floor(turns)) * 360.0;
    update();
}

void ProgressRing::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal inset = lineWidth / 2;
    const QRectF circle = QRectF(rect()).adjusted(inset, inset, -inset, -inset);

    painter.setPen(QPen(Palette::accentSoft(), lineWidth, Qt::SolidLine, Qt::FlatCap));
    painter.drawEllipse(circle);

    // Qt's angles run counter-clockwise from three o'clock in sixteenths of a
    // degree; the arc starts there and runs clockwise, turned by the spin.
    painter.setPen(QPen(Palette::accent(), lineWidth, Qt::SolidLine, Qt::RoundCap, Qt::MiterJoin));
    const int start = int(std::lround(-m_spin * 16));
    const int span = int(std::lround(-arcFraction * 360 * 16));
    painter.drawArc(circle, start, span);

    painter.setFont(font());
    painter.setPen(Palette::accentDeep());
    painter.drawText(rect(), Qt::AlignCenter, centreText());
}

} // namespace pomelark
