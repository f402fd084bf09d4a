#pragma once

#include "services/ExportSettings.h"

#include <QString>

namespace pomelark {

/// The three stored choices the session reads: "settings.dateMode" ("keep" or
/// "now"), "settings.quality" ("size" or "quality") and "settings.autoCleanup".
/// Only reads; the settings screen writes the first two. Every read goes to the
/// store, so a choice saved a moment ago counts at once.
class SessionDefaults {
public:
    static inline const QString dateModeKey = QStringLiteral("settings.dateMode");
    static inline const QString qualityKey = QStringLiteral("settings.quality");
    static inline const QString autoCleanupKey = QStringLiteral("settings.autoCleanup");

    /// Reads the app's own settings, or the INI file at `iniPath` when one is
    /// given (tests). A store that cannot be read gives the defaults.
    explicit SessionDefaults(QString iniPath = {});

    /// The stored text as it stands, "keep" when nothing is stored.
    QString dateMode() const;
    /// The stored text as it stands, "size" when nothing is stored.
    QString quality() const;
    /// True when nothing is stored.
    bool autoCleanup() const;

    /// `now` only for exactly "now", `quality` only for exactly "quality".
    DateMode dateModeChoice() const;
    QualityMode qualityChoice() const;

    /// What a send is handed.
    ExportSettings exportSettings() const;

private:
    QString m_iniPath;
};

} // namespace pomelark
