#include "tidy_send/ScreenText.h"

#include "look/LookFont.h"

#include <QLabel>

namespace pomelark {

QLabel *makeScreenText(const QString &text, const TextLook &look)
{
    auto *label = new QLabel(text);
    label->setTextFormat(Qt::PlainText);
    label->setFont(LookFont::system(look.pixelSize, look.weight));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, look.color);
    label->setPalette(palette);
    label->setAlignment(look.alignment);
    label->setWordWrap(look.wraps);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}

} // namespace pomelark
