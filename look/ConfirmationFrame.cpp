#include "look/ConfirmationFrame.h"

#include "look/Color.h"
#include "look/ContinuousShape.h"
#include "look/Palette.h"
#include "look/PomelarkButton.h"
#include "look/ShadowPainter.h"

#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

#include <algorithm>

namespace pomelark {

namespace {

/// The card's content. It takes every click so that none falls through to the
/// backdrop behind it.
class CardPanel : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void mousePressEvent(QMouseEvent *event) override { event->accept(); }
    void mouseReleaseEvent(QMouseEvent *event) override { event->accept(); }
};

} // namespace

ConfirmationFrame::ConfirmationFrame(qreal maxPanelWidth, std::function<void()> onCancel, QWidget *parent,
                                     FrameTicker &ticker)
    : OverlayLayer(parent, defaultFade(), ticker), m_maxPanelWidth(maxPanelWidth), m_onCancel(std::move(onCancel))
{
    m_panel = new CardPanel(this);
    m_layout = new QVBoxLayout(m_panel);
    m_layout->setContentsMargins(panelPadding, panelPadding, panelPadding, panelPadding);
    m_layout->setSpacing(panelSpacing);
    m_layout->setSizeConstraint(QLayout::SetNoConstraint);
}

QColor ConfirmationFrame::backdropColor()
{
    QColor color = colorFromHex(QStringLiteral("2A2520"));
    color.setAlphaF(0.35);
    return color;
}

PomelarkButton *ConfirmationFrame::addButtonRow(const QString &cancelTitle, const QString &confirmTitle,
                                                std::function<void()> onConfirm, const QString &confirmSymbol)
{
    auto *row = new QHBoxLayout;
    row->setSpacing(10);
    row->addStretch(1);
    row->addWidget(new PomelarkButton(ButtonStyle::ghost(), cancelTitle, {}, [this] {
        if (m_onCancel)
            m_onCancel();
    }));
    auto *confirm = new PomelarkButton(ButtonStyle::primary(), confirmTitle, confirmSymbol, std::move(onConfirm));
    row->addWidget(confirm);
    m_layout->addLayout(row);
    placePanel();
    return confirm;
}

QRect ConfirmationFrame::panelGeometry() const
{
    const int available = std::max(0, width() - 2 * windowMargin);
    const int panelWidth = std::min(available, int(m_maxPanelWidth));
    int panelHeight = m_layout->hasHeightForWidth() ? m_layout->heightForWidth(panelWidth)
                                                    : m_layout->sizeHint().height();
    panelHeight = std::min(panelHeight, std::max(0, height() - 2 * windowMargin));
    return QRect((width() - panelWidth) / 2, (height() - panelHeight) / 2, panelWidth, panelHeight);
}

void ConfirmationFrame::placePanel()
{
    m_panel->setGeometry(panelGeometry());
    update();
}

void ConfirmationFrame::resizeEvent(QResizeEvent *event)
{
    OverlayLayer::resizeEvent(event);
    placePanel();
}

bool ConfirmationFrame::event(QEvent *event)
{
    // The card grows with what screens put into it.
    if (event->type() == QEvent::LayoutRequest)
        placePanel();
    return OverlayLayer::event(event);
}

void ConfirmationFrame::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), backdropColor());
    const QPainterPath card = continuousRoundedRect(QRectF(m_panel->geometry()), panelRadius);
    ShadowPainter::draw(painter, card, Shadows::large());
    painter.fillPath(card, Palette::surface());
}

void ConfirmationFrame::mousePressEvent(QMouseEvent *event)
{
    m_pressedOnBackdrop = !m_panel->geometry().contains(event->position().toPoint());
    event->accept();
}

void ConfirmationFrame::mouseReleaseEvent(QMouseEvent *event)
{
    const bool tapped = m_pressedOnBackdrop && rect().contains(event->position().toPoint())
        && !m_panel->geometry().contains(event->position().toPoint());
    m_pressedOnBackdrop = false;
    event->accept();
    if (tapped && !isLeaving() && m_onCancel)
        m_onCancel();
}

} // namespace pomelark
