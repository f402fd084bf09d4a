#pragma once

#include <QString>

#include <cstdint>
#include <optional>

namespace pomelark {

/// How sent items are dated.
enum class DateMode : std::uint8_t {
    keep, ///< each item keeps its capture date
    now,  ///< each item is dated with the moment it is handled
};

/// How hard sent items are compressed.
enum class QualityMode : std::uint8_t {
    size,    ///< smaller photos, videos at 800 kbit/s
    quality, ///< visually lossless photos, videos at 2 Mbit/s
};

/// The user's choices for one send, passed by value.
struct ExportSettings {
    DateMode dateMode = DateMode::keep;
    QualityMode quality = QualityMode::quality;
    bool autoCleanup = true;

    friend bool operator==(const ExportSettings &, const ExportSettings &) = default;
};

/// The stored texts of the settings: "keep" and "now", "size" and "quality".
QString rawText(DateMode mode);
QString rawText(QualityMode mode);
/// Nothing for any text but the stored ones.
std::optional<DateMode> dateModeFromText(const QString &text);
std::optional<QualityMode> qualityModeFromText(const QString &text);

} // namespace pomelark
