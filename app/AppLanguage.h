#pragma once

#include <QLocale>
#include <QSettings>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <optional>

namespace pomelark {

/// The display languages. The one a process shows is decided once, at start,
/// from "settings.language"; a change applies from the next start.
class AppLanguage {
public:
    enum Code : std::uint8_t { en, ko };

    constexpr AppLanguage(Code code) : m_code(code) {}

    /// Every language, in the order of the settings picker.
    static constexpr std::array<Code, 2> allCases{en, ko};

    /// "en" or "ko".
    QString code() const;
    /// The picker's label, translated ("English", "한국어").
    QString pickerLabel() const;

    /// The locale that dates and numbers follow in this language: the system's
    /// own when it speaks it (so an en_GB desktop keeps its day-month order),
    /// else the language's main one (en_US, ko_KR).
    QLocale locale(const QLocale &system = QLocale::system()) const;

    /// The language of exactly "en" or "ko"; nothing for any other text (also "EN" or "ko-KR").
    static std::optional<AppLanguage> fromCode(const QString &code);

    /// The language the user's desktop prefers: Korean when the first preferred
    /// language begins with "ko" (any case), English otherwise and for an empty list.
    static AppLanguage systemDefault(const QStringList &preferredLanguages = systemPreferredLanguages());
    /// The desktop's preferred languages, most preferred first (LANGUAGE, then
    /// LC_ALL, LC_MESSAGES, LANG, as Qt reads them).
    static QStringList systemPreferredLanguages();

    /// The stored language; the system default when none or an unknown one is stored.
    static AppLanguage current(const QSettings &settings,
                               const QStringList &preferredLanguages = systemPreferredLanguages());
    /// Stores `language` as the one the next start uses: the chosen language
    /// and the program's own preferred-languages list holding only its code.
    /// Never fails visibly.
    static void store(AppLanguage language, QSettings &settings);
    /// The language a starting process shows: the first entry of the stored
    /// preferred-languages list when it is "en" or "ko", else `current`.
    static AppLanguage atLaunch(const QSettings &settings,
                                const QStringList &preferredLanguages = systemPreferredLanguages());
    /// At first launch (nothing stored) stores the system default; otherwise
    /// leaves the stored text alone, even one it does not know.
    static void applyDefaultIfNeeded(QSettings &settings,
                                     const QStringList &preferredLanguages = systemPreferredLanguages());

    static constexpr const char *settingsKey = "settings.language";
    static constexpr const char *preferredLanguagesKey = "AppleLanguages";

    friend constexpr bool operator==(AppLanguage a, AppLanguage b) { return a.m_code == b.m_code; }

private:
    Code m_code;
};

} // namespace pomelark
