#include "platform/SystemLog.h"

#include <QMutex>
#include <QMutexLocker>
#include <QRegularExpression>

#include <cstdio>
#include <syslog.h>

namespace pomelark {

namespace {

struct CaptureState {
    QMutex lock;
    bool active = false;
    QStringList lines;
};

CaptureState &captureState()
{
    static CaptureState state;
    return state;
}

} // namespace

void SystemLog::write(const QString &text)
{
    // Text holding line breaks (an ffmpeg log) would read as several entries,
    // the later ones with no origin.
    static const QRegularExpression lineBreaks(QStringLiteral("\\s*[\\r\\n]+\\s*"));
    const QString line = QString(text).replace(lineBreaks, QStringLiteral(" | "));
    {
        CaptureState &state = captureState();
        QMutexLocker guard(&state.lock);
        if (state.active) {
            state.lines.append(line);
            return;
        }
    }
    const QByteArray bytes = line.toUtf8();
    ::syslog(LOG_NOTICE, "%s", bytes.constData());
    std::fprintf(stderr, "%s\n", bytes.constData());
}

SystemLog::Capture::Capture()
{
    CaptureState &state = captureState();
    QMutexLocker guard(&state.lock);
    state.active = true;
    state.lines.clear();
}

SystemLog::Capture::~Capture()
{
    CaptureState &state = captureState();
    QMutexLocker guard(&state.lock);
    state.active = false;
    state.lines.clear();
}

QStringList SystemLog::Capture::lines() const
{
    CaptureState &state = captureState();
    QMutexLocker guard(&state.lock);
    return state.lines;
}

} // namespace pomelark
