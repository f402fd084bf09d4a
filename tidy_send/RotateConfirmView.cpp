#include "tidy_send/RotateConfirmView.h"

#include "look/LookFont.h"
#include "look/Palette.h"
#include "look/PomelarkButton.h"
#include "tidy_send/CardGrid.h"
#include "tidy_send/ConfirmCard.h"
#include "tidy_send/ScreenText.h"
#include "look/SymbolView.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QVBoxLayout>

#include <algorithm>

namespace pomelark {

RotateConfirmView::RotateConfirmView(Inputs inputs, QWidget *parent, FrameTicker &ticker,
                                     ThumbnailMemoryCache &thumbnails)
    : ConfirmationFrame(maxWidth, inputs.onCancel, parent, ticker), m_inputs(std::move(inputs)), m_ticker(ticker),
      m_thumbnails(thumbnails)
{
    panelLayout()->addWidget(buildHeader());
    m_grid = new CardGrid;
    panelLayout()->addWidget(m_grid);
    panelLayout()->addWidget(buildFooterNote());
    m_confirm = addButtonRow(tr("Don't rotate"), {},
                             [this] {
                                 if (m_inputs.onConfirm)
                                     m_inputs.onConfirm();
                             },
                             QStringLiteral("checkmark"));
    refresh();
}

QWidget *RotateConfirmView::buildHeader()
{
    auto *header = new QWidget;
    auto *stack = new QVBoxLayout(header);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(4);
    m_title = makeScreenText({}, {LookFont::rounded(20, QFont::Medium), Palette::ink()});
    stack->addWidget(m_title);
    stack->addWidget(makeScreenText(tr("Tap 'Leave as is' on any you don't want changed."),
                                    {LookFont::system(13), Palette::inkSecondary()}));
    return header;
}

QWidget *RotateConfirmView::buildFooterNote() const
{
    auto *note = new QWidget;
    auto *row = new QHBoxLayout(note);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(7);
    row->addWidget(new SymbolView({QStringLiteral("checkmark.shield"), 13, SymbolWeight::Regular, Palette::accentDeep()}));
    QLabel *text = makeScreenText(tr("Rotations apply when you Send to Photos · your folder originals stay unchanged"),
                                  {LookFont::system(12), Palette::inkSecondary()});
    text->setMinimumWidth(1);
    row->addWidget(text, 1);
    return note;
}

Binding<RotateSuggestion> RotateConfirmView::elementBinding(QUuid id)
{
    QPointer<RotateConfirmView> self(this);
    auto get = [self, id]() -> RotateSuggestion {
        if (!self)
            return {};
        const RotateSuggestions list = self->m_inputs.suggestions.get();
        const auto found = std::find_if(list.begin(), list.end(), [&](const RotateSuggestion &s) { return s.id == id; });
        return found == list.end() ? RotateSuggestion{} : *found;
    };
    auto set = [self, id](RotateSuggestion next) {
        if (!self)
            return;
        RotateSuggestions list = self->m_inputs.suggestions.get();
        const auto found = std::find_if(list.begin(), list.end(), [&](const RotateSuggestion &s) { return s.id == id; });
        if (found == list.end())
            return;
        *found = std::move(next);
        self->m_inputs.suggestions.set(list);
        self->refresh();
    };
    return {get, set};
}

int RotateConfirmView::acceptedCount() const
{
    const RotateSuggestions list = m_inputs.suggestions.get();
    return int(std::count_if(list.begin(), list.end(), [](const RotateSuggestion &s) { return s.accepted; }));
}

QString RotateConfirmView::titleText() const
{
    return m_title->text();
}

void RotateConfirmView::refresh()
{
    const RotateSuggestions list = m_inputs.suggestions.get();
    QList<QUuid> ids;
    for (const RotateSuggestion &suggestion : list)
        ids.append(suggestion.id);

    if (ids != m_cardIDs) {
        m_cards.clear();
        QList<QWidget *> widgets;
        for (int index = 0; index < ids.size(); ++index) {
            auto *card = new ConfirmCard(elementBinding(ids[index]), index, nullptr, m_ticker, m_thumbnails);
            m_cards.append(card);
            widgets.append(card);
        }
        m_cardIDs = ids;
        m_grid->setCards(widgets);
    } else {
        for (ConfirmCard *card : std::as_const(m_cards))
            card->refresh();
    }

    m_title->setText(tr("Stood up %n sideways photos", nullptr, int(list.size())));
    const int accepted = acceptedCount();
    m_confirm->setText(tr("Stand up %1").arg(accepted));
    m_confirm->setEnabled(accepted > 0);
}

} // namespace pomelark
