#pragma once

#include "app/AppLanguage.h"

#include <QString>

class QObject;

namespace pomelark {

/// Puts the catalogues and the locale of the display language into the
/// application, once, before any window exists.
class AppTranslations {
public:
    /// Installs our catalogue of `language` from `folder` (English holds only the few texts
    /// whose key is not English) and, for Korean, Qt's own when the system has it
    /// (standard dialog buttons and the like); makes the language's locale
    /// (AppLanguage::locale()) Qt's default, so Qt's dialogs, dates and numbers
    /// speak it too. Returns whether our catalogue is in place; when it fails to
    /// load, the texts stay as written in the source. The catalogues and the
    /// locale belong to `owner`: when it goes, they leave the application and
    /// the default locale is the one before.
    static bool install(AppLanguage language, QObject &owner, const QString &folder = QStringLiteral(":/i18n"));
};

} // namespace pomelark
