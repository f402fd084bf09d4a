#pragma once

#include "support/ScopedEnv.h"

#include <QString>

namespace pomelark::test {

/// While it lives, every program the test starts (a real ffmpeg) reads the
/// file at `path` well for its first `goodBytes` bytes, then gets ENOTCONN
/// from every read of it, as from a card pulled mid-read. With a `gate`
/// folder, the reader first makes the file "reached" there and waits until the
/// test makes "pulled" (see read_fault.cpp).
class ReadFault {
public:
    ReadFault(const QString &path, qint64 goodBytes, const QString &gate = {});

private:
    ScopedEnv m_file;
    ScopedEnv m_goodBytes;
    ScopedEnv m_gate;
    ScopedEnv m_preload;
};

} // namespace pomelark::test
