#pragma once

#include <exception>

namespace pomelark {

/// Why a video's poster could not be had, besides ffmpeg's own failures. No user text.
class ThumbnailError : public std::exception {
public:
    enum class Kind {
        decodeFailed,   ///< the poster ffmpeg wrote does not decode as an image
        fileUnreadable, ///< the video's attributes (its modification time) cannot be read
    };

    explicit ThumbnailError(Kind kind) : m_kind(kind) {}
    Kind kind() const { return m_kind; }
    const char *what() const noexcept override
    {
        return m_kind == Kind::decodeFailed ? "poster does not decode" : "video file unreadable";
    }

private:
    Kind m_kind;
};

} // namespace pomelark
