#pragma once

#include "browsing/ConfirmSheet.h"

namespace pomelark {

/// Asks before the selected items are dropped from the send. Nothing is deleted:
/// the main view only adds them to its excluded set when `onConfirm` is called.
class ExcludeConfirmView : public ConfirmSheet {
    Q_OBJECT
public:
    struct Inputs {
        int count = 0;                  ///< number of selected items
        std::function<void()> onConfirm; ///< "Exclude"
        std::function<void()> onCancel;  ///< "Cancel" and a click on the dimmed room
    };

    explicit ExcludeConfirmView(Inputs inputs, QWidget *parent = nullptr, FrameTicker &ticker = FrameTicker::shared());

    /// Shows another number of selected items in the question.
    void setCount(int count);

private:
    static QString titleFor(int count);
};

} // namespace pomelark
