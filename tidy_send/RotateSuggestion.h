#pragma once

#include "services/MediaItem.h"

#include <QList>
#include <QUuid>

namespace pomelark {

/// A photo the sideways scan wants to stand up. Only `accepted` changes after
/// the main view makes it: the user's yes or no to the turn.
struct RotateSuggestion {
    QUuid id;
    MediaItem item;
    int degrees = 0;       ///< clockwise: 90, 180 or 270
    bool accepted = true;

    friend bool operator==(const RotateSuggestion &, const RotateSuggestion &) = default;
};

using RotateSuggestions = QList<RotateSuggestion>;

} // namespace pomelark
