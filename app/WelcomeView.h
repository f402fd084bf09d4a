#pragma once

#include "look/FrameTicker.h"
#include "look/MascotPauser.h"

#include <QWidget>

#include <functional>

namespace pomelark {

class IconBtn;
class Paragraph;
class PomelarkButton;
class TuppoHop;

/// The first screen, and where every return to the start lands: the hopping
/// mascot, a two-line tagline, "Choose your photo folder" and a settings button
/// in the top-right corner. Holds no state; both buttons only call their action.
class WelcomeView : public QWidget {
    Q_OBJECT
public:
    struct Inputs {
        /// "Choose your photo folder".
        std::function<void()> onPick;
        /// The settings button.
        std::function<void()> onSettings;
    };

    explicit WelcomeView(Inputs inputs, QWidget *parent = nullptr, FrameTicker &ticker = FrameTicker::shared(),
                         MascotPauser &pauser = MascotPauser::shared());

    PomelarkButton *pickButton() const { return m_pick; }
    IconBtn *settingsButton() const { return m_settings; }
    Paragraph *tagline() const { return m_tagline; }
    TuppoHop *mascot() const { return m_mascot; }

    /// The widest the tagline is laid out: `taglineMaxWidth`, or the widest line
    /// of the tagline as written when `font` draws it wider, so the authored lines
    /// stay whole in any face. A longer translation wraps inside this width.
    static int taglineWidthLimit(const QFont &font);

    static constexpr int taglineMaxWidth = 320;
    static constexpr int settingsInset = 16;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    /// The tagline as written, before translation.
    static const char *taglineSource();

    Inputs m_inputs;
    TuppoHop *m_mascot = nullptr;
    Paragraph *m_tagline = nullptr;
    PomelarkButton *m_pick = nullptr;
    IconBtn *m_settings = nullptr;
};

} // namespace pomelark
