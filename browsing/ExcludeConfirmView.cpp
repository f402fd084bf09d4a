#include "browsing/ExcludeConfirmView.h"

namespace pomelark {

ExcludeConfirmView::ExcludeConfirmView(Inputs inputs, QWidget *parent, FrameTicker &ticker)
    : ConfirmSheet({QStringLiteral("minus.circle.fill"), titleFor(inputs.count),
                    tr("They're only dropped from the send list — not deleted.\n"
                       "Originals stay put, and you can add them back anytime."),
                    tr("Exclude"), QString(), std::move(inputs.onConfirm), std::move(inputs.onCancel)},
                   parent, ticker)
{
}

QString ExcludeConfirmView::titleFor(int count)
{
    return tr("Exclude the %1 selected?").arg(count);
}

void ExcludeConfirmView::setCount(int count)
{
    setTitle(titleFor(count));
}

} // namespace pomelark
