#include "browsing/GridClickRule.h"

namespace pomelark {

GridClickRule::Action GridClickRule::decide(Qt::KeyboardModifiers modifiers, bool selectMode)
{
    if (!modifiers.testFlag(Qt::ControlModifier))
        return Action::open;
    return selectMode ? Action::toggle : Action::enterSelectThenToggle;
}

QSet<QUuid> GridClickRule::toggled(QSet<QUuid> selected, const QUuid &id)
{
    if (!selected.remove(id))
        selected.insert(id);
    return selected;
}

} // namespace pomelark
