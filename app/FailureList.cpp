#include "app/FailureList.h"

#include "app/ElidedLabel.h"
#include "app/ScreenStyle.h"
#include "look/SymbolView.h"
#include "look/ContinuousShape.h"
#include "look/LookFont.h"
#include "look/Palette.h"
#include "look/PomelarkButton.h"
#include "look/ScrollIndicators.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QScrollArea>

#include <algorithm>

namespace pomelark {

namespace {

constexpr qreal cornerRadius = 12;

} // namespace

FailureList::FailureList(const QList<ValidationFailure> &failures,
                         std::function<void(const ValidationFailure &)> reveal, QWidget *parent)
    : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setMaximumWidth(maxWidth);

    m_content = new QWidget;
    auto *entries = new QVBoxLayout(m_content);
    entries->setContentsMargins(0, 0, 0, 0);
    entries->setSpacing(0);
    for (qsizetype i = 0; i < failures.size(); ++i) {
        const ValidationFailure &failure = failures.at(i);
        auto *row = new QHBoxLayout;
        row->setContentsMargins(14, 10, 14, 10);
        row->setSpacing(12);
        row->addWidget(new SymbolView({QStringLiteral("exclamationmark.triangle.fill"), 14, SymbolWeight::Regular, Palette::amber()}));
        auto *texts = new QVBoxLayout;
        texts->setSpacing(2);
        auto *name = new ElidedLabel(failure.sourceURL.fileName());
        name->setFont(LookFont::system(13, QFont::DemiBold));
        ScreenStyle::setTextColor(name, Palette::ink());
        name->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
        texts->addWidget(name);
        texts->addWidget(ScreenStyle::text(failure.message(), LookFont::system(11), Palette::inkSecondary(), nullptr,
                                           Qt::AlignLeft | Qt::AlignVCenter));
        row->addLayout(texts, 1);
        row->addSpacing(8);
        auto *show = new PomelarkButton(ButtonStyle::ghost(), tr("Show in Folder"), {}, [reveal, failure] {
            if (reveal)
                reveal(failure);
        });
        row->addWidget(show);
        m_rows.append(show);
        entries->addLayout(row);
        if (i + 1 < failures.size()) {
            auto *divider = new QWidget;
            divider->setFixedHeight(1);
            ScreenStyle::fillBackground(divider, Palette::line());
            entries->addWidget(divider);
            ++m_dividers;
        }
    }

    m_scroll = new QScrollArea(this);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setWidgetResizable(true);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    ScrollIndicators::apply(m_scroll);
    m_scroll->setWidget(m_content);
    // The card is painted behind; the scroll area only clips and scrolls.
    m_scroll->viewport()->setAutoFillBackground(false);
    m_content->setAutoFillBackground(false);
    auto *frame = new QVBoxLayout(this);
    frame->setContentsMargins(1, 1, 1, 1);
    frame->addWidget(m_scroll);
}

QSize FailureList::sizeHint() const
{
    // As wide as the column allows, like the rest of the column's full-width parts;
    // as tall as its rows up to the limit, scrolling beyond.
    return {maxWidth, std::min(m_content->sizeHint().height() + 2, maxHeight)};
}

QSize FailureList::minimumSizeHint() const
{
    return {0, sizeHint().height()};
}

void FailureList::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPainterPath card = continuousRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), cornerRadius);
    painter.fillPath(card, Palette::surface());
    painter.setPen(QPen(Palette::line(), 1));
    painter.drawPath(card);
}

} // namespace pomelark
