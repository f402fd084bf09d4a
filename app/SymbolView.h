#pragma once

#include "look/SymbolIcons.h"

#include <QWidget>

namespace pomelark {

/// One symbol icon on its own, `size` × `size`, in one colour.
class SymbolView : public QWidget {
    Q_OBJECT
public:
    SymbolView(const QString &name, int size, const QColor &color, QWidget *parent = nullptr,
               SymbolWeight weight = SymbolWeight::Regular);

    QString name() const { return m_name; }
    QColor color() const { return m_color; }

    QSize sizeHint() const override { return {m_size, m_size}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_name;
    int m_size;
    QColor m_color;
    SymbolWeight m_weight;
};

} // namespace pomelark
