#pragma once

#include <QList>
#include <QString>

namespace pomelark {

/// One caption of the preparing screen. `text` is the English text, which is
/// also the key its translation is looked up by.
struct PreparingCaption {
    QString text;

    /// The text in the display language.
    QString translated() const;

    /// The 59 playful captions, in their fixed order, all distinct; made once.
    static const QList<PreparingCaption> &all();
    /// "Bringing your photos in": the first caption of every preparing screen.
    static const PreparingCaption &opening();
    /// "All set! Off to the workbench": shown during the finale.
    static const PreparingCaption &finale();

    friend bool operator==(const PreparingCaption &, const PreparingCaption &) = default;
};

} // namespace pomelark
