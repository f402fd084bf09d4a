#pragma once

#include <QMessageBox>
#include <QPushButton>

namespace pomelark::test {

/// The button of `box` showing `text`, or none.
inline QPushButton *buttonNamed(QMessageBox *box, const QString &text)
{
    for (QAbstractButton *each : box->buttons()) {
        if (each->text() == text)
            return qobject_cast<QPushButton *>(each);
    }
    return nullptr;
}

} // namespace pomelark::test
