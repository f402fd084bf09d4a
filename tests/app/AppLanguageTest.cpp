#include "support/TestSettings.h"

#include "app/AppLanguage.h"
#include "app/AppRelauncher.h"
#include "app/AppTranslations.h"

#include "support/AsyncTest.h"
#include "support/TempFolder.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace pomelark;

namespace {

QStringList list(std::initializer_list<const char *> items)
{
    QStringList out;
    for (const char *item : items)
        out << QLatin1String(item);
    return out;
}

} // namespace

TEST(AppLanguage, SystemDefaultIsKoreanOnlyWhenTheFirstPreferenceIsKorean)
{
    EXPECT_EQ(AppLanguage::systemDefault(list({"ko-KR", "en"})), AppLanguage::ko);
    EXPECT_EQ(AppLanguage::systemDefault(list({"ko"})), AppLanguage::ko);
    EXPECT_EQ(AppLanguage::systemDefault(list({"KO_kr"})), AppLanguage::ko);
    EXPECT_EQ(AppLanguage::systemDefault(list({"en-US", "ko-KR"})), AppLanguage::en);
    EXPECT_EQ(AppLanguage::systemDefault(list({"ja"})), AppLanguage::en);
    EXPECT_EQ(AppLanguage::systemDefault(list({"C"})), AppLanguage::en);
    EXPECT_EQ(AppLanguage::systemDefault({}), AppLanguage::en);
}

TEST(AppLanguage, FirstLaunchStoresTheSystemLanguageAndLaterLaunchesKeepTheChoice)
{
    test::TestSettings stored;
    QSettings settings;
    AppLanguage::applyDefaultIfNeeded(settings, list({"ko-KR", "en"}));
    EXPECT_EQ(stored.value(QStringLiteral("settings.language")).toString(), QStringLiteral("ko"));
    EXPECT_EQ(stored.value(QStringLiteral("AppleLanguages")).toStringList(), list({"ko"}));

    // The desktop switched to English since: the stored choice survives.
    AppLanguage::applyDefaultIfNeeded(settings, list({"en-US"}));
    EXPECT_EQ(AppLanguage::current(settings, list({"en-US"})), AppLanguage::ko);

    AppLanguage::store(AppLanguage::en, settings);
    EXPECT_EQ(stored.value(QStringLiteral("settings.language")).toString(), QStringLiteral("en"));
    EXPECT_EQ(stored.value(QStringLiteral("AppleLanguages")).toStringList(), list({"en"}));
    EXPECT_EQ(AppLanguage::atLaunch(settings, list({"ko"})), AppLanguage::en);
}

TEST(AppLanguage, AStartShowsThePreferredListsLanguageElseTheChosenOne)
{
    test::TestSettings stored;
    QSettings settings;
    EXPECT_EQ(AppLanguage::atLaunch(settings, list({"ko-KR"})), AppLanguage::ko); // nothing stored yet

    // A hand-edited choice the picker does not know leaves the list in charge.
    stored.setValue(QStringLiteral("settings.language"), QStringLiteral("ja"));
    stored.setValue(QStringLiteral("AppleLanguages"), list({"ko"}));
    EXPECT_EQ(AppLanguage::atLaunch(settings, list({"en"})), AppLanguage::ko);

    // A list naming no language of ours, or none at all, defers to the choice.
    stored.setValue(QStringLiteral("settings.language"), QStringLiteral("ko"));
    stored.setValue(QStringLiteral("AppleLanguages"), list({"ja", "en"}));
    EXPECT_EQ(AppLanguage::atLaunch(settings, list({"en"})), AppLanguage::ko);
    QSettings().remove(QStringLiteral("AppleLanguages"));
    EXPECT_EQ(AppLanguage::atLaunch(settings, list({"en"})), AppLanguage::ko);
}

TEST(AppLanguage, UnknownStoredTextsReadAsTheSystemDefaultAndAreLeftAlone)
{
    test::TestSettings stored;
    QSettings settings;
    for (const char *text : {"ja", "EN", "ko-KR", ""}) {
        stored.setValue(QStringLiteral("settings.language"), QLatin1String(text));
        EXPECT_EQ(AppLanguage::current(settings, list({"ko"})), AppLanguage::ko) << text;
        EXPECT_EQ(AppLanguage::current(settings, list({"en"})), AppLanguage::en) << text;
        AppLanguage::applyDefaultIfNeeded(settings, list({"ko"}));
        EXPECT_EQ(stored.value(QStringLiteral("settings.language")).toString(), QLatin1String(text));
    }
    EXPECT_FALSE(AppLanguage::fromCode(QStringLiteral("EN")));
    EXPECT_EQ(AppLanguage::fromCode(QStringLiteral("ko")), AppLanguage::ko);
}

TEST(AppTranslations, LoadsTheTextsOfTheChosenLanguage)
{
    const QString folder = QStringLiteral(POMELARK_QM_DIR);
    const auto settingsTitle = [] { return QCoreApplication::translate("SettingsScreen", "Settings"); };
    const auto updateCommand = [] { return QCoreApplication::translate("PomelarkApp", "업데이트 확인…"); };
    // Qt's file list names a folder's type with a text Qt's own Korean catalogue lacks.
    const auto folderType = [] {
        return QCoreApplication::translate("QAbstractFileIconProvider", "Folder", "All other platforms");
    };
    const QLocale before;
    ASSERT_EQ(settingsTitle(), QStringLiteral("Settings"));
    {
        QObject owner;
        ASSERT_TRUE(AppTranslations::install(AppLanguage::ko, owner, folder));
        EXPECT_EQ(settingsTitle(), QStringLiteral("설정"));
        EXPECT_EQ(updateCommand(), QStringLiteral("업데이트 확인…"));
        // Qt's dialogs, dates and numbers follow the language, not the system.
        EXPECT_EQ(QLocale().language(), QLocale::Korean);
        EXPECT_EQ(folderType(), QStringLiteral("폴더"));
    }
    EXPECT_EQ(settingsTitle(), QStringLiteral("Settings"));
    EXPECT_EQ(QLocale(), before);
    {
        // English texts are their own keys, all but the update command's.
        QObject owner;
        ASSERT_TRUE(AppTranslations::install(AppLanguage::en, owner, folder));
        EXPECT_EQ(updateCommand(), QStringLiteral("Check for Updates…"));
        EXPECT_EQ(settingsTitle(), QStringLiteral("Settings"));
        EXPECT_EQ(QLocale().language(), QLocale::English);
    }
    // A system that speaks the language keeps its own region's ways.
    EXPECT_EQ(AppLanguage(AppLanguage::en).locale(QLocale(u"en_GB"_qs)), QLocale(u"en_GB"_qs));
    EXPECT_EQ(AppLanguage(AppLanguage::ko).locale(QLocale(u"en_GB"_qs)), QLocale(u"ko_KR"_qs));
    EXPECT_EQ(AppLanguage(AppLanguage::en).locale(QLocale(u"ko_KR"_qs)), QLocale(u"en_US"_qs));
    QObject owner;
    EXPECT_FALSE(AppTranslations::install(AppLanguage::ko, owner, QStringLiteral("/nonexistent")));
    EXPECT_EQ(settingsTitle(), QStringLiteral("Settings"));
}

TEST(AppRelauncher, StartsTheNewInstanceThenQuitsFromTheEventLoopEvenWhenTheStartFails)
{
    test::TempFolder folder;
    const QString mark = folder.filePath(QStringLiteral("started"));
    int quits = 0;
    EXPECT_TRUE(AppRelauncher::relaunch(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("echo > \"$0\""), mark},
                                        [&quits] { ++quits; }));
    EXPECT_EQ(quits, 0); // not inside the click that asked for it
    EXPECT_TRUE(test::spinUntil([&] { return quits == 1 && QFile::exists(mark); }));

    EXPECT_FALSE(AppRelauncher::relaunch(folder.filePath(QStringLiteral("missing-program")), {}, [&quits] { ++quits; }));
    EXPECT_TRUE(test::spinUntil([&] { return quits == 2; }));
}
