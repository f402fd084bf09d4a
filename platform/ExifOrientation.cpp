#include "platform/ExifOrientation.h"

#include "platform/FileDescriptor.h"
#include "platform/JpegSegments.h"

#include <exiv2/exiv2.hpp>

#include <string>

namespace pomelark {

std::optional<int> exifOrientation(const QString &path)
{
    // Through our own open, which does not block and takes only a regular
    // file, its header walked first: Exiv2 opens a path as it is, and reads
    // every segment it meets.
    const FileDescriptor descriptor = FileDescriptor::openToRead(path);
    if (!descriptor.isRegularFile() || JpegSegments::tooMany(descriptor.get(), JpegSegments::Extent::header))
        return std::nullopt;
    try {
        auto image = Exiv2::ImageFactory::open("/proc/self/fd/" + std::to_string(descriptor.get()));
        if (!image.get())
            return std::nullopt;
        image->readMetadata();
        const Exiv2::ExifData &exif = image->exifData();
        const auto tag = exif.findKey(Exiv2::ExifKey("Exif.Image.Orientation"));
        if (tag == exif.end() || tag->count() == 0)
            return std::nullopt;
        switch (tag->typeId()) {
        case Exiv2::unsignedShort:
        case Exiv2::unsignedLong:
        case Exiv2::signedShort:
        case Exiv2::signedLong:
        case Exiv2::unsignedByte:
        case Exiv2::signedByte:
            return int(tag->toLong());
        default:
            return std::nullopt;   // a value of another kind is not an orientation
        }
    } catch (const std::exception &) {
        return std::nullopt;
    }
}

} // namespace pomelark
