#include "app/AppTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace pomelark {

bool AppTranslations::install(AppLanguage language, QObject &owner, const QString &folder)
{
    const QString code = language.code();

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
