#include "services/Validation.h"

#include <QCoreApplication>

namespace pomelark {

QString ValidationFailure::message(Reason reason)
{
    switch (reason) {
    case Reason::emptyFile:
        return QCoreApplication::translate("ValidationFailure", "This file is empty");
    case Reason::corruptPhoto:
        return QCoreApplication::translate("ValidationFailure", "This photo file looks damaged");
    case Reason::corruptVideo:
        return QCoreApplication::translate("ValidationFailure", "This video file looks damaged");
    case Reason::unknownFormat:
        return QCoreApplication::translate("ValidationFailure", "Unrecognized format");
    case Reason::unreadable:
        break;
    }
    return QCoreApplication::translate("ValidationFailure", "Couldn't read this file");
}

} // namespace pomelark
