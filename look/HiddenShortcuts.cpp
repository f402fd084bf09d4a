#include "look/HiddenShortcuts.h"

#include <QShortcut>

namespace pomelark {

HiddenShortcuts::HiddenShortcuts(QWidget *parent) : QWidget(parent)
{
    // Shortcuts only fire for a shown owner, so the holder is shown, just without room.
    setFixedSize(0, 0);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void HiddenShortcuts::add(const QString &name, const QKeySequence &key, std::function<void()> action)
{
    delete m_shortcuts.take(name);
    auto *shortcut = new QShortcut(key, this);
    shortcut->setContext(Qt::WindowShortcut);
    shortcut->setAutoRepeat(true);
    shortcut->setObjectName(name);
    connect(shortcut, &QShortcut::activated, this, [this, name] { trigger(name); });
    m_shortcuts.insert(name, shortcut);
    m_actions.insert(name, std::move(action));
}

void HiddenShortcuts::setEnabled(const QString &name, bool enabled)
{
    if (QShortcut *shortcut = m_shortcuts.value(name))
        shortcut->setEnabled(enabled);
}

bool HiddenShortcuts::isEnabled(const QString &name) const
{
    const QShortcut *shortcut = m_shortcuts.value(name);
    return shortcut && shortcut->isEnabled();
}

bool HiddenShortcuts::trigger(const QString &name)
{
    if (!isEnabled(name))
        return false;
    // A copy: the action may replace the shortcuts it belongs to.
    const std::function<void()> action = m_actions.value(name);
    if (action)
        action();
    return true;
}

} // namespace pomelark
