#include "platform/JpegSegments.h"

#include "platform/JpegFootprint.h"

#include <QByteArray>
#include <QFile>

#include <algorithm>
#include <cstring>

namespace pomelark {

namespace {

bool overTheLimit(qint64 count)
{
    return count > JpegSegments::mostRead;
}

/// A walk over a JPEG's markers as libjpeg makes it, fed the file's bytes a
/// run at a time. Between segments, and in a scan's data, it looks for the next
/// marker as libjpeg does: past any other bytes, fill bytes and stuffed zeros.
/// A segment is stepped over by its length, unread.
class MarkerWalk {
public:
    explicit MarkerWalk(JpegSegments::Extent extent) : m_extent(extent) {}

    /// Walks `bytes`, which follow those walked before.
    void walk(QByteArrayView bytes)
    {
        const char *at = bytes.data();
        const char *const end = at + bytes.size();
        while (at < end && m_state != State::over) {
            switch (m_state) {
            case State::start:
                // As libjpeg wants it: the start marker first, nothing before it.
                m_state = uchar(*at++) == 0xff ? State::startCode : State::over;
                break;
            case State::startCode:
                m_state = uchar(*at++) == 0xd8 ? State::seeking : State::over;
                break;
            case State::seeking: {
                const void *marker = std::memchr(at, 0xff, size_t(end - at));
                at = marker ? static_cast<const char *>(marker) + 1 : end;
                if (marker)
                    m_state = State::code;
                break;
            }
            case State::code:
                m_state = afterCode(uchar(*at++));
                break;
            case State::lengthHigh:
                m_length = uchar(*at++) << 8;
                m_state = State::lengthLow;
                break;
            case State::lengthLow:
                // A length too short for itself holds nothing, as libjpeg takes it.
                m_left = std::max((m_length | uchar(*at++)) - 2, 0);
                m_state = m_left > 0 ? State::skipping : State::seeking;
                break;
            case State::skipping: {
                const qint64 step = std::min<qint64>(m_left, end - at);
                at += step;
                m_left -= step;
                if (m_left == 0)
                    m_state = State::seeking;
                break;
            }
            case State::over:
                break;
            }
        }
    }

    /// Whether nothing that follows can change the count that matters.
    bool isOver() const { return m_state == State::over; }
    bool tooMany() const { return overTheLimit(m_segments); }

private:
    enum class State { start, startCode, seeking, code, lengthHigh, lengthLow, skipping, over };

    State afterCode(uchar code)
    {
        constexpr uchar fill = 0xff, stuffedZero = 0x00, temporary = 0x01, firstRestart = 0xd0, lastRestart = 0xd7,
                        startOfImage = 0xd8, endOfImage = 0xd9, startOfScan = 0xda, firstApplication = 0xe0,
                        lastApplication = 0xef, comment = 0xfe;
        if (code == fill)
            return State::code;
        // In a scan's data, or markers that stand alone.
        if (code == stuffedZero || code == temporary || (code >= firstRestart && code <= lastRestart))
            return State::seeking;
        // libjpeg ends at the end marker, and fails at a second start.
        if (code == endOfImage || code == startOfImage)
            return State::over;
        if (code == startOfScan && m_extent == JpegSegments::Extent::header)
            return State::over;
        if ((code >= firstApplication && code <= lastApplication) || code == comment) {
            ++m_segments;
            if (overTheLimit(m_segments))
                return State::over;
        }
        return State::lengthHigh;
    }

    const JpegSegments::Extent m_extent;
    State m_state = State::start;
    int m_length = 0;
    qint64 m_left = 0;
    qint64 m_segments = 0;
};

} // namespace

bool JpegSegments::tooMany(QByteArrayView content, Extent extent)
{
    MarkerWalk walk(extent);
    walk.walk(content);
    return walk.tooMany();
}

bool JpegSegments::tooMany(QIODevice &device, Extent extent)
{
    const qint64 start = device.pos();
    MarkerWalk walk(extent);
    QByteArray run(256 * 1024, Qt::Uninitialized);
    while (!walk.isOver()) {
        const qint64 read = device.read(run.data(), run.size());
        if (read <= 0)
            break;
        walk.walk(QByteArrayView(run.constData(), read));
    }
    device.seek(start);
    return walk.tooMany();
}

bool JpegSegments::tooMany(int fd, Extent extent)
{
    QFile file;
    return file.open(fd, QIODevice::ReadOnly, QFileDevice::DontCloseHandle) && tooMany(file, extent);
}

bool JpegSegments::tooMany(const JpegFootprint &footprint)
{
    qint64 segments = footprint.comments.count;
    for (const JpegFootprint::Segments &application : footprint.applicationSegments)
        segments += application.count;
    return overTheLimit(segments);
}

} // namespace pomelark
