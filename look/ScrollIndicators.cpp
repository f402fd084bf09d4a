#include "look/ScrollIndicators.h"

#include "look/Palette.h"

#include <QAbstractScrollArea>
#include <QScrollBar>

namespace pomelark {

namespace {

constexpr int inset = 2;
constexpr int thumbMinimumLength = 32;

QString cssColor(const QColor &color)
{
    return QStringLiteral("rgba(%1, %2, %3, %4)").arg(color.red()).arg(color.green()).arg(color.blue()).arg(color.alphaF());
}

/// Qt's style sheets draw a scroll bar from these parts without help from the
/// platform style, so the thumb looks the same under every theme.
const QString &indicatorSheet()
{
    static const QString sheet =
        QStringLiteral("QScrollBar { background: transparent; border: none; margin: 0; }"
                       "QScrollBar:vertical { width: %1px; }"
                       "QScrollBar:horizontal { height: %1px; }"
                       "QScrollBar::handle { background: %2; border-radius: %3px; margin: %4px; }"
                       "QScrollBar::handle:vertical { min-height: %5px; }"
                       "QScrollBar::handle:horizontal { min-width: %5px; }"
                       "QScrollBar::handle:hover, QScrollBar::handle:pressed { background: %6; }"
                       "QScrollBar::add-line, QScrollBar::sub-line { width: 0; height: 0; border: none; background: none; }"
                       "QScrollBar::add-page, QScrollBar::sub-page { background: none; }")
            .arg(ScrollIndicators::thickness)
            .arg(cssColor(Palette::inkTertiary()))
            .arg((ScrollIndicators::thickness - 2 * inset) / 2)
            .arg(inset)
            .arg(thumbMinimumLength)
            .arg(cssColor(Palette::inkSecondary()));
    return sheet;
}

} // namespace

void ScrollIndicators::apply(QAbstractScrollArea *area)
{
    for (QScrollBar *bar : {area->verticalScrollBar(), area->horizontalScrollBar()})
        bar->setStyleSheet(indicatorSheet());
}

} // namespace pomelark
