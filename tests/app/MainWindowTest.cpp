#include "app/MainWindow.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace pomelark;

TEST(MainWindow, OpensAtLeast600By500AndClosesCleanly)
{
    auto *window = new MainWindow;
    window->setAttribute(Qt::WA_DeleteOnClose);
    QSignalSpy destroyed(window, &QObject::destroyed);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    EXPECT_GE(window->minimumWidth(), 600);
    EXPECT_GE(window->minimumHeight(), 500);
    window->resize(100, 100);
    EXPECT_GE(window->width(), 600);
    EXPECT_GE(window->height(), 500);
    EXPECT_TRUE(window->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(destroyed.count(), 1);
}
