#pragma once

#include <QPointer>
#include <QProcess>

namespace pomelark {

/// Lets the owner of an ffmpeg run end it early. Main thread only.
///
/// Hand one to FFmpegRunner; `stop()` kills the run's process if it is running,
/// and a run that has not started yet is not started at all. Either way the run
/// fails with FFmpegError::nonZeroExit carrying the kill signal's number.
class FFmpegStopper {
public:
    void stop();
    bool isStopped() const { return m_stopped; }

private:
    friend class FFmpegRunner;
    void attach(QProcess *process);
    void detach() { m_process.clear(); }

    QPointer<QProcess> m_process;
    bool m_stopped = false;
};

} // namespace pomelark
