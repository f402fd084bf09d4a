#include "tidy_send/GroupCard.h"

#include "look/Color.h"
#include "look/LookFont.h"
#include "look/Palette.h"
#include "look/PlainLabel.h"
#include "tidy_send/BestShotCard.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

namespace pomelark {

namespace {

constexpr int cardSpacing = 10;
constexpr int stripPadding = 2;
constexpr qreal dimmedOpacity = 0.4;

/// A plain text button with no chrome, dimmed while disabled.
class TextButton : public QAbstractButton {
public:
    TextButton(const QString &text, QWidget *parent) : QAbstractButton(parent)
    {
        setText(text);
        setFont(LookFont::system(11, QFont::DemiBold));
        setFocusPolicy(Qt::NoFocus);
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    }

    QSize sizeHint() const override { return fontMetrics().size(Qt::TextSingleLine, text()) + QSize(2, 2); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setOpacity(isEnabled() ? 1.0 : dimmedOpacity);
        painter.setPen(Palette::accentDeep());
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, text());
    }
};

QLabel *hintLabel(QWidget *parent)
{
    return plainLabel(QCoreApplication::translate("GroupCard", "No faces here, so no pick — choose yourself"),
                      LookFont::system(11), Palette::inkTertiary(), parent);
}

} // namespace

GroupCard::GroupCard(Inputs inputs, QWidget *parent, FrameTicker &ticker)
    : QWidget(parent), m_inputs(std::move(inputs)), m_ticker(ticker)
{
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(8);

    auto *header = new QHBoxLayout;
    header->setContentsMargins(0, 0, 0, 0);
    m_hint = hintLabel(this);
    header->addWidget(m_hint);
    header->addStretch(1);
    m_keepAll = new TextButton(QCoreApplication::translate("GroupCard", "Keep all"), this);
    connect(m_keepAll, &QAbstractButton::clicked, this, &GroupCard::keepAll);
    header->addWidget(m_keepAll);
    column->addLayout(header);

    m_strip = new QScrollArea(this);
    m_strip->setFrameShape(QFrame::NoFrame);
    m_strip->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_strip->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_strip->setWidgetResizable(false);
    m_strip->viewport()->setAutoFillBackground(false);
    auto *content = new QWidget;
    m_stripLayout = new QHBoxLayout(content);
    // Cards reach past their squares for their borders; the gaps between squares stay as designed.
    const int margin = stripPadding - BestShotCard::bleed;
    m_stripLayout->setContentsMargins(margin, margin, margin, margin);
    m_stripLayout->setSpacing(cardSpacing - 2 * BestShotCard::bleed);
    m_stripLayout->setSizeConstraint(QLayout::SetFixedSize);
    m_strip->setWidget(content);
    content->setAutoFillBackground(false); // after setWidget, which turns it on
    m_strip->setFixedHeight(BestShotCard::side + 2 * stripPadding);
    column->addWidget(m_strip);

    refresh();
}

bool GroupCard::showsNoFacesHint() const
{
    return !m_hint->isHidden();
}

void GroupCard::setRotations(const QHash<QUuid, int> &rotations)
{
    m_inputs.rotations = rotations;
    refresh();
}

void GroupCard::refresh()
{
    const BestShotGroup group = m_inputs.group.get();
    bool sameItems = m_cards.size() == group.items.size();
    for (qsizetype i = 0; sameItems && i < m_cards.size(); ++i)
        sameItems = m_cards[i]->url() == group.items[i].url;
    if (!sameItems)
        rebuildCards(group);

    for (qsizetype i = 0; i < m_cards.size(); ++i) {
        BestShotCard *card = m_cards[i];
        card->setRotationDegrees(m_inputs.rotations.value(group.items[i].id, 0));
        card->setKept(group.keep.value(i, false));
        card->setBest(group.bestIndex && *group.bestIndex == i);
    }
    m_hint->setVisible(!group.bestIndex.has_value());
    const bool allKept = std::all_of(group.keep.cbegin(), group.keep.cend(), [](bool kept) { return kept; });
    m_keepAll->setEnabled(!allKept);
}

void GroupCard::rebuildCards(const BestShotGroup &group)
{
    // deleteLater: a refresh may come from inside one of these cards' own clicks.
    for (BestShotCard *card : std::as_const(m_cards)) {
        card->hide();
        card->deleteLater();
    }
    m_cards.clear();
    for (qsizetype i = 0; i < group.items.size(); ++i) {
        const int index = int(i);
        auto *card = new BestShotCard(
            group.items[i].url, m_inputs.rotations.value(group.items[i].id, 0), group.keep.value(i, false),
            group.bestIndex && *group.bestIndex == i, [this, index] { toggleKeep(index); },
            [this, index] {
                if (m_inputs.onOpen)
                    m_inputs.onOpen(index);
            },
            m_stripLayout->parentWidget(), m_ticker);
        m_stripLayout->addWidget(card);
        m_cards.append(card);
    }
}

void GroupCard::toggleKeep(int index)
{
    BestShotGroup group = m_inputs.group.get();
    if (index < 0 || index >= group.keep.size())
        return;
    group.keep[index] = !group.keep[index];
    m_inputs.group.set(std::move(group));
    refresh();
}

void GroupCard::keepAll()
{
    BestShotGroup group = m_inputs.group.get();
    group.keep = QList<bool>(group.items.size(), true);
    m_inputs.group.set(std::move(group));
    refresh();
}

} // namespace pomelark
