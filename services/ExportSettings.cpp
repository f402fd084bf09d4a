#include "services/ExportSettings.h"

namespace pomelark {

QString rawText(DateMode mode)
{
    return mode == DateMode::now ? QStringLiteral("now") : QStringLiteral("keep");
}

QString rawText(QualityMode mode)
{
    return mode == QualityMode::size ? QStringLiteral("size") : QStringLiteral("quality");
}

std::optional<DateMode> dateModeFromText(const QString &text)
{
    for (DateMode mode : {DateMode::keep, DateMode::now})
        if (text == rawText(mode))
            return mode;
    return std::nullopt;
}

std::optional<QualityMode> qualityModeFromText(const QString &text)
{
    for (QualityMode mode : {QualityMode::size, QualityMode::quality})
        if (text == rawText(mode))
            return mode;
    return std::nullopt;
}

} // namespace pomelark
