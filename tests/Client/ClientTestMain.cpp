// Window tests run on a real QApplication (offscreen platform).
#include <gtest/gtest.h>

#include <QApplication>

#include "ClientIcons.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QApplication application(argc, argv);
  InstallIconTheme();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
