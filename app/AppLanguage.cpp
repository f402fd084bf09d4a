#include "app/AppLanguage.h"

#include <QCoreApplication>
#include <QLocale>

namespace pomelark {

QString AppLanguage::code() const
{
    return m_code == ko ? QStringLiteral("ko") : QStringLiteral("en");
}

QString AppLanguage::pickerLabel() const
{
    // Each language is named in itself, whatever language the window shows.
    return m_code == ko ? QCoreApplication::translate("AppLanguage", "한국어")
                        : QCoreApplication::translate("AppLanguage", "English");
}

QLocale AppLanguage::locale(const QLocale &system) const
{
    const QLocale::Language language = m_code == ko ? QLocale::Korean : QLocale::English;
    return system.language() == language ? system : QLocale(language);
}

std::optional<AppLanguage> AppLanguage::fromCode(const QString &code)
{
    if (code == QLatin1String("en"))
        return AppLanguage(en);
    if (code == QLatin1String("ko"))
        return AppLanguage(ko);
    return std::nullopt;
}

QStringList AppLanguage::systemPreferredLanguages()
{
    return QLocale::system().uiLanguages();
}

AppLanguage AppLanguage::systemDefault(const QStringList &preferredLanguages)
{
    const QString first = preferredLanguages.isEmpty() ? QStringLiteral("en") : preferredLanguages.first();
    return first.toLower().startsWith(QLatin1String("ko")) ? AppLanguage(ko) : AppLanguage(en);
}

AppLanguage AppLanguage::current(const QSettings &settings, const QStringList &preferredLanguages)
{
    const QVariant stored = settings.value(QLatin1String(settingsKey));
    if (const std::optional<AppLanguage> language = fromCode(stored.toString()))
        return *language;
    return systemDefault(preferredLanguages);
}

void AppLanguage::store(AppLanguage language, QSettings &settings)
{
    settings.setValue(QLatin1String(settingsKey), language.code());
    settings.setValue(QLatin1String(preferredLanguagesKey), QStringList{language.code()});
}

AppLanguage AppLanguage::atLaunch(const QSettings &settings, const QStringList &preferredLanguages)
{
    const QStringList stored = settings.value(QLatin1String(preferredLanguagesKey)).toStringList();
    if (!stored.isEmpty()) {
        if (const std::optional<AppLanguage> language = fromCode(stored.first()))
            return *language;
    }
    return current(settings, preferredLanguages);
}

void AppLanguage::applyDefaultIfNeeded(QSettings &settings, const QStringList &preferredLanguages)
{
    if (settings.contains(QLatin1String(settingsKey)))
        return;
    store(systemDefault(preferredLanguages), settings);
}

} // namespace pomelark
