#include "app/WelcomeView.h"

#include "app/MascotSlot.h"
#include "app/Paragraph.h"
#include "app/ScreenStyle.h"
#include "look/IconBtn.h"
#include "look/LookFont.h"
#include "look/Palette.h"
#include "look/PomelarkButton.h"
#include "look/TuppoHop.h"

#include <QBoxLayout>

#include <algorithm>

namespace pomelark {

WelcomeView::WelcomeView(Inputs inputs, QWidget *parent, FrameTicker &ticker, MascotPauser &pauser)
    : QWidget(parent), m_inputs(std::move(inputs))
{
    ScreenStyle::fillBackground(this, Palette::background());

    // Made with the screen, so each new welcome screen hops from the start.
    m_mascot = new TuppoHop(QStringLiteral("lavender"), 6, true, this, ticker, pauser);
    const QFont taglineFont = LookFont::system(15);
    m_tagline = new Paragraph(tr(taglineSource()), taglineFont, Palette::inkSecondary(), 4,
                              taglineWidthLimit(taglineFont), this);
    m_pick = new PomelarkButton(ButtonStyle::primary(), tr("Choose your photo folder"), QStringLiteral("folder"), [this] {
        if (m_inputs.onPick)
            m_inputs.onPick();
    }, this);
    m_settings = new IconBtn(QStringLiteral("gearshape"), tr("Settings"), 38, 19, 12, [this] {
        if (m_inputs.onSettings)
            m_inputs.onSettings();
    }, this);

    auto *column = ScreenStyle::paddedColumn(this);
    column->setSpacing(20);
    column->addStretch(1);
    column->addItem(new MascotSlot(m_mascot, std::nullopt, std::nullopt));
    column->addWidget(m_tagline, 0, Qt::AlignHCenter);
    column->addLayout(ScreenStyle::withSpaceAbove(m_pick, 4));
    column->addStretch(1);
    // The settings button floats over the column in the top-right corner.
    m_settings->raise();
}

const char *WelcomeView::taglineSource()
{
    return QT_TR_NOOP("Tidies up the photos & videos from your digicam\nand sends them to your Photos folder.");
}

int WelcomeView::taglineWidthLimit(const QFont &font)
{
    // Measured in the face the desktop gives us, which may be wider than the
    // one the limit was set for.
    return std::max(taglineMaxWidth, Paragraph::naturalWidth(QString::fromUtf8(taglineSource()), font));
}

void WelcomeView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const QSize size = m_settings->sizeHint();
    m_settings->setGeometry(width() - settingsInset - size.width(), settingsInset, size.width(), size.height());
}

} // namespace pomelark
