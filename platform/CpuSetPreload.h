#pragma once

#include <QString>

#include <optional>

class QProcess;

namespace pomelark {

/// Keeps the threads of a program we start on the CPUs it inherits from us.
///
/// x265 moves every thread it starts onto all the CPUs of its NUMA node, out of
/// the set this process was given (NumaAffinity.cpp says how). Our executables
/// take that call away by defining the function themselves; a program we start,
/// such as ffmpeg, gets the same definition from a small library of ours that
/// the build puts beside our executables and that is preloaded into it.
class CpuSetPreload {
public:
    /// Makes `process` preload the library, after whatever LD_PRELOAD its
    /// environment already names. Call before start(). When the library is not
    /// found, or its path cannot be written into LD_PRELOAD, the process is left
    /// as it was (x265 in it may then use CPUs outside the set), and the first
    /// such call says so in the system log.
    static void keepThreadsInside(QProcess &process);

    /// The library beside the running executable, or in the private library
    /// folder of an installed app; nothing when neither holds it. Looked up once.
    static std::optional<QString> library();
};

} // namespace pomelark
