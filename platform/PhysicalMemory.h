#pragma once

#include <QtGlobal>

namespace pomelark {

/// The computer's physical memory in bytes, as the kernel counts it; 0 when it
/// cannot tell.
qint64 physicalMemoryBytes();

} // namespace pomelark
