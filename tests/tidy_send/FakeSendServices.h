#pragma once

#include "services/ConvertService.h"
#include "services/PhotosService.h"

#include <QFile>
#include <QObject>

#include <qcoro/qcorosignal.h>

namespace pomelark::test {

/// Holds back whoever waits on it until the test lets one through.
class Gate : public QObject {
    Q_OBJECT
public:
    int waiting = 0;

    QCoro::Task<void> pass()
    {
        ++waiting;
        co_await qCoro(this, &Gate::opened);
        --waiting;
    }
    void open() { Q_EMIT opened(); }

Q_SIGNALS:
    void opened();
};

/// Writes a small stand-in file for every conversion.
class StandInConverter : public ConvertService {
public:
    QCoro::Task<void> convertPhoto(QUrl, QUrl destination, bool, std::optional<QDateTime>, int) override
    {
        write(destination);
        co_return;
    }
    QCoro::Task<std::optional<QDateTime>> convertPhotoWithOwnDate(QUrl, QUrl destination, bool, int) override
    {
        write(destination);
        co_return std::nullopt;
    }
    QCoro::Task<void> convertVideo(QUrl, QUrl destination, bool, std::optional<QDateTime>) override
    {
        write(destination);
        co_return;
    }

private:
    static void write(const QUrl &destination)
    {
        QFile file(destination.toLocalFile());
        if (!file.open(QIODevice::WriteOnly))
            throw ConvertError(ConvertError::Kind::destinationFailed);
        file.write("converted");
    }
};

/// An authorised library whose every add waits at the gate.
class GatedPhotos : public PhotosService {
public:
    AuthorizationStatus authorizationStatus() const override { return AuthorizationStatus::authorized; }
    QCoro::Task<AuthorizationStatus> requestAuthorization() override { co_return AuthorizationStatus::authorized; }
    QCoro::Task<void> addToLibrary(QUrl, bool, std::optional<QDateTime>, QString) override
    {
        co_await gate.pass();
    }

    Gate gate;
};

} // namespace pomelark::test
