// The operation window's tests run on the program's own application object,
// on the offscreen platform, with the real widgets.
#include <gtest/gtest.h>

#include "ClientIcons.h"
#include "PandectaApplication.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  TPandectaApplication application(argc, argv);
  InstallIconTheme();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
