#pragma once

#include "look/Binding.h"
#include "look/ConfirmationFrame.h"
#include "services/ThumbnailMemoryCache.h"
#include "tidy_send/RotateSuggestion.h"

#include <QList>
#include <QUuid>

#include <functional>

class QLabel;

namespace pomelark {

class CardGrid;
class ConfirmCard;
class PomelarkButton;

/// The overlay that shows every sideways photo the scan found, before and after,
/// each standing itself up once its thumbnail is in. Every card can be left as
/// it is; "Stand up N" confirms the accepted ones (disabled at none), "Don't
/// rotate" and a click on the backdrop cancel. The view changes nothing but the
/// suggestions' `accepted` flags, through its binding. No keys are bound.
class RotateConfirmView : public ConfirmationFrame {
    Q_OBJECT
public:
    static constexpr qreal maxWidth = 580;

    struct Inputs {
        Binding<RotateSuggestions> suggestions;
        std::function<void()> onConfirm;
        std::function<void()> onCancel;
    };

    /// Thumbnails come from `thumbnails` (the shared cache unless a test hands in its own).
    explicit RotateConfirmView(Inputs inputs, QWidget *parent = nullptr, FrameTicker &ticker = FrameTicker::shared(),
                               ThumbnailMemoryCache &thumbnails = ThumbnailMemoryCache::shared());

    /// Re-reads the suggestions: the title, the cards (new ones when the list now
    /// holds other suggestions) and the confirm button.
    void refresh();

    /// How many suggestions are accepted right now.
    int acceptedCount() const;

    QString titleText() const;
    PomelarkButton *confirmButton() const { return m_confirm; }
    CardGrid *grid() const { return m_grid; }
    QList<ConfirmCard *> cards() const { return m_cards; }

private:
    QWidget *buildHeader();
    QWidget *buildFooterNote() const;
    Binding<RotateSuggestion> elementBinding(QUuid id);

    Inputs m_inputs;
    FrameTicker &m_ticker;
    ThumbnailMemoryCache &m_thumbnails;
    QLabel *m_title = nullptr;
    CardGrid *m_grid = nullptr;
    PomelarkButton *m_confirm = nullptr;
    QList<ConfirmCard *> m_cards;
    QList<QUuid> m_cardIDs;
};

} // namespace pomelark
