#pragma once

#include <QString>

#include <optional>

namespace pomelark {

/// Names the disk-cache files made from a video (posters, playable copies).
class CacheKey {
public:
    /// 64 lower-case hex characters: SHA-256 of the path as given, "|", and the
    /// file's modification time in seconds since 1970 (roundTripText). A touched
    /// or moved file gets a new key. None when the file's attributes cannot be read.
    static std::optional<QString> of(const QString &path);

    /// The shortest decimal text that reads back as the same double, always with
    /// a fractional part: 83.45, 12.0, 0.0.
    static QString roundTripText(double value);

    /// A whole text that is one finite decimal number, without surrounding blanks
    /// or anything after it; none otherwise.
    static std::optional<double> parseDecimal(const QString &text);
};

} // namespace pomelark
