// CPU cost of the mascot's motion view: one view at pixel size 4, painted by
// the shared frame ticker at 60 frames a second on the offscreen platform.
//
//   motion_view_bench [kind=hop|all] [seconds=10]
//
// Reports the process's CPU time per painted frame (painting, the frame timer
// and the event loop together) and the frames painted per second.
#include "look/MascotPauser.h"
#include "look/TuppoMotionView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QThread>
#include <QTimer>

#include <cstdio>
#include <ctime>

using namespace pomelark;

namespace {

double processCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

void runFor(double seconds)
{
    QEventLoop loop;
    QTimer::singleShot(int(seconds * 1000), &loop, &QEventLoop::quit);
    loop.exec();
}

void measure(TuppoMotionKind kind, double seconds)
{
    TuppoMotionView view(kind, QStringLiteral("lavender"), 4);
    PaintCounter counter;
    view.installEventFilter(&counter);
    view.show();
    view.activateWindow();
    runFor(0.5);  // exposed, active, caches warm
    if (MascotPauser::shared().paused())
        std::printf("warning: the pauser reports paused; no frames will be drawn\n");

    counter.paints = 0;
    const double cpuBefore = processCpuSeconds();
    QElapsedTimer wall;
    wall.start();
    runFor(seconds);
    const double cpu = processCpuSeconds() - cpuBefore;
    const double elapsed = wall.nsecsElapsed() / 1e9;
    const int frames = std::max(1, counter.paints);
    std::printf("%-8s %5d frames in %5.2f s (%5.1f a second)  CPU %7.3f ms per frame  (%.1f %% of one core)\n",
                qPrintable(rawValue(kind)), counter.paints, elapsed, counter.paints / elapsed,
                cpu * 1000 / frames, 100 * cpu / elapsed);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString which = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("hop");
    const double seconds = argc > 2 ? std::atof(argv[2]) : 10.0;
    std::printf("motion view at pixel size 4, %g s each, %d cores\n", seconds, QThread::idealThreadCount());
    if (which == u"all") {
        for (TuppoMotionKind kind : allMotionKinds())
            measure(kind, seconds);
        return 0;
    }
    const std::optional<TuppoMotionKind> kind = motionKindFromRawValue(which);
    if (!kind) {
        std::fprintf(stderr, "unknown motion: %s\n", qPrintable(which));
        return 1;
    }
    measure(*kind, seconds);
    return 0;
}
