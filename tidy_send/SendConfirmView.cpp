#include "tidy_send/SendConfirmView.h"

#include "look/LookFont.h"
#include "look/Palette.h"
#include "look/PomelarkButton.h"
#include "tidy_send/InfoRow.h"
#include "tidy_send/RoundedBox.h"
#include "tidy_send/ScreenText.h"
#include "look/SymbolView.h"
#include "look/WrappedText.h"

#include <QLabel>
#include <QVBoxLayout>

namespace pomelark {

SendConfirmView::SendConfirmView(Inputs inputs, QWidget *parent, FrameTicker &ticker)
    : ConfirmationFrame(maxWidth, inputs.onCancel, parent, ticker), m_inputs(std::move(inputs))
{
    panelLayout()->addWidget(buildHeader());
    panelLayout()->addWidget(buildSummary());
    m_send = addButtonRow(tr("Cancel"), tr("Send"),
                          [this] {
                              if (m_inputs.onConfirm)
                                  m_inputs.onConfirm();
                          },
                          QStringLiteral("paperplane"));
}

QWidget *SendConfirmView::buildHeader() const
{
    auto *header = new QWidget;
    auto *stack = new QVBoxLayout(header);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(12);
    stack->addWidget(new SymbolView({QStringLiteral("paperplane.fill"), 26, SymbolWeight::Regular, Palette::accentDeep(),
                                     QSize(60, 60), Palette::accentSoft()}),
                     0, Qt::AlignHCenter);
    stack->addWidget(
        makeScreenText(tr("Send to Photos?"), {LookFont::rounded(20, QFont::Medium), Palette::ink(), Qt::AlignCenter}));
    stack->addWidget(new WrappedText(tr("We'll add them to Photos just as you tidied them.\nIt only takes a moment."),
                                     LookFont::system(13), Palette::inkSecondary(), Qt::AlignHCenter, 3));
    return header;
}

QWidget *SendConfirmView::buildSummary()
{
    auto *box = new RoundedBox({Palette::background(), Qt::transparent, 12});
    auto *stack = new QVBoxLayout(box);
    stack->setContentsMargins(16, 14, 16, 14);
    stack->setSpacing(11);
    const auto add = [&](const QString &icon, const QString &text, bool muted) {
        auto *row = new InfoRow(icon, text, muted);
        stack->addWidget(row);
        m_rows.append(row);
    };
    // Two counts, each with its own plural form.
    add(QStringLiteral("photo.fill"),
        tr("%n photos", nullptr, m_inputs.photoCount) + QStringLiteral(" · ") + tr("%n videos", nullptr, m_inputs.videoCount),
        false);
    if (m_inputs.excludedCount >= 1)
        add(QStringLiteral("xmark.circle"), tr("%1 excluded").arg(m_inputs.excludedCount), true);
    // The send keeps the capture date unless the stored text is exactly "now";
    // the summary must say what the send will do, whatever else is stored.
    const bool keepsDate = m_inputs.dateMode != QStringLiteral("now");
    add(QStringLiteral("calendar"), keepsDate ? tr("Keep capture date") : tr("Use today's date"), false);
    add(QStringLiteral("checkmark.shield"), tr("Nothing stays on your computer · SD card originals untouched"), false);
    return box;
}

QList<const InfoRow *> SendConfirmView::summaryRows() const
{
    return m_rows;
}

} // namespace pomelark
