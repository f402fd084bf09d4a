// Decodes JPEGs with their last picture bytes zeroed, and padded with zeros,
// as a photo on its way out is decoded, and counts what is refused and what
// is accepted with other pixels than the whole photo's.
//
//   zero_tail_sweep              the made photos of every writer kind
//   zero_tail_sweep PATH…        every JPEG in these files and folders
//   zero_tail_sweep --cut-and-end [PATH…]
//       instead, cuts them short and ends them with an end marker, as a tool
//       that "mends" a cut file does: made arithmetic-coded photos of every
//       scan layout cut at every hundredth, or every JPEG in PATH… at every
//       twentieth
//
// Build it against another commit with scripts/build-bench-at REF zero_tail_sweep.
#include "support/TempFolder.h"
#include "support/ZeroTailSweep.h"

#include "platform/JpegDecoder.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QFileInfo>
#include <QtConcurrent>

#include <cstdio>

using namespace pomelark;
using namespace pomelark::test;

namespace {

void print(const QString &name, const TailSweep &sweep)
{
    std::printf("%-52s whole refused %3d | damaged %6d refused %6d accepted wrong %5d | padded %6d not whole %5d\n",
                qPrintable(name), sweep.wholeRefused, sweep.damaged, sweep.damagedRefused, sweep.damagedAcceptedWrong,
                sweep.padded, sweep.paddedNotWhole);
}

void add(TailSweep &total, const TailSweep &one)
{
    total.wholeRefused += one.wholeRefused;
    total.damaged += one.damaged;
    total.damagedRefused += one.damagedRefused;
    total.damagedAcceptedWrong += one.damagedAcceptedWrong;
    total.padded += one.padded;
    total.paddedNotWhole += one.paddedNotWhole;
}

/// What a complete decode made of a JPEG cut short and ended with an end
/// marker, as a tool that "mends" a cut file ends it.
struct CutSweep {
    int wholeRefused = 0;
    int variants = 0;
    /// Accepted as whole, with other pixels than the whole file's.
    int acceptedWrong = 0;
};

/// Decodes `jpeg` completely, cut at every `steps`th of its length and ended
/// with an end marker.
CutSweep sweepEndedCuts(const QByteArray &jpeg, int steps)
{
    CutSweep sweep;
    const std::optional<QImage> whole = decodedWhole(jpeg);
    sweep.wholeRefused = !whole;
    for (int step = 1; whole && step < steps; ++step) {
        const std::optional<QImage> read = decodedWhole(jpeg.left(jpeg.size() * step / steps) + QByteArray("\xff\xd9", 2));
        ++sweep.variants;
        sweep.acceptedWrong += read && *read != *whole;
    }
    return sweep;
}

void printCuts(const QString &name, const CutSweep &sweep)
{
    std::printf("%-52s whole refused %3d | cut and ended %6d accepted wrong %5d\n", qPrintable(name),
                sweep.wholeRefused, sweep.variants, sweep.acceptedWrong);
}

void addCuts(CutSweep &total, const CutSweep &one)
{
    total.wholeRefused += one.wholeRefused;
    total.variants += one.variants;
    total.acceptedWrong += one.acceptedWrong;
}

QStringList jpegsIn(const QStringList &paths)
{
    QStringList files;
    for (const QString &path : paths) {
        if (QFileInfo(path).isFile()) {
            files << path;
            continue;
        }
        QDirIterator found(path, {QStringLiteral("*.jpg"), QStringLiteral("*.jpeg"), QStringLiteral("*.JPG"),
                                  QStringLiteral("*.JPEG")},
                           QDir::Files, QDirIterator::Subdirectories);
        while (found.hasNext())
            files << found.next();
    }
    return files;
}

int sweepCuts(const QStringList &files)
{
    if (!files.isEmpty()) {
        const CutSweep all = QtConcurrent::blockingMappedReduced<CutSweep>(
            files, [](const QString &path) { return sweepEndedCuts(contentOf(path), 20); }, addCuts);
        printCuts(QStringLiteral("%1 files").arg(files.size()), all);
        return 0;
    }
    const QList<std::pair<QString, JpegRecipe>> kinds{
        {QStringLiteral("arithmetic"), {.arithmetic = true}},
        {QStringLiteral("arithmetic, progressive"), {.progressive = true, .arithmetic = true}},
        {QStringLiteral("arithmetic, a scan for each component"), {.arithmetic = true, .scanPerComponent = true}},
        {QStringLiteral("arithmetic, grey"), {.colour = JpegColour::grey, .arithmetic = true}},
        {QStringLiteral("arithmetic, grey, progressive"),
         {.colour = JpegColour::grey, .progressive = true, .arithmetic = true}},
    };
    TempFolder folder;
    CutSweep all;
    for (const auto &[name, kind] : kinds) {
        for (const QSize size : {QSize(320, 240), QSize(1024, 768)}) {
            for (const int grain : {24, 0}) {
                JpegRecipe recipe = kind;
                recipe.size = size;
                recipe.grain = grain;
                const CutSweep sweep = sweepEndedCuts(contentOf(makeJpeg(folder.filePath(u"p.jpg"_qs), recipe)), 100);
                printCuts(QStringLiteral("%1, %2x%3, %4")
                              .arg(name)
                              .arg(size.width())
                              .arg(size.height())
                              .arg(grain ? QStringLiteral("grain") : QStringLiteral("smooth")),
                          sweep);
                addCuts(all, sweep);
            }
        }
    }
    printCuts(QStringLiteral("all"), all);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList paths = app.arguments().mid(1);
    if (!paths.isEmpty() && paths.first() == QStringLiteral("--cut-and-end"))
        return sweepCuts(jpegsIn(paths.mid(1)));
    if (paths.isEmpty()) {
        TempFolder folder;
        TailSweep all;
        for (const SweepPhoto &photo : sweepPhotos()) {
            const QByteArray jpeg = contentOf(makeJpeg(folder.filePath(QStringLiteral("p.jpg")), photo.recipe));
            const TailSweep sweep = sweepTails(jpeg);
            print(photo.name + (dataEndsInZero(jpeg) ? QStringLiteral(" (data ends in 00)") : QString()), sweep);
            add(all, sweep);
        }
        print(QStringLiteral("all"), all);
        return 0;
    }
    // Only whole JPEGs that end in their end marker: the others have no tail to lose.
    const QStringList files = jpegsIn(paths);
    std::atomic<int> skipped = 0, endsInZero = 0;
    const TailSweep all = QtConcurrent::blockingMappedReduced<TailSweep>(
        files,
        [&](const QString &path) {
            const QByteArray jpeg = contentOf(path);
            if (!JpegDecoder::isJpeg(jpeg) || !jpeg.endsWith(QByteArray("\xff\xd9", 2))) {
                ++skipped;
                return TailSweep{};
            }
            if (dataEndsInZero(jpeg))
                ++endsInZero;
            return sweepTails(jpeg);
        },
        add);
    print(QStringLiteral("%1 photos (%2 not ending in an end marker, %3 with data ending in 00)")
              .arg(files.size() - skipped)
              .arg(skipped.load())
              .arg(endsInZero.load()),
          all);
    return 0;
}
