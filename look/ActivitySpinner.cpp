#include "look/ActivitySpinner.h"

#include <QPainter>

#include <algorithm>

namespace pomelark {

namespace {
constexpr int spokes = 12;
constexpr std::chrono::nanoseconds turn = std::chrono::seconds(1);
} // namespace

ActivitySpinner::ActivitySpinner(Size size, QColor color, QWidget *parent, FrameTicker &ticker)
    : QWidget(parent), m_size(size), m_color(color), m_spokes(ticker, [this] { update(); })
{
    setFixedSize(sizeHint());
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

ActivitySpinner::~ActivitySpinner() = default;

QSize ActivitySpinner::sizeHint() const
{
    return {side(m_size), side(m_size)};
}

void ActivitySpinner::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_spokes.setRunning(true);
}

void ActivitySpinner::hideEvent(QHideEvent *event)
{
    m_spokes.setRunning(false);
    QWidget::hideEvent(event);
}

int ActivitySpinner::leadingSpokeAt(std::chrono::nanoseconds now)
{
    // Whole spokes, as the platform's spinner steps rather than glides.
    return int((now.count() % turn.count()) * spokes / turn.count());
}

void ActivitySpinner::paint(QPainter &painter, const QRectF &frame, const QColor &color, int leadingSpoke)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal s = std::min(frame.width(), frame.height());
    painter.translate(frame.center());
    const qreal inner = s * 0.22;
    const qreal outer = s * 0.48;
    for (int i = 0; i < spokes; ++i) {
        // The leading spoke is brightest; the ones behind it fade to a quarter.
        const int behind = (leadingSpoke - i + spokes) % spokes;
        QColor spoke = color;
        spoke.setAlphaF(color.alphaF() * (1.0 - 0.75 * behind / (spokes - 1)));
        painter.setPen(QPen(spoke, s * 0.085, Qt::SolidLine, Qt::RoundCap));
        painter.save();
        painter.rotate(i * 360.0 / spokes);
        painter.drawLine(QPointF(0, -inner), QPointF(0, -outer + s * 0.04));
        painter.restore();
    }
    painter.restore();
}

void ActivitySpinner::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const qreal s = side(m_size);
    paint(painter, QRectF(0, 0, s, s), m_color, m_spokes.leadingSpoke());
}

} // namespace pomelark
