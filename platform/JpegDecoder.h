#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>

#include <stdexcept>
#include <stop_token>

namespace pomelark {

/// Decodes a whole JPEG through libjpeg itself, for when every pixel must be
/// the file's own. Qt's reader keeps libjpeg's warnings to its log and fills
/// what it could not read with grey; here a file whose data ends before its
/// picture does (a card pulled during the read, a copy cut short) or is damaged
/// is an error. A picture decoded whole from its data is whole even when what
/// should follow it is missing or padded: cameras and editors write files
/// without their end marker, or with zeros before it. Zeros the picture needed
/// stood in for data never written (an error) unless it needed every bit of
/// them, as of data an encoder ended in zero bytes; so do any zeros that an
/// arithmetic-coded picture read, or that one in several sequential scans
/// needed: there, nothing tells padding or data from loss. An arithmetic
/// decoder that meets the end marker before the end of its scan takes zeros
/// for the rest without a word, as a whole picture's encoder meant for its
/// flat end: the picture is whole only where that rest decodes to one colour,
/// or, in several scans, where its scans are complete.
class JpegDecoder {
public:
    /// The picture's data ends early (in zeros too), is damaged, or cannot be
    /// decoded at all.
    /// The text is libjpeg's.
    class Damaged : public std::runtime_error {
    public:
        using std::runtime_error::runtime_error;
    };

    /// Whether `content` begins as a JPEG does.
    static bool isJpeg(QByteArrayView content);

    /// The picture `content` holds (a JPEG file's whole content), at its stored
    /// size, its orientation not applied: RGB32 for colour (CMYK read as Adobe's
    /// inverted CMYK, as Qt reads it) or Grayscale8 for grey, with the colour
    /// space of its embedded ICC profile. Throws Damaged, also when the file is
    /// too small to hold the picture its header claims. A null image when
    /// decoding would take more than `allocationLimitMB` megabytes, counting
    /// the decoder's own buffers (a picture in several scans has its every
    /// coefficient held) with the pixels; that is known before it starts.
    /// Throws WorkStopped once `stop` is requested, between rows.
    static QImage decode(const QByteArray &content, int allocationLimitMB, std::stop_token stop = {});
};

} // namespace pomelark
