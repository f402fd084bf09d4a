#include "tidy_send/InfoRow.h"

#include "look/Palette.h"
#include "look/LookFont.h"
#include "look/SymbolView.h"
#include "look/WrappedText.h"

#include <QFontMetricsF>
#include <QHBoxLayout>

#include <cmath>

namespace pomelark {

InfoRow::InfoRow(const QString &icon, const QString &text, bool muted, QWidget *parent)
    : QWidget(parent), m_icon(icon), m_muted(muted)
{
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(10);
    const QColor iconColor = muted ? Palette::inkTertiary() : Palette::accentDeep();
    // The symbol stands in the height of the text's first line, so it sits on that line however many follow.
    const QFont font = LookFont::system(13);
    const int firstLine = int(std::ceil(QFontMetricsF(font).height()));
    row->addWidget(new SymbolView({icon, 15, SymbolWeight::Regular, iconColor, QSize(18, firstLine)}), 0, Qt::AlignTop);
    m_text = new WrappedText(text, font, muted ? Palette::inkSecondary() : Palette::ink(),
                             Qt::AlignLeft, 2);
    row->addWidget(m_text, 1);
}

QString InfoRow::text() const
{
    return m_text->text();
}

} // namespace pomelark
