#pragma once

#include "app/AppLanguage.h"

#include <QString>

class QObject;

namespace pomelark {

/// Puts the catalogues of the display language into the application, once,
/// before any window exists.
class AppTranslations {
public:
    /// Installs our catalogue of `language` from `folder` (English holds only the few texts
    /// whose key is not English) and, for Korean, Qt's own when the system has it
    /// (standard dialog buttons and the like). Returns whether our catalogue is
    /// in place; when it fails to load, the texts stay as written in the source.
    /// The catalogues belong to `owner` and leave the application with it.
    static bool install(AppLanguage language, QObject &owner, const QString &folder = QStringLiteral(":/i18n"));
};

} // namespace pomelark
