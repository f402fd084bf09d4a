#include "tidy_send/InfoRow.h"

#include "look/Palette.h"
#include "tidy_send/ScreenText.h"
#include "look/SymbolView.h"

#include <QHBoxLayout>
#include <QLabel>

namespace pomelark {

InfoRow::InfoRow(const QString &icon, const QString &text, bool muted, QWidget *parent)
    : QWidget(parent), m_icon(icon), m_muted(muted)
{
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(10);
    const QColor iconColor = muted ? Palette::inkTertiary() : Palette::accentDeep();
    row->addWidget(new SymbolView({icon, 15, SymbolWeight::Regular, iconColor, QSize(18, 18)}), 0, Qt::AlignTop);
    m_text = makeScreenText(text, {13, QFont::Normal, muted ? Palette::inkSecondary() : Palette::ink()});
    m_text->setMinimumWidth(1);
    row->addWidget(m_text, 1);
}

QString InfoRow::text() const
{
    return m_text->text();
}

} // namespace pomelark
