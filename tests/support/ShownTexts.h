#pragma once

#include "look/WrappedText.h"

#include <QAbstractButton>
#include <QLabel>
#include <QStringList>
#include <QWidget>

namespace pomelark::test {

/// The texts of every label, wrapped text and button under `root` that is
/// shown, in creation order.
inline QStringList shownTexts(const QWidget &root)
{
    QStringList texts;
    for (const QWidget *child : root.findChildren<QWidget *>()) {
        if (!child->isVisibleTo(&root))
            continue;
        if (const auto *label = qobject_cast<const QLabel *>(child))
            texts << label->text();
        else if (const auto *text = qobject_cast<const WrappedText *>(child))
            texts << text->text();
        else if (const auto *button = qobject_cast<const QAbstractButton *>(child))
            texts << button->text();
    }
    return texts;
}

} // namespace pomelark::test
