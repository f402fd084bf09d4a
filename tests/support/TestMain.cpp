// The main of every test program: a Qt application object for the event loop
// and plugins, Exiv2 set up once on this thread, then GoogleTest.
#ifdef POMELARK_GUI_TESTS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

#include <exiv2/exiv2.hpp>
#include <gtest/gtest.h>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#include <sanitizer/lsan_interface.h>
#define POMELARK_CHECK_LEAKS_BEFORE_EXIT
#endif
#endif

int main(int argc, char **argv)
{
    // gtest_discover_tests runs us at build time, outside CTest's environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND"))
        qputenv("QT_MEDIA_BACKEND", "ffmpeg");
    Exiv2::XmpParser::initialize();
    testing::InitGoogleTest(&argc, argv);
    TestApplication app(argc, argv);
    const int status = RUN_ALL_TESTS();
#ifdef POMELARK_CHECK_LEAKS_BEFORE_EXIT
    // Leaks are looked for while the application object and the shared
    // services still live: work a test left under way (a job on a pool, a
    // resumption posted to the event loop) is still referenced from them and is
    // no leak, while memory nothing refers to any more is. The usual check at
    // exit comes after they are gone and would count the former too.
    __lsan_do_leak_check();
#endif
    Exiv2::XmpParser::terminate();
    return status;
}
