#pragma once

#include <QHash>
#include <QKeySequence>
#include <QWidget>

#include <functional>

class QShortcut;

namespace pomelark {

/// Keyboard shortcuts of an overlay, each a named key without modifiers that
/// works anywhere in the overlay's window while the overlay is shown. The holder
/// is an invisible widget of 0 × 0 px; a shortcut is switched off by disabling it,
/// and a switched-off key does nothing at all here.
///
/// Two enabled shortcuts of one window must not share a key: Qt then runs
/// neither. Owners keep keys they share (space) switched on in one place only.
class HiddenShortcuts : public QWidget {
    Q_OBJECT
public:
    explicit HiddenShortcuts(QWidget *parent);

    /// Adds the shortcut `name` for `key`, enabled, calling `action`. A name used
    /// before is replaced.
    void add(const QString &name, const QKeySequence &key, std::function<void()> action);

    /// Switches the shortcut `name` on or off; an unknown name is ignored.
    void setEnabled(const QString &name, bool enabled);
    /// Whether `name` exists and is switched on.
    bool isEnabled(const QString &name) const;

    /// Runs the shortcut `name` as its key would: nothing when it is switched off
    /// or unknown. Returns whether it ran.
    bool trigger(const QString &name);

private:
    QHash<QString, QShortcut *> m_shortcuts;
    QHash<QString, std::function<void()>> m_actions;
};

} // namespace pomelark
