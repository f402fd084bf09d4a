#include "tidy_send/CardGrid.h"

#include "look/ScrollIndicators.h"

#include <QResizeEvent>

#include <algorithm>

namespace pomelark {

CardGrid::CardGrid(QWidget *parent) : QScrollArea(parent), m_content(new QWidget)
{
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    ScrollIndicators::apply(this);
    setWidgetResizable(false);
    setWidget(m_content);
    viewport()->setAutoFillBackground(false);
    m_content->setAutoFillBackground(false);
    QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

void CardGrid::setCards(const QList<QWidget *> &cards)
{
    for (QWidget *old : std::as_const(m_cards)) {
        old->hide();
        old->deleteLater();
    }
    m_cards = cards;
    for (QWidget *card : std::as_const(m_cards)) {
        card->setParent(m_content);
        card->show();
    }
    layoutCards();
    updateGeometry();
}

int CardGrid::columnCount(int width)
{
    return std::max(1, (width + spacing) / (minColumnWidth + spacing));
}

QSize CardGrid::cardSize() const
{
    QSize size;
    for (const QWidget *card : m_cards)
        size = size.expandedTo(card->sizeHint());
    return size;
}

int CardGrid::contentHeightFor(int width) const
{
    if (m_cards.isEmpty())
        return 2 * padding;
    const int columns = columnCount(width - 2 * padding);
    const int rows = int((m_cards.size() + columns - 1) / columns);
    return 2 * padding + rows * cardSize().height() + (rows - 1) * spacing;
}

int CardGrid::heightForWidth(int width) const
{
    return std::min(maxHeight, contentHeightFor(width));
}

QSize CardGrid::sizeHint() const
{
    const int width = 2 * (minColumnWidth + padding) + spacing;
    return {width, heightForWidth(width)};
}

QSize CardGrid::minimumSizeHint() const
{
    return {cardSize().width() + 2 * padding, 0};
}

void CardGrid::resizeEvent(QResizeEvent *event)
{
    QScrollArea::resizeEvent(event);
    layoutCards();
}

void CardGrid::layoutCards()
{
    const int width = viewport()->width();
    const int columns = columnCount(width - 2 * padding);
    const int columnWidth = std::max(0, (width - 2 * padding - (columns - 1) * spacing) / columns);
    const QSize card = cardSize();
    for (int index = 0; index < m_cards.size(); ++index) {
        const int column = index % columns;
        const int row = index / columns;
        const int x = padding + column * (columnWidth + spacing) + (columnWidth - card.width()) / 2;
        const int y = padding + row * (card.height() + spacing);
        m_cards[index]->setGeometry(QRect(QPoint(x, y), card));
    }
    m_content->resize(width, contentHeightFor(width));
}

} // namespace pomelark
