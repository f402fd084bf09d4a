#pragma once

#include <QByteArrayView>
#include <QtGlobal>

class QIODevice;

namespace pomelark {

struct JpegFootprint;

/// The application (APPn) and comment (COM) segments of a JPEG, counted by a
/// walk over its markers that keeps none of them and takes time linear in the
/// bytes it walks; and the one rule that refuses a JPEG of absurdly many
/// before any reader of it sees them.
///
/// libjpeg appends each segment it keeps to its list by walking the list from
/// its head, so a read that keeps them takes time that grows with the square
/// of their count: Qt's reader keeps the EXIF, APP2 and comment segments, our
/// decoder the APP2 ones, and Exiv2 joins some of its own. 100,000 empty
/// comments, half a megabyte, hold each read of a photo for half a minute.
/// Cameras and editors write a few hundred at most; Extended XMP, the most a
/// real file carries, splits its data into segments of some 65 KB, about 8200
/// of them in the largest file read (ImageSource::largestFileBytes).
class JpegSegments {
public:
    /// The most APPn and COM segments a JPEG may hold and be read. A grid
    /// thumbnail of a photo holding this many empty ones takes about a tenth
    /// of a second here; three times as many took two seconds.
    static constexpr qint64 mostRead = 10'000;

    /// How far into the file a reader keeps what it meets.
    enum class Extent {
        /// Up to the first scan, where the reads of a size or of metadata stop.
        header,
        /// To the end marker: a decode meets and keeps the segments between
        /// its scans, and after its last one.
        whole,
    };

    /// Whether the JPEG `content` holds more segments than are read within
    /// `extent`. False for content that does not begin as a JPEG does, and
    /// for what cannot be walked further (a damaged marker, the end of the
    /// bytes): the segments walked so far decide.
    static bool tooMany(QByteArrayView content, Extent extent);
    /// The same of what `device` gives from where it stands, which it is put
    /// back to. A read that fails ends the walk, as the end of the bytes does.
    static bool tooMany(QIODevice &device, Extent extent);
    /// The same of the file open at `fd`, from where it stands, which it is put
    /// back to; `fd` stays open.
    static bool tooMany(int fd, Extent extent);
    /// The same of the header `footprint` was read from.
    static bool tooMany(const JpegFootprint &footprint);
};

} // namespace pomelark
