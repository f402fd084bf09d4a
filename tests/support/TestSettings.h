#pragma once

#include "support/TempFolder.h"

#include <QCoreApplication>
#include <QSettings>

namespace pomelark::test {

/// Points the application's settings (user and system scope) at a fresh
/// temporary folder for as long as it lives, so no test reads or writes the
/// user's real settings.
class TestSettings {
public:
    TestSettings()
    {
        QCoreApplication::setOrganizationName(QStringLiteral("PomelarkTest"));
        QCoreApplication::setApplicationName(QStringLiteral("Tests"));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_user.path());
        QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope, m_system.path());
    }

    QVariant value(const QString &key) const { return QSettings().value(key); }
    bool contains(const QString &key) const { return QSettings().contains(key); }
    void setValue(const QString &key, const QVariant &value) { QSettings().setValue(key, value); }

private:
    TempFolder m_user;
    TempFolder m_system;
};

} // namespace pomelark::test
