#include "browsing/IncludeConfirmView.h"

namespace pomelark {

IncludeConfirmView::IncludeConfirmView(Inputs inputs, QWidget *parent, FrameTicker &ticker)
    : ConfirmSheet({QStringLiteral("plus.circle.fill"), titleFor(inputs.count),
                    tr("They go back into the send list.\nExcluded photos come along too."), tr("Add back"),
                    QString(), std::move(inputs.onConfirm), std::move(inputs.onCancel)},
                   parent, ticker)
{
}

QString IncludeConfirmView::titleFor(int count)
{
    return tr("Add the %1 selected back?").arg(count);
}

void IncludeConfirmView::setCount(int count)
{
    setTitle(titleFor(count));
}

} // namespace pomelark
