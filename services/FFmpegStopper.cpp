#include "services/FFmpegStopper.h"

namespace pomelark {

void FFmpegStopper::stop()
{
    m_stopped = true;
    if (m_process)
        m_process->kill();
}

void FFmpegStopper::attach(QProcess *process)
{
    m_process = process;
    if (m_stopped)
        process->kill();
}

} // namespace pomelark
