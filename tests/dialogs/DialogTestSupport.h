#pragma once
// Helpers for driving modal dialogs from a test: a modal dialog runs its own
// event loop, so the test's steps are queued to run inside it.
#include "platform/dialogs/Dialog.h"
#include "platform/dialogs/MessageBox.h"
#include "platform/qt/DialogControls.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace dialog_testing {

// Polls that wait for a modal window; a test that ends with one still
// waiting expected a window that never opened.
inline std::vector<QPointer<QTimer>> g_pendingPolls;

// Runs `step` with the next modal window that opens above the one active
// now (for instance, inside the DoModal called right after). The step must
// close that window, or the DoModal that showed it never returns.
inline void WhenModalOpens(std::function<void(QWidget*)> step) {
    QWidget* below = QApplication::activeModalWidget();
    auto* poll = new QTimer;
    QElapsedTimer clock;
    clock.start();
    QObject::connect(poll, &QTimer::timeout, [poll, clock, below, step = std::move(step)] {
        QWidget* top = QApplication::activeModalWidget();
        const bool opened = top && top != below && top->isVisible();
        if (!opened && clock.elapsed() < 10000)
            return;
        poll->stop();
        poll->deleteLater();
        if (!opened)
            ADD_FAILURE() << "no modal window opened";
        else
            step(top);
    });
    g_pendingPolls.emplace_back(poll);
    poll->start(5);
}

inline QLineEdit* Edit(const QWidget* window, int id) { return qobject_cast<QLineEdit*>(FindControl(window, id)); }

inline void Click(const QWidget* window, int id) {
    auto* button = qobject_cast<QPushButton*>(FindControl(window, id));
    ASSERT_NE(button, nullptr) << "button " << id;
    button->click();
}

// Answers every message box with OK and keeps what it was shown.
struct MessageBoxLog {
    struct Box {
        std::string text;
        unsigned type;
    };
    std::vector<Box> boxes;
    MessageBoxHandler previous =
        SetMessageBoxHandler([this](QWidget*, const std::string& text, const std::string&, unsigned type) {
            boxes.push_back({text, type});
            return int(IDOK);
        });
    ~MessageBoxLog() { SetMessageBoxHandler(std::move(previous)); }
};

// Tests that need the toolkit: the application exists (TestApplication.cpp).
class DialogTest : public ::testing::Test {
protected:
    // A step left waiting must not run in the next test's windows.
    void TearDown() override {
        for (QPointer<QTimer>& poll : g_pendingPolls) {
            if (poll && poll->isActive())
                ADD_FAILURE() << "a modal window the test waited for never opened";
            delete poll.data();
        }
        g_pendingPolls.clear();
    }
};

}  // namespace dialog_testing
