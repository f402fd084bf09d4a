#pragma once

#include <QPointF>
#include <QSizeF>

#include <optional>

namespace pomelark {

/// How a piece of the screen comes in and goes out: a fade, or a move from one
/// edge (by its own size) combined with a fade.
class Transition {
public:
    enum class Edge { Top, Bottom, Leading, Trailing };

    /// The look of the piece at one moment.
    struct Frame {
        qreal opacity = 1;
        QPointF offset;
    };

    static Transition opacity() { return Transition(std::nullopt); }
    static Transition moveFrom(Edge edge) { return Transition(edge); }

    /// The look at `presence` (0 = out, 1 = fully in) for a piece of `size`.
    /// Leading is the left edge and trailing the right unless `rightToLeft`.
    Frame frameAt(qreal presence, QSizeF size, bool rightToLeft = false) const;

private:
    explicit Transition(std::optional<Edge> edge) : m_edge(edge) {}

    std::optional<Edge> m_edge;
};

} // namespace pomelark
