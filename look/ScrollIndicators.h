#pragma once

class QAbstractScrollArea;

namespace pomelark {

/// The one look of every scroll view's indicators: a thin rounded thumb in the
/// tertiary ink on no groove, without step arrows, darker under the pointer and
/// while dragged. The platform's scroll bar would be the only foreign control
/// on screen.
namespace ScrollIndicators {

/// How wide a vertical indicator (how high a horizontal one) is, thumb and inset.
constexpr int thickness = 8;

/// Gives both scroll bars of `area` the indicators' look; their policies stay.
void apply(QAbstractScrollArea *area);

} // namespace ScrollIndicators

} // namespace pomelark
