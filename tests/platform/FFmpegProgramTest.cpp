#include "platform/FFmpegProgram.h"

#include "support/Fixtures.h"
#include "support/ScopedEnv.h"
#include "support/TempFolder.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace pomelark;
using pomelark::test::ScopedEnv;
using pomelark::test::TempFolder;

TEST(FFmpegProgram, TheVariableOverridesThePathLookup)
{
    TempFolder folder;
    const QString program = test::makeTextFile(folder.filePath(QStringLiteral("my ffmpeg")), "#!/bin/sh\n");
    {
        ScopedEnv env("POMELARK_FFMPEG", program.toUtf8());
        EXPECT_EQ(FFmpegProgram::find(), program);
    }
    {
        ScopedEnv env("POMELARK_FFMPEG", folder.filePath(QStringLiteral("missing")).toUtf8());
        EXPECT_EQ(FFmpegProgram::find(), std::nullopt);
    }
    {
        // A bare name is looked up on PATH.
        QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        ScopedEnv path("PATH", folder.path().toUtf8());
        ScopedEnv env("POMELARK_FFMPEG", "my ffmpeg");
        EXPECT_EQ(FFmpegProgram::find(), program);
    }
    {
        ScopedEnv path("PATH", folder.path().toUtf8());
        ScopedEnv env("POMELARK_FFMPEG", "");
        EXPECT_EQ(FFmpegProgram::find(), std::nullopt);
    }
}
