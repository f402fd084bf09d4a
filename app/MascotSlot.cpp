#include "app/MascotSlot.h"

#include "look/MotionWidget.h"

#include <QStyle>

#include <cmath>

namespace pomelark {

MascotSlot::MascotSlot(MotionWidget *mascot, std::optional<int> width, std::optional<int> height,
                       Qt::Alignment alignment)
    : m_mascot(mascot), m_width(width), m_height(height), m_alignment(alignment)
{
}

void MascotSlot::setMascot(MotionWidget *mascot)
{
    m_mascot = mascot;
    invalidate();
    place();
}

QSize MascotSlot::sizeHint() const
{
    const QSizeF frame = m_mascot ? m_mascot->frameRect().size() : QSizeF();
    return {m_width.value_or(int(std::ceil(frame.width()))), m_height.value_or(int(std::ceil(frame.height())))};
}

void MascotSlot::setGeometry(const QRect &rect)
{
    m_rect = rect;
    place();
}

void MascotSlot::place()
{
    if (!m_mascot || !m_rect.isValid())
        return;
    const QRectF frame = m_mascot->frameRect();
    const QSize box = sizeHint();
    // The slot's own box inside what the layout gave it, then the frame in the box.
    const QRect slot = QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, box, m_rect);
    const QRect framed = QStyle::alignedRect(Qt::LeftToRight, m_alignment, frame.size().toSize(), slot);
    m_mascot->setGeometry(QRect(framed.topLeft() - frame.topLeft().toPoint(), m_mascot->sizeHint()));
    m_mascot->raise();
}

} // namespace pomelark
