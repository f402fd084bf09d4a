#include "platform/NoReplaceCopy.h"

#include "support/Fixtures.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace pomelark;
using namespace pomelark::test;

TEST(NoReplaceCopy, TakesTheNextFreeNameAndKeepsTheSourceTime)
{
    TempFolder folder;
    const QString source = makeTextFile(folder.filePath(u"in/clip.mov"_qs), "new");
    const QDateTime old = QDateTime::fromSecsSinceEpoch(1500000000);
    QFile file(source);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(old, QFileDevice::FileModificationTime));
    file.close();
    const QString out = folder.makeFolder(u"out"_qs);
    makeTextFile(out + u"/clip.mov"_qs, "old");
    makeTextFile(out + u"/clip (2).mov"_qs, "older");

    const QString copied = NoReplaceCopy::copy(source, out, u"clip.mov"_qs);

    EXPECT_EQ(copied, out + u"/clip (3).mov"_qs);
    EXPECT_EQ(contentOf(copied), "new");
    EXPECT_EQ(QFileInfo(copied).lastModified(), old);
    EXPECT_EQ(contentOf(out + u"/clip.mov"_qs), "old");
    // No temporary is left behind.
    EXPECT_EQ(QDir(out).entryList(QDir::Files | QDir::Hidden).size(), 3);
}
