// main() of the test executables: the Qt application object that the code under test
// needs (fonts and images need a QGuiApplication, widgets a QApplication), then GoogleTest.
#include <gtest/gtest.h>

#if defined(MORVIK_TEST_APP_WIDGETS)
#include <QApplication>
using TestApplication = QApplication;
#elif defined(MORVIK_TEST_APP_GUI)
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen"
                                                                  : qgetenv("QT_QPA_PLATFORM"));
  TestApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
