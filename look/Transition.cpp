#include "look/Transition.h"

#include <algorithm>

namespace pomelark {

Transition::Frame Transition::frameAt(qreal presence, QSizeF size, bool rightToLeft) const
{
    Frame frame;
    frame.opacity = std::clamp(presence, 0.0, 1.0);
    if (!m_edge)
        return frame;
    // The move is not clamped: a spring's overshoot carries the piece slightly past its place.
    const qreal away = 1.0 - presence;
    Edge edge = *m_edge;
    if (rightToLeft && (edge == Edge::Leading || edge == Edge::Trailing))
        edge = edge == Edge::Leading ? Edge::Trailing : Edge::Leading;
    switch (edge) {
    case Edge::Top:
        frame.offset = {0, -size.height() * away};
        break;
    case Edge::Bottom:
        frame.offset = {0, size.height() * away};
        break;
    case Edge::Leading:
        frame.offset = {-size.width() * away, 0};
        break;
    case Edge::Trailing:
        frame.offset = {size.width() * away, 0};
        break;
    }
    return frame;
}

} // namespace pomelark
