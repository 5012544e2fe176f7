// The main of every test binary: isolate the environment first, then start Qt (widgets when
// the binary is a GUI test), then run the tests.

#include "IsolatedEnvironment.h"

#include <gtest/gtest.h>

#ifdef QUILLMARK_TEST_QT
#include <QCoreApplication>
#endif
#ifdef QUILLMARK_TEST_GUI
#include <QApplication>
#endif

#include <cstdlib>

int main(int argc, char** argv)
{
    qmtest::IsolatedEnvironment::InstallGlobal();
    ::setenv("QT_QPA_PLATFORM", std::getenv("QT_QPA_PLATFORM") ? std::getenv("QT_QPA_PLATFORM") : "offscreen", 1);
    ::testing::InitGoogleTest(&argc, argv);
#if defined(QUILLMARK_TEST_GUI)
    QApplication app(argc, argv);
#elif defined(QUILLMARK_TEST_QT)
    QCoreApplication app(argc, argv);
#endif
    return RUN_ALL_TESTS();
}
