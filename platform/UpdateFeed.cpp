#include "platform/UpdateFeed.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

namespace pomelark {

std::optional<UpdateFeed> UpdateFeed::parse(const QByteArray &json)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject object = document.object();

    const QJsonValue version = object.value(QLatin1String("version"));
    const QJsonValue url = object.value(QLatin1String("url"));
    const QJsonValue notes = object.value(QLatin1String("notes"));
    if (!version.isString() || !url.isString() || !(notes.isUndefined() || notes.isNull() || notes.isString()))
        return std::nullopt;

    UpdateFeed feed;
    const std::optional<QVersionNumber> parsed = parseVersion(version.toString());
    if (!parsed)
        return std::nullopt;
    feed.version = *parsed;

    // The page goes to the desktop's URL opener: a feed must not be able to make
    // it run a local file or some other scheme handler.
    feed.releasePage = QUrl(url.toString(), QUrl::StrictMode);
    const QString scheme = feed.releasePage.scheme();
    if (!feed.releasePage.isValid() || feed.releasePage.host().isEmpty()
        || (scheme != QLatin1String("https") && scheme != QLatin1String("http")))
        return std::nullopt;

    feed.notes = notes.toString();
    return feed;
}

std::optional<QVersionNumber> UpdateFeed::parseVersion(const QString &text)
{
    static const QRegularExpression dotted(QStringLiteral("^[0-9]{1,9}(\\.[0-9]{1,9})*$"));
    if (!dotted.match(text).hasMatch())
        return std::nullopt;
    return QVersionNumber::fromString(text);
}

bool UpdateFeed::isNewer(const QVersionNumber &candidate, const QVersionNumber &running)
{
    return QVersionNumber::compare(candidate.normalized(), running.normalized()) > 0;
}

} // namespace pomelark
