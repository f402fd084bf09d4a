#include "app/SessionServices.h"

#include "services/BestShotService.h"
#include "services/CacheJanitor.h"
#include "services/ExportCoordinator.h"
#include "services/ImportService.h"
#include "services/OrientationService.h"
#include "services/ThumbnailService.h"
#include "services/ValidationService.h"

namespace pomelark {

SessionServices SessionServices::standard()
{
    SessionServices services;
    services.findCardFolder = [] { return ImportService().findCardFolder(); };
    services.resetWorkingFolders = [] { return CacheJanitor::shared().resetForNewSession(); };
    services.validate = [](QUrl folder, std::function<bool()> isStillPresent, PullSigns signs) {
        return ValidationService::shared().validate(std::move(folder), std::move(isStillPresent), signs);
    };
    services.preparePosters = [](MediaItems videos) {
        return ThumbnailService::shared().prewarm(std::move(videos), [](int, int) {});
    };
    services.analyzeOrientation = [](MediaItems photos, AnalysisProgress progress) {
        return OrientationService::shared().analyze(std::move(photos), std::move(progress));
    };
    services.findBestShotGroups = [](MediaItems photos, AnalysisProgress progress) {
        return BestShotService::shared().findGroups(std::move(photos), std::move(progress));
    };
    services.exportItems = [](ExportCoordinator &coordinator, MediaItems items, ExportSettings settings,
                              QHash<QUuid, int> rotations, std::function<bool()> isCardMissing) {
        return coordinator.exportItems(std::move(items), settings, std::move(rotations), std::move(isCardMissing));
    };
    return services;
}

} // namespace pomelark
