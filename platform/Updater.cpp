#include "platform/Updater.h"

#include "platform/SystemLog.h"

#include <QCoreApplication>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QScopeGuard>
#include <QSettings>

#include <qcoro/qcorosignal.h>

namespace pomelark {

Updater::Updater(QUrl feed, QVersionNumber running, QObject *parent)
    : QObject(parent), m_feed(std::move(feed)), m_running(std::move(running)), m_feedUsable(isUsableFeed(m_feed))
{
}

Updater::~Updater()
{
    // The reply would report its end to a coroutine whose object is half gone.
    if (m_reply) {
        m_reply->disconnect();
        delete m_reply.data();
    }
}

QUrl Updater::configuredFeed()
{
    const QString fromEnvironment = qEnvironmentVariable("POMELARK_UPDATE_FEED").trimmed();
    if (!fromEnvironment.isEmpty())
        return QUrl::fromUserInput(fromEnvironment);
    // A user-scope QSettings falls back to the system-wide file on its own.
    const QString fromSettings = QSettings().value(QStringLiteral("updates/feedURL")).toString().trimmed();
    if (fromSettings.isEmpty())
        return {};
    return QUrl::fromUserInput(fromSettings);
}

bool Updater::isUsableFeed(const QUrl &url)
{
    if (!url.isValid() || url.isRelative())
        return false;
    const QString scheme = url.scheme();
    if (scheme == QLatin1String("file"))
        return !url.toLocalFile().isEmpty();
    return (scheme == QLatin1String("https") || scheme == QLatin1String("http")) && !url.host().isEmpty();
}

void Updater::setChecking(bool checking)
{
    const bool before = canCheckForUpdates();
    m_checking = checking;
    if (canCheckForUpdates() != before)
        Q_EMIT canCheckForUpdatesChanged(canCheckForUpdates());
}

QCoro::Task<Updater::CheckResult> Updater::checkForUpdates()
{
    if (!canCheckForUpdates())
        co_return CheckResult{};
    setChecking(true);
    // Clears the running flag however the check ends.
    const auto checkingEnds = qScopeGuard([this] { setChecking(false); });

    QNetworkRequest request(m_feed);
    request.setTransferTimeout(int(m_timeout.count()));
    request.setHeader(QNetworkRequest::UserAgentHeader,
                      QStringLiteral("Pomelark/%1").arg(m_running.toString()));
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    QNetworkReply *reply = m_network.get(request);
    m_reply = reply;

    // A feed is a few hundred bytes; a server that sends more is not serving one.
    bool tooLarge = false;
    connect(reply, &QNetworkReply::downloadProgress, reply, [&tooLarge, reply](qint64 received, qint64) {
        if (received > maximumFeedBytes && !tooLarge) {
            tooLarge = true;
            reply->abort();
        }
    });
    if (!reply->isFinished())
        co_await qCoro(reply, &QNetworkReply::finished);

    CheckResult result;
    if (tooLarge) {
        result.kind = CheckResult::Kind::unreachable;
        result.error = QStringLiteral("The answer is too large to be an update feed.");
    } else if (reply->error() != QNetworkReply::NoError) {
        result.kind = CheckResult::Kind::unreachable;
        result.error = reply->errorString();
    } else if (const std::optional<UpdateFeed> feed = UpdateFeed::parse(reply->readAll())) {
        result.feed = *feed;
        result.kind = UpdateFeed::isNewer(feed->version, m_running) ? CheckResult::Kind::updateAvailable
                                                                    : CheckResult::Kind::upToDate;
    } else {
        result.kind = CheckResult::Kind::unreadable;
    }
    reply->deleteLater();
    if (result.kind == CheckResult::Kind::unreachable || result.kind == CheckResult::Kind::unreadable)
        SystemLog::write(QStringLiteral("[Updater] check of ") + m_feed.toString() + QStringLiteral(" failed: ")
                         + (result.error.isEmpty() ? QStringLiteral("not a feed") : result.error));
    co_return result;
}

} // namespace pomelark
