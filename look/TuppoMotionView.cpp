#include "look/TuppoMotionView.h"

namespace pomelark {

TuppoMotionView::TuppoMotionView(TuppoMotionKind kind, const QString &palette, qreal pixelSize, QWidget *parent,
                                 FrameTicker &ticker, MascotPauser &pauser)
    : MotionWidget(kind, palette, pixelSize, true, ticker, pauser, parent)
{
}

void TuppoMotionView::setKind(TuppoMotionKind kind)
{
    if (kind != this->kind())
        restartAs(kind);
}

} // namespace pomelark
