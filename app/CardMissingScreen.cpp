#include "app/CardMissingScreen.h"

#include "app/MascotSlot.h"
#include "app/Paragraph.h"
#include "app/ScreenStyle.h"
#include "look/LookFont.h"
#include "look/Palette.h"
#include "look/PomelarkButton.h"
#include "look/TuppoMotionView.h"

#include <QLabel>
#include <QVBoxLayout>

namespace pomelark {

CardMissingScreen::CardMissingScreen(Inputs inputs, QWidget *parent, FrameTicker &ticker, MascotPauser &pauser)
    : QWidget(parent), m_inputs(std::move(inputs))
{
    // Opaque: nothing of the covered screen may show or be clicked through.
    ScreenStyle::fillBackground(this, Palette::background());

    m_mascot = new TuppoMotionView(TuppoMotionKind::Search, QStringLiteral("lavender"), 5, this, ticker, pauser);
    auto *title = ScreenStyle::text(tr("Please put the card back"), LookFont::system(24, QFont::DemiBold),
                                    Palette::ink(), this);
    auto *message = new Paragraph(
        tr("Tuppo can't see your photos without the card.\nPop it back in to pick up right where you left off."),
        LookFont::system(14), Palette::inkSecondary(), 4, 0, this);
    m_back = new PomelarkButton(ButtonStyle::primary(), tr("Back to start"), {}, [this] {
        if (m_inputs.onGoHome)
            m_inputs.onGoHome();
    }, this);

    auto *column = ScreenStyle::paddedColumn(this);
    column->setSpacing(22);
    column->addStretch(1);
    column->addItem(new MascotSlot(m_mascot, std::nullopt, 130));
    auto *texts = new QVBoxLayout;
    texts->setSpacing(8);
    texts->addWidget(title);
    texts->addWidget(message);
    column->addLayout(texts);
    column->addLayout(ScreenStyle::withSpaceAbove(m_back, 4));
    column->addStretch(1);
}

} // namespace pomelark
