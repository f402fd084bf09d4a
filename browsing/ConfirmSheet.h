#pragma once

#include "look/ConfirmationFrame.h"

namespace pomelark {

class WrappedText;

/// The card the exclude and include confirmations share: a round badge with a
/// symbol, a question, an explanation under it, and "Cancel" with the primary
/// button. It keeps no state and changes nothing: the primary button calls
/// `onConfirm`; "Cancel" and a click on the dimmed room call `onCancel`.
class ConfirmSheet : public ConfirmationFrame {
    Q_OBJECT
public:
    struct Inputs {
        QString iconSystemName;
        QString title;
        QString bodyText;
        QString primaryTitle;
        QString primaryIcon; ///< empty: the primary button shows its title alone
        std::function<void()> onConfirm;
        std::function<void()> onCancel;
    };

    static constexpr qreal maxWidth = 400;

    explicit ConfirmSheet(Inputs inputs, QWidget *parent = nullptr, FrameTicker &ticker = FrameTicker::shared());

    QString title() const;
    QString bodyText() const;
    PomelarkButton *primaryButton() const { return m_primary; }

protected:
    void setTitle(const QString &title);

private:
    WrappedText *m_title = nullptr;
    WrappedText *m_body = nullptr;
    PomelarkButton *m_primary = nullptr;
};

} // namespace pomelark
