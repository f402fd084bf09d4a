#include "tidy_send/ConvertScreen.h"

#include "look/LookFont.h"
#include "look/Palette.h"
#include "services/ExportCoordinator.h"
#include "tidy_send/ProgressRing.h"
#include "tidy_send/RoundedBox.h"
#include "tidy_send/ScreenText.h"
#include "tidy_send/SendScreenFrame.h"
#include "look/SymbolView.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <cmath>

namespace pomelark {

ConvertScreen::ConvertScreen(Inputs inputs, QWidget *parent, FrameTicker &ticker)
    : SendScreenFrame(22, parent), m_inputs(inputs), m_coordinator(inputs.coordinator)
{
    m_ring = new ProgressRing(nullptr, ticker);
    addRow(m_ring);

    auto *texts = new QWidget;
    auto *textStack = new QVBoxLayout(texts);
    textStack->setContentsMargins(0, 0, 0, 0);
    textStack->setSpacing(5);
    textStack->addWidget(
        makeScreenText(tr("Tidying up..."), {LookFont::rounded(24, QFont::DemiBold), Palette::ink(), Qt::AlignCenter}));
    m_count = makeScreenText({}, {LookFont::system(13), Palette::inkSecondary(), Qt::AlignCenter});
    textStack->addWidget(m_count);
    addRow(texts, {});

    auto *pill = new RoundedBox({Palette::surface(), Palette::line(), 0, true});
    auto *pillRow = new QHBoxLayout(pill);
    pillRow->setContentsMargins(14, 8, 14, 8);
    pillRow->setSpacing(7);
    pillRow->addWidget(new SymbolView({QStringLiteral("calendar"), 12, SymbolWeight::Regular, Palette::accentDeep()}));
    const QString date = inputs.dateMode == DateMode::now ? tr("Use today's date") : tr("Keep capture date");
    m_date = makeScreenText(date,
                            {LookFont::system(12), Palette::inkSecondary(), Qt::AlignLeft | Qt::AlignVCenter, false});
    pillRow->addWidget(m_date);
    addRow(pill);

    if (m_coordinator) {
        connect(m_coordinator, &ExportCoordinator::progressChanged, this, &ConvertScreen::refresh);
        connect(m_coordinator, &ExportCoordinator::doneItemsChanged, this, &ConvertScreen::refresh);
        connect(m_coordinator, &ExportCoordinator::totalItemsChanged, this, &ConvertScreen::refresh);
    }
    refresh();
}

qint64 ConvertScreen::percentOf(double progress)
{
    if (!std::isfinite(progress) || progress <= 0)
        return 0;
    if (progress >= 1)
        return 100;
    constexpr double representationSlack = 1e-9;
    return qint64(progress * 100 + representationSlack);
}

void ConvertScreen::refresh()
{
    const double progress = m_coordinator ? m_coordinator->progress() : 0;
    const int done = m_coordinator ? m_coordinator->doneItems() : 0;
    const int total = m_coordinator ? m_coordinator->totalItems() : 0;
    m_ring->setPercent(percentOf(progress));
    m_count->setText(tr("%1 / %2 · making them iPhone-friendly").arg(done).arg(total));
}

QString ConvertScreen::percentText() const
{
    return m_ring->centreText();
}

QString ConvertScreen::countText() const
{
    return m_count->text();
}

QString ConvertScreen::dateText() const
{
    return m_date->text();
}

} // namespace pomelark
