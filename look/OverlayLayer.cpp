#include "look/OverlayLayer.h"

#include <QAction>
#include <QEvent>
#include <QGraphicsOpacityEffect>
#include <QShortcut>

namespace pomelark {

OverlayLayer::OverlayLayer(QWidget *parent, Animation fade, FrameTicker &ticker)
    : QWidget(parent), m_fade(fade), m_presence(Transition::opacity(), ticker)
{
    m_presence.setOnChange([this] { applyPresence(); });
    if (parent) {
        setGeometry(parent->rect());
        parent->installEventFilter(this);
    }
}

void OverlayLayer::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_entered)
        return;
    m_entered = true;
    raise();
    if (!m_fade) {
        m_presence.setPresent(true);
        return;
    }
    applyPresence();
    m_presence.insert(*m_fade);
}

void OverlayLayer::leave()
{
    if (m_leaving)
        return;
    m_leaving = true;
    // Clicks and keys during the way out must not reach a decision already taken;
    // a key still bound here would also clash with the same key of an overlay
    // opened while this one fades, and Qt then runs neither.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    for (QShortcut *shortcut : findChildren<QShortcut *>())
        shortcut->setEnabled(false);
    for (QAction *action : findChildren<QAction *>())
        action->setEnabled(false);
    aboutToLeave();
    if (!m_entered || !isVisible() || !m_fade) {
        hide();
        deleteLater();
        return;
    }
    m_presence.remove(*m_fade);
}

void OverlayLayer::applyPresence()
{
    const qreal opacity = m_presence.progress();
    if (m_leaving && !m_presence.isVisible()) {
        hide();
        deleteLater();
        return;
    }
    // The effect renders the whole overlay offscreen; keep it only while fading.
    if (opacity >= 1.0) {
        if (m_opacity) {
            setGraphicsEffect(nullptr);
            m_opacity = nullptr;
        }
        return;
    }
    if (!m_opacity) {
        m_opacity = new QGraphicsOpacityEffect(this);
        setGraphicsEffect(m_opacity);
    }
    m_opacity->setOpacity(opacity);
}

bool OverlayLayer::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        setGeometry(parentWidget()->rect());
    return QWidget::eventFilter(watched, event);
}

} // namespace pomelark
