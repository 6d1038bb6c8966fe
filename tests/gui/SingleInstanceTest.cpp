// One running copy per user: the lock and the socket in a runtime folder of the test's own.

#include "app/SingleInstance.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>

#include "TempFolder.h"

namespace quillon::app {
namespace {

QString Folder(const test::TempFolder& folder) {
  return QString::fromStdString(folder.Path.string());
}

TEST(SingleInstance, TheFirstStartHoldsTheLockAndALaterOneDoesNot) {
  test::TempFolder runtime;
  SingleInstance first(Folder(runtime));
  SingleInstance second(Folder(runtime));
  EXPECT_TRUE(first.First());
  EXPECT_FALSE(second.First());
}

TEST(SingleInstance, ALaterStartBringsTheFirstToTheFront) {
  test::TempFolder runtime;
  SingleInstance first(Folder(runtime));
  int called = 0;
  first.OnCalled = [&] { ++called; };
  SingleInstance(Folder(runtime)).CallFirst();
  // The call arrives as an event of the first copy's loop.
  const QDeadlineTimer deadline(5000);
  while (called == 0 && !deadline.hasExpired()) {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  }
  EXPECT_EQ(called, 1);
}

TEST(SingleInstance, TheLockIsFreeAgainWhenTheFirstEnds) {
  test::TempFolder runtime;
  { SingleInstance first(Folder(runtime)); }
  EXPECT_TRUE(SingleInstance(Folder(runtime)).First());
}

}  // namespace
}  // namespace quillon::app
