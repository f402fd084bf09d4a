#include "services/VideoConverter.h"

#include <stdexcept>

namespace pomelark {

namespace {

/// Stands in until the ffmpeg runner is connected here: every video fails
/// with a plain reason instead of being reported as sent.
class UnavailableVideoConverter : public VideoConverter {
public:
    QCoro::Task<QString> convertToHEVC(QUrl, QUrl, QString, std::optional<QString>) override
    {
        throw std::runtime_error("Video conversion is not available.");
        co_return QString();
    }
};

} // namespace

VideoConverter &defaultVideoConverter()
{
    static UnavailableVideoConverter converter;
    return converter;
}

} // namespace pomelark
