// Helpers for widget tests: dialogs answered without a modal loop, waiting on a condition.
#pragma once

#include "gui/Dialogs.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QWidget>

#include <functional>

namespace tesmira::test {

// Puts the dialog seam into test mode for the lifetime of the object.
struct DialogsInTestMode {
    DialogsInTestMode() { ui::Dialogs::setTestMode(true); }
    ~DialogsInTestMode() { ui::Dialogs::setTestMode(false); }
};

// Processes events until `done` holds or `timeoutMs` has passed; returns whether it held.
bool waitUntil(const std::function<bool()>& done, int timeoutMs = 15000);

// Runs `act` on the modal window of that object name once it is the active modal window, from
// inside its modal loop; call it before the step that opens the window. Returns at once. When the
// window does not come within `timeoutMs`, `act` is not run and whatever modal window is there
// instead is closed, so that the test fails rather than hangs.
void whenModal(const QString& objectName, std::function<void(QWidget&)> act, int timeoutMs = 10000);

} // namespace tesmira::test
