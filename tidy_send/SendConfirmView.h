#pragma once

#include "look/ConfirmationFrame.h"

#include <QList>

#include <functional>

namespace pomelark {

class InfoRow;
class PomelarkButton;

/// The overlay that asks before a send to the Photos folder: how many photos and
/// videos go, how many are excluded, which date they will carry, then "Cancel"
/// and "Send". It keeps no state and changes nothing: "Send" calls `onConfirm`,
/// "Cancel" and a click on the dimmed backdrop call `onCancel`. No keys are bound.
class SendConfirmView : public ConfirmationFrame {
    Q_OBJECT
public:
    static constexpr qreal maxWidth = 420;

    struct Inputs {
        int photoCount = 0;
        int videoCount = 0;
        int excludedCount = 0;
        QString dateMode; ///< the stored date setting: "keep" keeps the capture date, anything else uses today's
        std::function<void()> onConfirm;
        std::function<void()> onCancel;
    };

    explicit SendConfirmView(Inputs inputs, QWidget *parent = nullptr, FrameTicker &ticker = FrameTicker::shared());

    /// The summary's rows, top to bottom.
    QList<const InfoRow *> summaryRows() const;
    PomelarkButton *sendButton() const { return m_send; }

private:
    QWidget *buildHeader() const;
    QWidget *buildSummary();

    Inputs m_inputs;
    QList<const InfoRow *> m_rows;
    PomelarkButton *m_send = nullptr;
};

} // namespace pomelark
