#include "app/SettingsRow.h"

#include "app/ScreenStyle.h"
#include "look/LookFont.h"
#include "look/Palette.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace pomelark {

SettingsRow::SettingsRow(const QString &title, const QString &desc, bool isLast, QWidget *control, QWidget *parent)
    : QWidget(parent), m_desc(desc), m_isLast(isLast), m_control(control)
{
    auto *texts = new QVBoxLayout;
    texts->setContentsMargins(0, 0, 0, 0);
    texts->setSpacing(3);
    m_titleLabel = ScreenStyle::text(title, LookFont::system(14, QFont::DemiBold), Palette::ink(), this,
                                     Qt::AlignLeft | Qt::AlignVCenter);
    texts->addWidget(m_titleLabel);
    if (!desc.isEmpty()) {
        m_descLabel = ScreenStyle::text({}, LookFont::system(12), Palette::inkSecondary(), this,
                                        Qt::AlignLeft | Qt::AlignVCenter);
        m_descLabel->setWordWrap(true);
        // Rich text only for the 2 px between wrapped lines; the text itself is escaped.
        m_descLabel->setTextFormat(Qt::RichText);
        m_descLabel->setText(QStringLiteral("<p style=\"margin:0; line-height:2px; -qt-line-height-type:line-distance;\">")
                             + desc.toHtmlEscaped() + QStringLiteral("</p>"));
        // Keep the height-for-width that word wrap turned on.
        QSizePolicy policy = m_descLabel->sizePolicy();
        policy.setHorizontalPolicy(QSizePolicy::Expanding);
        m_descLabel->setSizePolicy(policy);
        texts->addWidget(m_descLabel);
    }

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 14, 0, 14);
    row->setSpacing(16);
    row->addLayout(texts, 1);
    row->addWidget(control, 0, Qt::AlignVCenter);
}

QString SettingsRow::title() const
{
    return m_titleLabel->text();
}

void SettingsRow::paintEvent(QPaintEvent *)
{
    if (m_isLast)
        return;
    QPainter painter(this);
    painter.fillRect(QRect(0, height() - 1, width(), 1), Palette::line());
}

} // namespace pomelark
