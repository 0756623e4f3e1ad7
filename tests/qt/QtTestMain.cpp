// The Qt face's tests run on Qt's offscreen platform: real widgets, real
// events, no display needed.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdio>

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // The offscreen platform notes every raise it cannot do; nothing else is dropped.
  qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& message) {
    if (!message.contains("does not support raise")) fprintf(stderr, "%s\n", qPrintable(message));
  });
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
