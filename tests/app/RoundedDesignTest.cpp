// The big titles and numbers of the flow screens are drawn in the rounded face,
// and nothing else is; a machine without that face shows them in the plain one.

#include "support/SteppedTime.h"

#include "app/FadingCaption.h"
#include "app/PreparingScreen.h"
#include "app/ValidationScreen.h"
#include "look/LookFont.h"
#include "look/MascotPauser.h"
#include "tidy_send/BestShotConfirmView.h"
#include "tidy_send/ConvertScreen.h"
#include "tidy_send/DoneScreen.h"
#include "tidy_send/ProgressRing.h"
#include "tidy_send/RotateConfirmView.h"
#include "tidy_send/SendConfirmView.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace pomelark;

namespace {

/// The text a widget shows, for the kinds of widget the screens draw texts with.
QString textOf(const QWidget *widget)
{
    if (const auto *label = qobject_cast<const QLabel *>(widget))
        return label->text();
    if (const auto *caption = qobject_cast<const FadingCaption *>(widget))
        return caption->text();
    if (const auto *ring = qobject_cast<const ProgressRing *>(widget))
        return ring->centreText();
    return {};
}

/// The texts under `root` drawn in `family`, sorted.
QStringList textsIn(const QWidget &root, const QString &family)
{
    QStringList texts;
    for (const QWidget *child : root.findChildren<QWidget *>()) {
        const QString text = textOf(child);
        if (!text.isEmpty() && QFontInfo(child->font()).family() == family)
            texts << text;
    }
    texts.sort();
    return texts;
}

ValidationOutcome outcomeWith(int valid)
{
    ValidationOutcome outcome;
    for (int i = 0; i < valid; ++i)
        outcome.valid.append({QUuid::createUuid(), QUrl::fromLocalFile(QStringLiteral("/p/%1.jpg").arg(i)),
                              MediaItem::Kind::photo});
    outcome.totalScanned = valid;
    return outcome;
}

/// Every screen that has a text in the rounded design, each with those texts.
struct RoundedScreens {
    test::SteppedTime time;
    MascotPauser pauser{time.clock};
    std::vector<std::pair<std::unique_ptr<QWidget>, QStringList>> screens;

    RoundedScreens()
    {
        add(new PreparingScreen({time.clock.now(), false}, nullptr, time.ticker, pauser),
            {u"Bringing your photos in"_qs});
        add(new ValidationScreen({ValidationScreen::Phase::result(outcomeWith(2))}), {u"2 scanned · 2 ready"_qs});
        add(new ValidationScreen({ValidationScreen::Phase::result(outcomeWith(0))}), {u"No files to import"_qs});
        auto *similar = new BestShotConfirmView({Binding<QList<BestShotGroup>>::local()}, nullptr, time.ticker);
        add(similar, {similar->titleText()});
        auto *rotations = new RotateConfirmView({Binding<RotateSuggestions>::local()}, nullptr, time.ticker);
        add(rotations, {rotations->titleText()});
        add(new SendConfirmView({3, 2, 1, u"keep"_qs}, nullptr, time.ticker), {u"Send to Photos?"_qs});
        add(new ConvertScreen({}, nullptr, time.ticker), {u"0%"_qs, u"Tidying up..."_qs});
        add(new DoneScreen({DoneScreen::Mode::success(3, 2, 1)}, nullptr, {}, time.ticker),
            {u"All set in your Photos folder"_qs});
        add(new DoneScreen({DoneScreen::Mode::permissionDenied()}, nullptr, {}, time.ticker),
            {u"Photos access needed"_qs});
    }

    void add(QWidget *screen, QStringList texts)
    {
        texts.sort();
        screens.emplace_back(screen, texts);
    }
};

} // namespace

TEST(RoundedDesignTest, TitlesAndNumbersUseTheRoundedFaceAndThePlainOneWithoutIt)
{
    const QString rounded = LookFont::roundedFamily();
    ASSERT_TRUE(QFontDatabase::hasFamily(rounded)) << "scripts/install-deps installs the rounded face";
    {
        RoundedScreens all;
        for (const auto &[screen, texts] : all.screens)
            EXPECT_EQ(textsIn(*screen, rounded).join(u" | "_qs).toStdString(), texts.join(u" | "_qs).toStdString())
                << screen->metaObject()->className();
    }

    // Without the face: the same texts, in the plain face at the weight asked for.
    struct Restore {
        ~Restore() { LookFont::setRoundedFamily({}); }
    } restore;
    LookFont::setRoundedFamily(u"Rounded Face Not Installed"_qs);
    EXPECT_EQ(LookFont::rounded(20, QFont::Medium), LookFont::system(20, QFont::Medium));
    EXPECT_EQ(LookFont::rounded(12.5, QFont::Bold), LookFont::system(12.5, QFont::Bold));
    const QString plain = QFontInfo(LookFont::system(20)).family();
    {
        RoundedScreens all;
        for (const auto &[screen, texts] : all.screens) {
            EXPECT_TRUE(textsIn(*screen, rounded).isEmpty()) << screen->metaObject()->className();
            for (const QString &text : texts)
                EXPECT_TRUE(textsIn(*screen, plain).contains(text)) << text.toStdString();
        }
    }
}
