#include "platform/SerialExecutor.h"

namespace pomelark::detail {

QObject *resumeContext()
{
    // One per awaiting thread (in practice the main thread), kept for the life of the process.
    static thread_local QObject *context = new QObject;
    return context;
}

} // namespace pomelark::detail
