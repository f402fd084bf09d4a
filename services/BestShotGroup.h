#pragma once

#include "services/MediaItem.h"

#include <QList>
#include <QUuid>

#include <optional>

namespace pomelark {

/// Near-duplicate photos (a burst, several takes of one scene) and the shot whose
/// faces look best. Only `keep` changes after creation: the user's choice of what
/// stays in the send.
struct BestShotGroup {
    /// A new random id; `keep` is true only at `bestIndex`, or everywhere when there is none.
    BestShotGroup(MediaItems items, std::optional<int> bestIndex);

    QUuid id;
    MediaItems items;              ///< at least two, in ascending file-name order
    std::optional<int> bestIndex;  ///< absent when no photo has a face with a quality score
    QList<bool> keep;              ///< one per item; false means left out of the send
};

} // namespace pomelark
