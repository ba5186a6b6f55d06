// Helpers for widget tests: dialogs answered without a modal loop, waiting on a condition.
#pragma once

#include "gui/Dialogs.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>

#include <functional>

namespace tesmira::test {

// Puts the dialog seam into test mode for the lifetime of the object.
struct DialogsInTestMode {
    DialogsInTestMode() { ui::Dialogs::setTestMode(true); }
    ~DialogsInTestMode() { ui::Dialogs::setTestMode(false); }
};

// Processes events until `done` holds or `timeoutMs` has passed; returns whether it held.
bool waitUntil(const std::function<bool()>& done, int timeoutMs = 15000);

} // namespace tesmira::test
