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
    Exiv2::XmpParser::terminate();
    return status;
}
