#include "app/SessionDefaults.h"

#include <QSettings>

#include <memory>

namespace pomelark {

namespace {

std::unique_ptr<QSettings> openStore(const QString &iniPath)
{
    if (iniPath.isEmpty())
        return std::make_unique<QSettings>();
    return std::make_unique<QSettings>(iniPath, QSettings::IniFormat);
}

} // namespace

SessionDefaults::SessionDefaults(QString iniPath) : m_iniPath(std::move(iniPath)) {}

QString SessionDefaults::dateMode() const
{
    return openStore(m_iniPath)->value(dateModeKey, QStringLiteral("keep")).toString();
}

QString SessionDefaults::quality() const
{
    return openStore(m_iniPath)->value(qualityKey, QStringLiteral("size")).toString();
}

bool SessionDefaults::autoCleanup() const
{
    return openStore(m_iniPath)->value(autoCleanupKey, true).toBool();
}

DateMode SessionDefaults::dateModeChoice() const
{
    return dateMode() == QLatin1String("now") ? DateMode::now : DateMode::keep;
}

QualityMode SessionDefaults::qualityChoice() const
{
    return quality() == QLatin1String("quality") ? QualityMode::quality : QualityMode::size;
}

ExportSettings SessionDefaults::exportSettings() const
{
    return {dateModeChoice(), qualityChoice(), autoCleanup()};
}

} // namespace pomelark
