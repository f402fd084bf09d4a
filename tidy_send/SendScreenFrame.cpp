#include "tidy_send/SendScreenFrame.h"

#include "look/Palette.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

namespace pomelark {

SendScreenFrame::SendScreenFrame(int spacing, QWidget *parent) : QWidget(parent)
{
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(padding, padding, padding, padding);
    outer->setSpacing(0);
    outer->addStretch(1);
    m_stack = new QVBoxLayout;
    m_stack->setSpacing(spacing);
    outer->addLayout(m_stack);
    outer->addStretch(1);
    if (parent) {
        setGeometry(parent->rect());
        parent->installEventFilter(this);
    }
}

void SendScreenFrame::addRow(QWidget *row, Qt::Alignment alignment, int topPadding)
{
    if (topPadding > 0) {
        // Extra room above one row only: the stack's spacing stays as it is.
        auto *holder = new QVBoxLayout;
        holder->setContentsMargins(0, topPadding, 0, 0);
        holder->addWidget(row, 0, alignment);
        m_stack->addLayout(holder);
        return;
    }
    m_stack->addWidget(row, 0, alignment);
}

void SendScreenFrame::addRow(QLayout *row, int topPadding)
{
    auto *holder = new QHBoxLayout;
    holder->setContentsMargins(0, topPadding, 0, 0);
    holder->addStretch(1);
    holder->addLayout(row);
    holder->addStretch(1);
    m_stack->addLayout(holder);
}

void SendScreenFrame::paintEvent(QPaintEvent *)
{
    QPainter(this).fillRect(rect(), Palette::background());
}

bool SendScreenFrame::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        setGeometry(parentWidget()->rect());
    return QWidget::eventFilter(watched, event);
}

} // namespace pomelark
