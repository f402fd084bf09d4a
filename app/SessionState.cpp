#include "app/SessionState.h"

namespace pomelark {

SessionState::SessionState(QObject *parent)
    : QObject(parent),
      // "The distant past": any wait measured from it is long over.
      m_preparingStartedAt(QDate(1, 1, 1).startOfDay(Qt::UTC))
{
}

} // namespace pomelark
