#include "app/ToolProgressOverlay.h"

#include "app/ContentView.h"
#include "app/ScreenStyle.h"
#include "look/ActivitySpinner.h"
#include "look/ConfirmationFrame.h"
#include "look/ContinuousShape.h"
#include "look/LookFont.h"
#include "look/Palette.h"
#include "look/ShadowPainter.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

namespace pomelark {

namespace {

constexpr int cardPadding = 32;
constexpr int cardSpacing = 14;
constexpr qreal cardRadius = 20;

} // namespace

ToolProgressOverlay::ToolProgressOverlay(const QString &title, int done, int total, QWidget *parent,
                                         FrameTicker &ticker)
    : OverlayLayer(parent, defaultFade(), ticker)
{
    m_card = new QWidget(this);
    auto *stack = new QVBoxLayout(m_card);
    stack->setContentsMargins(cardPadding, cardPadding, cardPadding, cardPadding);
    stack->setSpacing(cardSpacing);
    stack->addWidget(new ActivitySpinner(ActivitySpinner::Size::large, Palette::accent(), m_card, ticker), 0, Qt::AlignHCenter);
    m_title = ScreenStyle::text(title, LookFont::system(14, QFont::DemiBold), Palette::ink(), m_card);
    stack->addWidget(m_title);
    // Most sans families draw digits at one width, so the count does not wobble.
    m_count = ScreenStyle::text({}, LookFont::system(12), Palette::inkSecondary(), m_card);
    stack->addWidget(m_count);
    setProgress(done, total);
}

void ToolProgressOverlay::setProgress(int done, int total)
{
    m_count->setText(ContentView::progressCountText(done, total));
    placeCard();
}

QString ToolProgressOverlay::title() const
{
    return m_title->text();
}

QString ToolProgressOverlay::countText() const
{
    return m_count->text();
}

QRect ToolProgressOverlay::cardGeometry() const
{
    return m_card->geometry();
}

void ToolProgressOverlay::resizeEvent(QResizeEvent *event)
{
    OverlayLayer::resizeEvent(event);
    placeCard();
}

void ToolProgressOverlay::placeCard()
{
    const QSize size = m_card->sizeHint();
    m_card->setGeometry(QRect(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size));
    update();
}

void ToolProgressOverlay::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), ConfirmationFrame::backdropColor());
    const QPainterPath card = continuousRoundedRect(QRectF(m_card->geometry()), cardRadius);
    ShadowPainter::draw(painter, card, Shadows::large());
    painter.fillPath(card, Palette::surface());
}

void ToolProgressOverlay::mousePressEvent(QMouseEvent *event)
{
    event->accept();
}

} // namespace pomelark
