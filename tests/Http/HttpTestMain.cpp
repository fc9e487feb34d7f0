// The transfer tests run on a plain QCoreApplication, as pandecta-tool does;
// every server they use is started and stopped by the test itself.
#include <gtest/gtest.h>

#include <QCoreApplication>

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
