#include "tidy_send/ScreenText.h"

#include "look/PlainLabel.h"

#include <QLabel>

namespace pomelark {

QLabel *makeScreenText(const QString &text, const TextLook &look)
{
    QLabel *label = plainLabel(text, look.font, look.color, nullptr, look.alignment);
    label->setWordWrap(look.wraps);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}

} // namespace pomelark
