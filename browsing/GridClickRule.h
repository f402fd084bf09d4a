#pragma once

#include <QSet>
#include <QUuid>

#include <Qt>

namespace pomelark {

/// What a click on a grid tile does. Ctrl (which stands for both Control and
/// Command here) toggles the tile in the selection, entering select mode first
/// when it is off; any other click opens the viewer, in select mode too. Shift
/// and Alt play no part.
class GridClickRule {
public:
    enum class Action { open, toggle, enterSelectThenToggle };

    static Action decide(Qt::KeyboardModifiers modifiers, bool selectMode);
    /// `selected` with `id` removed when it was there, added otherwise.
    static QSet<QUuid> toggled(QSet<QUuid> selected, const QUuid &id);
};

} // namespace pomelark
