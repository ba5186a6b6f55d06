#include "support/ui/UiTestSupport.h"

namespace tesmira::test {

bool waitUntil(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QTest::qSleep(2);
    }
    return true;
}

} // namespace tesmira::test
