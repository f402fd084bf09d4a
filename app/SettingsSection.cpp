#include "app/SettingsSection.h"

#include "app/ScreenStyle.h"
#include "app/SettingsRow.h"
#include "look/ContinuousShape.h"
#include "look/LookFont.h"
#include "look/Palette.h"

#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace pomelark {

namespace {

constexpr qreal cardRadius = 12;

// White, rounded, with a hairline edge; the rows bring their own vertical padding.
class Card : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QPainterPath shape = continuousRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), cardRadius);
        painter.fillPath(shape, Palette::surface());
        painter.setPen(QPen(Palette::line(), 1));
        painter.drawPath(shape);
    }
};

QLabel *sectionLabel(const QString &label, QWidget *parent)
{
    QFont font = LookFont::system(11, QFont::Bold);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 0.5);
    return ScreenStyle::text(label.toUpper(), font, Palette::inkTertiary(), parent, Qt::AlignLeft | Qt::AlignVCenter);
}

} // namespace

SettingsSection::SettingsSection(const QString &label, QWidget *parent)
    : QWidget(parent), m_label(label), m_labelView(sectionLabel(label, this)), m_card(new Card(this)),
      m_rows(new QVBoxLayout(m_card))
{
    m_labelView->setContentsMargins(2, 0, 0, 0);

    m_rows->setContentsMargins(18, 0, 18, 0);
    m_rows->setSpacing(0);

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(4);
    column->addWidget(m_labelView);
    column->addWidget(m_card);
}

void SettingsSection::addRow(SettingsRow *row)
{
    m_rows->addWidget(row);
}

} // namespace pomelark
