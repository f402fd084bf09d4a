#pragma once

#include <QtGlobal>

#include <array>

namespace pomelark {

/// The peek (2.5 s loop): the mascot sways while a magnifying glass swings in
/// front of it and glints at mid-loop.
struct PeekFrame {
    double r = 0;  ///< the mascot's rotation, degrees
    qreal x = 0;   ///< the glass's offset, points
    qreal y = 0;
    double a = 0;  ///< the glass's rotation, degrees
    double g = 0;  ///< the glint's opacity
};
PeekFrame peekFrame(double t, qreal px);

/// One rising "OK" badge of the nod.
struct BadgeFrame {
    double opacity = 0;
    qreal scale = 0.7;
    qreal y = 8;
};

/// The nod (2.2 s loop): two nods while two badges float up.
struct NodFrame {
    double n = 0;  ///< nod angle, degrees
    qreal v = 0;   ///< nod drop, points
    std::array<BadgeFrame, 2> badges;
};
NodFrame nodFrame(double t);
BadgeFrame nodBadge(double t, double delay);

/// One falling paper snippet of the snip.
struct SnippetFrame {
    double opacity = 0;
    double spin = 0;  ///< degrees
    qreal x = 0;
    qreal fall = 0;
};

/// The snip (1.6 s loop): scissors snip at a small photo card and two snippets fall.
struct SnipFrame {
    double o = 0;  ///< blade opening, 0 closed … 1 open
    std::array<SnippetFrame, 2> snippets;
};
SnipFrame snipFrame(double t);

} // namespace pomelark
