#include "app/PreparingCaption.h"

#include <QCoreApplication>

namespace pomelark {

namespace {

// Marked for translation here, translated when shown: the display language is
// read at start, after these lists may already have been made.
const char *const captionTexts[] = {
    QT_TRANSLATE_NOOP("PreparingScreen", "Getting the tools ready"),
    QT_TRANSLATE_NOOP("PreparingScreen", "Wiping down the workbench"),
    QT_TRANSLATE_NOOP("PreparingScreen", "Finding the glue and scissors"),
    QT_TRANSLATE_NOOP("PreparingScreen", "Picking out favorite stickers"),
    QT_TRANSLATE_NOOP("PreparingScreen", "Rounding the corners"),
    QT_TRANSLATE_NOOP("PreparingScreen", "Sharpening the colored pencils"),
    QT_TRANSLATE_NOOP("PreparingScreen", "Figuring out the photo order"),
    QT_TRANSLATE_NOOP("PreparingScreen", "Moving to a sunnier spot"),
    QT_TRANSLATE_NOOP("PreparingScreen", "Blowing the dust off"),
    QT_TRANSLATE_NOOP("PreparingScreen", "Tearing off some washi tape"),
    QT_TRANSLATE_NOOP("PreparingScreen", "Pulling up a chair"),
    QT_TRANSLATE_NOOP("PreparingScreen", "Putting on a favorite song"),
    QT_TRANSLATE_NOOP("PreparingScreen", "Smoothing the album cover"),
    QT_TRANSLATE_NOOP("PreparingScreen", "Washing hands clean"),
    QT_TRANSLATE_NOOP("PreparingScreen", "Tidying up the desk"),
    QT_TRANSLATE_NOOP("PreparingScreen", "Writing the date on a label"),
    QT_TRANSLATE_NOOP("PreparingScreen", "Taking in that film smell"),
    QT_TRANSLATE_NOOP("PreparingScreen", "Flipping through the memories"),
    QT_TRANSLATE_NOOP("PreparingScreen", "Seeing which photo is prettiest"),
    QT_TRANSLATE_NOOP("PreparingScreen", "Grabbing the pinking shears"),
    QT_TRANSLATE_NOOP("PreparingScreen", "Shaking the glitter glue"),
    QT_TRANSLATE_NOOP("PreparingScreen", "Sticking on the labels"),
    QT_TRANSLATE_NOOP("PreparingScreen", "Inking up the stamp"),
    QT_TRANSLATE_NOOP("PreparingScreen", "Brewing a warm cup of tea"),
    QT_TRANSLATE_NOOP("PreparingScreen", "Cracking the window open"),
    QT_TRANSLATE_NOOP("PreparingScreen", "Laying the photos out neatly"),
    QT_TRANSLATE_NOOP("PreparingScreen", "Rolling out the cutting mat"),
    QT_TRANSLATE_NOOP("PreparingScreen", "Lining up the ruler"),
    QT_TRANSLATE_NOOP("PreparingScreen", "Sketching with a pencil"),
    QT_TRANSLATE_NOOP("PreparingScreen", "Brushing away eraser crumbs"),
    QT_TRANSLATE_NOOP("PreparingScreen", "Clipping the photos together"),
    QT_TRANSLATE_NOOP("PreparingScreen", "Uncapping the highlighter"),
    QT_TRANSLATE_NOOP("PreparingScreen", "Folding the colored paper"),
    QT_TRANSLATE_NOOP("PreparingScreen", "Tying a ribbon"),
    QT_TRANSLATE_NOOP("PreparingScreen", "Shaking a Polaroid"),
    QT_TRANSLATE_NOOP("PreparingScreen", "Peering through a magnifier"),
    QT_TRANSLATE_NOOP("PreparingScreen", "Rolling up the sleeves"),
    QT_TRANSLATE_NOOP("PreparingScreen", "Pressing a stamp down"),
    QT_TRANSLATE_NOOP("PreparingScreen", "Slipping in album pages"),
    QT_TRANSLATE_NOOP("PreparingScreen", "Tuppo is stretching"),
    QT_TRANSLATE_NOOP("PreparingScreen", "Checking today's weather"),
    QT_TRANSLATE_NOOP("PreparingScreen", "Gluing carefully"),
    QT_TRANSLATE_NOOP("PreparingScreen", "Laminating ever so carefully"),
    QT_TRANSLATE_NOOP("PreparingScreen", "Writing a title on a note"),
    QT_TRANSLATE_NOOP("PreparingScreen", "Looking for the star punch"),
    QT_TRANSLATE_NOOP("PreparingScreen", "Rummaging through a drawer"),
    QT_TRANSLATE_NOOP("PreparingScreen", "Wiping the desk with a wet wipe"),
    QT_TRANSLATE_NOOP("PreparingScreen", "Doodling a heart in the corner"),
    QT_TRANSLATE_NOOP("PreparingScreen", "Pinning photos up to dry"),
    QT_TRANSLATE_NOOP("PreparingScreen", "Drying photos in the sun"),
    QT_TRANSLATE_NOOP("PreparingScreen", "Choosing a favorite pen"),
    QT_TRANSLATE_NOOP("PreparingScreen", "Spreading out the sticker sheet"),
    QT_TRANSLATE_NOOP("PreparingScreen", "Setting a snack nearby"),
    QT_TRANSLATE_NOOP("PreparingScreen", "Pulling a blanket over the knees"),
    QT_TRANSLATE_NOOP("PreparingScreen", "Gathering the cut-out pieces"),
    QT_TRANSLATE_NOOP("PreparingScreen", "Clearing a spot in the album"),
    QT_TRANSLATE_NOOP("PreparingScreen", "Loosening up the fingers"),
    QT_TRANSLATE_NOOP("PreparingScreen", "Humming a little tune"),
    QT_TRANSLATE_NOOP("PreparingScreen", "Taking one last look"),
};

} // namespace

QString PreparingCaption::translated() const
{
    return QCoreApplication::translate("PreparingScreen", text.toUtf8().constData());
}

const QList<PreparingCaption> &PreparingCaption::all()
{
    static const QList<PreparingCaption> captions = [] {
        QList<PreparingCaption> list;
        for (const char *text : captionTexts)
            list.append({QString::fromUtf8(text)});
        return list;
    }();
    return captions;
}

const PreparingCaption &PreparingCaption::opening()
{
    static const PreparingCaption caption{
        QString::fromUtf8(QT_TRANSLATE_NOOP("PreparingScreen", "Bringing your photos in"))};
    return caption;
}

const PreparingCaption &PreparingCaption::finale()
{
    static const PreparingCaption caption{
        QString::fromUtf8(QT_TRANSLATE_NOOP("PreparingScreen", "All set! Off to the workbench"))};
    return caption;
}

} // namespace pomelark
