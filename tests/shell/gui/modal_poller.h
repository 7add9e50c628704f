// Acts on a modal window while the code under test blocks in its exec():
// polls for the expected window, hands it to the test's action, and closes
// any modal window left after a deadline so that a broken test fails
// instead of hanging.
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <functional>

namespace pw::test {

// Keys reach shortcuts and mnemonics only in the active window, which the
// main window may take back late once the start-up choice closed.
inline void ActivateForKeys(QWidget* window) {
  QTest::qWait(50);
  window->activateWindow();
  EXPECT_TRUE(QTest::qWaitForWindowActive(window));
}


template <class Window>
void WhenModalAppears(std::function<void(Window*)> act, int deadlineMs = 5000) {
  auto* timer = new QTimer;
  auto* clock = new QElapsedTimer;
  clock->start();
  QObject::connect(timer, &QTimer::timeout, [timer, clock, act, deadlineMs] {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* window = qobject_cast<Window*>(modal)) {
      timer->stop();
      act(window);
    } else if (clock->elapsed() > deadlineMs) {
      timer->stop();
      if (modal) modal->close();
      ADD_FAILURE() << "the expected modal window did not appear";
    } else {
      return;
    }
    timer->deleteLater();
    delete clock;
  });
  timer->start(10);
}

}  // namespace pw::test
