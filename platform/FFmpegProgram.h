#pragma once

#include <QString>

#include <optional>

namespace pomelark {

/// Where the ffmpeg program lives on this machine.
class FFmpegProgram {
public:
    /// The executable named by $POMELARK_FFMPEG when set (a path, or a name looked
    /// up on PATH), else "ffmpeg" on PATH. None when nothing is found. A path in
    /// the variable is returned when the file exists, even if it cannot be run, so
    /// that the attempt to start it reports why.
    static std::optional<QString> find();
};

} // namespace pomelark
