#pragma once

#include "look/FrameTicker.h"
#include "services/ExportSettings.h"
#include "tidy_send/SendScreenFrame.h"

#include <QPointer>

class QLabel;

namespace pomelark {

class ExportCoordinator;
class ProgressRing;

/// The full-window screen shown while a send runs: the turning ring with the
/// percentage done, "Tidying up...", the count of items done out of the total
/// and a pill repeating the date choice of the send. It follows the
/// coordinator's progress, done and total counts as they change; it has no
/// buttons and calls nothing back. A missing coordinator shows 0% and 0 / 0.
class ConvertScreen : public SendScreenFrame {
    Q_OBJECT
public:
    struct Inputs {
        ExportCoordinator *coordinator = nullptr;
        DateMode dateMode = DateMode::keep;
    };

    explicit ConvertScreen(Inputs inputs, QWidget *parent = nullptr, FrameTicker &ticker = FrameTicker::shared());

    /// The progress as a whole percentage, cut toward zero (0.999 is 99) and kept
    /// within 0 … 100. A fraction such as 29 / 100, which lands a hair below 0.29
    /// in floating point, still gives 29.
    static qint64 percentOf(double progress);

    // What is shown, for tests.
    QString percentText() const;
    QString countText() const;
    QString dateText() const;
    const ProgressRing *ring() const { return m_ring; }

private:
    void refresh();

    Inputs m_inputs;
    QPointer<ExportCoordinator> m_coordinator;
    ProgressRing *m_ring = nullptr;
    QLabel *m_count = nullptr;
    QLabel *m_date = nullptr;
};

} // namespace pomelark
