#include "services/VideoConverter.h"

#include "services/FFmpegRunner.h"

namespace pomelark {

namespace {

/// Converts through the app's ffmpeg runner. A failed run throws FFmpegError,
/// whose what() is the description the user sees.
class RunnerVideoConverter : public VideoConverter {
public:
    QCoro::Task<QString> convertToHEVC(QUrl input, QUrl output, QString bitrate,
                                       std::optional<QString> creationTime) override
    {
        co_return co_await FFmpegRunner::shared().convertToHEVC(input.toLocalFile(), output.toLocalFile(), bitrate,
                                                               creationTime);
    }
};

} // namespace

VideoConverter &defaultVideoConverter()
{
    static RunnerVideoConverter converter;
    return converter;
}

} // namespace pomelark
