#include <clocale>
#include <gtest/gtest.h>
#ifdef SWEEP_TEST_WIDGETS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

// A program that tests widgets runs with a real QApplication on the offscreen platform, so its
// tests click real widgets without a display; the others need only the event loop.
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("LANG"))
        qputenv("LANG", "C.UTF-8");
    std::setlocale(LC_ALL, "");
    TestApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
