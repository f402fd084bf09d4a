#include "app/AppTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace pomelark {

namespace {

/// Qt's default locale for as long as the owner lives.
class DefaultLocale : public QObject {
public:
    DefaultLocale(const QLocale &locale, QObject &owner) : QObject(&owner), m_before(QLocale())
    {
        QLocale::setDefault(locale);
    }
    ~DefaultLocale() override { QLocale::setDefault(m_before); }

private:
    QLocale m_before;
};

} // namespace

bool AppTranslations::install(AppLanguage language, QObject &owner, const QString &folder)
{
    const QString code = language.code();
    new DefaultLocale(language.locale(), owner);

    // Qt's catalogue is an optional system package; without it only Qt's own
    // dialog texts stay English. English needs none.
    if (language != AppLanguage::en) {
        auto *qtCatalogue = new QTranslator(&owner);
        if (qtCatalogue->load(QStringLiteral("qtbase_") + code, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QCoreApplication::installTranslator(qtCatalogue);
        else
            delete qtCatalogue;
    }

    auto *ours = new QTranslator(&owner);
    if (!ours->load(QStringLiteral("pomelark_") + code, folder) || !QCoreApplication::installTranslator(ours)) {
        delete ours;
        return false;
    }
    return true;
}

} // namespace pomelark
