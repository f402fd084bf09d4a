#pragma once

#include "look/Binding.h"

#include <QMessageBox>
#include <QPointer>
#include <QWidget>

#include <functional>

namespace pomelark {

class SegmentedControl;

/// The settings: display language, the date and quality of converted items,
/// and the two safety rules that are always on. Every choice is stored the
/// moment it is clicked; there is no save step. Picking another language
/// offers to restart, since the language is read only at start.
class SettingsScreen : public QWidget {
    Q_OBJECT
public:
    struct Inputs {
        /// Back to the screen the settings were opened from.
        std::function<void()> onBack;
        /// "keep" or "now"; stored under "settings.dateMode".
        Binding<QString> dateMode = storedDateMode();
        /// "size" or "quality"; stored under "settings.quality".
        Binding<QString> quality = storedQuality();
        /// "en" or "ko"; stored under "settings.language".
        Binding<QString> appLanguage = storedAppLanguage();
        /// "Restart now": a new instance of the program, then this one quits.
        std::function<void()> relaunchApp = defaultRelaunch();
    };

    explicit SettingsScreen(Inputs inputs, QWidget *parent = nullptr);

    /// Reads every binding again.
    void refresh();

    /// Whether the restart offer is showing.
    bool pendingRestart() const { return m_pendingRestart; }
    /// The restart offer while it shows, else none.
    QMessageBox *restartAlert() const { return m_restartAlert; }

    SegmentedControl *languagePicker() const { return m_language; }
    SegmentedControl *dateModePicker() const { return m_dateMode; }
    SegmentedControl *qualityPicker() const { return m_quality; }
    /// The centred column holding the cards.
    QWidget *cardColumn() const { return m_column; }

    /// Stores a known language code picked on the screen and offers the
    /// restart; any other text is ignored.
    void languageChanged(const QString &code);

    static Binding<QString> storedDateMode();
    static Binding<QString> storedQuality();
    static Binding<QString> storedAppLanguage();
    static std::function<void()> defaultRelaunch();

    static constexpr int columnWidth = 540;

private:
    QWidget *makeHeader();
    QWidget *makeBody();
    void showRestartAlert();

    Inputs m_inputs;
    bool m_pendingRestart = false;
    QPointer<QMessageBox> m_restartAlert;
    SegmentedControl *m_language = nullptr;
    SegmentedControl *m_dateMode = nullptr;
    SegmentedControl *m_quality = nullptr;
    QWidget *m_column = nullptr;
};

} // namespace pomelark
