#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <QVersionNumber>

#include <optional>

namespace pomelark {

/// The newest release as the update feed announces it.
///
/// The feed is one small JSON object, published wherever the maintainers like:
///
///     {"version": "1.2.0",
///      "url": "https://example.org/pomelark/releases/1.2.0",
///      "notes": "Faster thumbnails.\nKorean fixes."}
///
/// "version" is a dotted number (digits only, no suffix), "url" the release page
/// (http or https only: it is handed to the desktop to open), "notes" optional
/// plain text. Other members are ignored, so the feed can grow.
struct UpdateFeed {
    QVersionNumber version;
    QUrl releasePage;
    QString notes;

    /// The feed in `json`; nothing when it is not an object of that shape: no
    /// or malformed version, no release page or one that is not an absolute
    /// http(s) address, or notes that are not text.
    static std::optional<UpdateFeed> parse(const QByteArray &json);

    /// "1", "0.4.2", "2.10" and the like; nothing for anything else (empty
    /// parts, letters, suffixes such as "-beta", signs, white space).
    static std::optional<QVersionNumber> parseVersion(const QString &text);

    /// Whether `candidate` is a later release than `running`. Trailing zeros
    /// do not count: 1.2 and 1.2.0 are the same release.
    static bool isNewer(const QVersionNumber &candidate, const QVersionNumber &running);
};

} // namespace pomelark
