#include "browsing/ConfirmSheet.h"

#include "look/LookFont.h"
#include "look/Palette.h"
#include "look/PomelarkButton.h"
#include "look/SymbolIcons.h"
#include "look/WrappedText.h"

#include <QPainter>
#include <QVBoxLayout>

namespace pomelark {

namespace {

/// The soft circle with the sheet's symbol.
class SymbolBadge : public QWidget {
public:
    SymbolBadge(QString symbol, QWidget *parent) : QWidget(parent), m_symbol(std::move(symbol))
    {
        setFixedSize(60, 60);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Palette::accentSoft());
        painter.drawEllipse(QRectF(rect()));
        SymbolIcons::paint(painter, m_symbol, QRectF(rect()), 26, SymbolWeight::Regular, Palette::accentDeep());
    }

private:
    QString m_symbol;
};

} // namespace

ConfirmSheet::ConfirmSheet(Inputs inputs, QWidget *parent, FrameTicker &ticker)
    : ConfirmationFrame(maxWidth, std::move(inputs.onCancel), parent, ticker)
{
    auto *message = new QVBoxLayout;
    message->setSpacing(12);
    message->addWidget(new SymbolBadge(inputs.iconSystemName, panel()), 0, Qt::AlignHCenter);
    m_title = new WrappedText(inputs.title, LookFont::system(20, QFont::Medium), Palette::ink(), Qt::AlignHCenter);
    message->addWidget(m_title);
    m_body = new WrappedText(inputs.bodyText, LookFont::system(13), Palette::inkSecondary(), Qt::AlignHCenter, 3);
    message->addWidget(m_body);
    panelLayout()->addLayout(message);
    m_primary = addButtonRow(tr("Cancel"), inputs.primaryTitle, std::move(inputs.onConfirm), inputs.primaryIcon);
}

QString ConfirmSheet::title() const
{
    return m_title->text();
}

QString ConfirmSheet::bodyText() const
{
    return m_body->text();
}

void ConfirmSheet::setTitle(const QString &title)
{
    m_title->setText(title);
}

} // namespace pomelark
