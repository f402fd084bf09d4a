#pragma once

#include "browsing/ConfirmSheet.h"

namespace pomelark {

/// Asks before the selected items go back into the send; the main view takes
/// them out of its excluded set when `onConfirm` is called.
class IncludeConfirmView : public ConfirmSheet {
    Q_OBJECT
public:
    struct Inputs {
        int count = 0;                  ///< number of selected items
        std::function<void()> onConfirm; ///< "Add back"
        std::function<void()> onCancel;  ///< "Cancel" and a click on the dimmed room
    };

    explicit IncludeConfirmView(Inputs inputs, QWidget *parent = nullptr, FrameTicker &ticker = FrameTicker::shared());

    /// Shows another number of selected items in the question.
    void setCount(int count);

private:
    static QString titleFor(int count);
};

} // namespace pomelark
