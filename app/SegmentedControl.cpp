#include "app/SegmentedControl.h"

#include "look/Color.h"
#include "look/ContinuousShape.h"
#include "look/LookFont.h"
#include "look/Palette.h"
#include "look/ShadowPainter.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <utility>

namespace pomelark {

namespace {

constexpr int trackPadding = 3;
constexpr int segmentSpacing = 3;
constexpr int labelPaddingX = 12;
constexpr int labelPaddingY = 5;
constexpr qreal trackRadius = 8;
constexpr qreal segmentRadius = 4;

QFont labelFont()
{
    return LookFont::system(12, QFont::DemiBold);
}

} // namespace

SegmentedControl::SegmentedControl(Binding<QString> value, QList<Option> options, QWidget *parent,
                                   FrameTicker &ticker)
    : QWidget(parent), m_value(std::move(value)), m_options(std::move(options)), m_shown(m_value.get())
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    for (const Option &option : m_options) {
        auto selection = std::make_unique<AnimatedValue>(option.value == m_shown ? 1.0 : 0.0, ticker);
        selection->setOnChange([this] { update(); });
        m_selection.push_back(std::move(selection));
    }
}

SegmentedControl::~SegmentedControl() = default;

void SegmentedControl::refresh()
{
    const QString now = m_value.get();
    if (now == m_shown)
        return;
    m_shown = now;
    for (int i = 0; i < m_options.size(); ++i)
        m_selection[size_t(i)]->animateTo(m_options[i].value == m_shown ? 1.0 : 0.0,
                                          Animation::easeOut(highlightSeconds));
    update();
}

int SegmentedControl::selectedIndex() const
{
    for (int i = 0; i < m_options.size(); ++i) {
        if (m_options[i].value == m_shown)
            return i;
    }
    return -1;
}

qreal SegmentedControl::selectionProgress(int index) const
{
    return index >= 0 && index < m_options.size() ? m_selection[size_t(index)]->value() : 0.0;
}

QSize SegmentedControl::segmentSize(int index) const
{
    const QFontMetrics metrics(labelFont());
    return {metrics.horizontalAdvance(m_options[index].label) + 2 * labelPaddingX,
            metrics.height() + 2 * labelPaddingY};
}

QRect SegmentedControl::segmentRect(int index) const
{
    int x = trackPadding;
    for (int i = 0; i < index; ++i)
        x += segmentSize(i).width() + segmentSpacing;
    const QSize size = segmentSize(index);
    return {QPoint(x, (height() - size.height()) / 2), size};
}

QSize SegmentedControl::sizeHint() const
{
    int width = 0;
    int height = QFontMetrics(labelFont()).height() + 2 * labelPaddingY;
    for (int i = 0; i < m_options.size(); ++i) {
        width += segmentSize(i).width() + (i > 0 ? segmentSpacing : 0);
        height = std::max(height, segmentSize(i).height());
    }
    return {width + 2 * trackPadding, height + 2 * trackPadding};
}

int SegmentedControl::segmentAt(QPoint point) const
{
    for (int i = 0; i < m_options.size(); ++i) {
        if (segmentRect(i).contains(point))
            return i;
    }
    return -1;
}

void SegmentedControl::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton ? segmentAt(event->position().toPoint()) : -1;
}

void SegmentedControl::mouseReleaseEvent(QMouseEvent *event)
{
    const int pressed = std::exchange(m_pressed, -1);
    if (event->button() != Qt::LeftButton || pressed < 0 || segmentAt(event->position().toPoint()) != pressed)
        return;
    m_value.set(m_options[pressed].value);
    refresh();
}

void SegmentedControl::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(continuousRoundedRect(rect(), trackRadius), Palette::background());
    painter.setFont(labelFont());
    for (int i = 0; i < m_options.size(); ++i) {
        const qreal selected = selectionProgress(i);
        const QRectF segment = segmentRect(i);
        if (selected > 0) {
            const QPainterPath pill = continuousRoundedRect(segment, segmentRadius);
            painter.save();
            painter.setOpacity(selected);
            ShadowPainter::draw(painter, pill, Shadows::small());
            painter.fillPath(pill, Palette::surface());
            painter.restore();
        }
        painter.setPen(mixColors(Palette::inkSecondary(), Palette::accentDeep(), selected));
        painter.drawText(segment, Qt::AlignCenter, m_options[i].label);
    }
}

} // namespace pomelark
