#include "support/ui/UiTestSupport.h"

#include <QApplication>
#include <QTimer>

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

void whenModal(const QString& objectName, std::function<void(QWidget&)> act, int timeoutMs) {
    auto* poll = new QTimer;
    auto* waited = new QElapsedTimer;
    waited->start();
    QObject::connect(poll, &QTimer::timeout, [=] {
        QWidget* modal = QApplication::activeModalWidget();
        const bool arrived =
            modal != nullptr && modal->objectName() == objectName && modal->isActiveWindow();
        if (!arrived && waited->elapsed() < timeoutMs)
            return;
        poll->stop();
        poll->deleteLater();
        delete waited;
        if (arrived)
            act(*modal);
        else if (modal != nullptr)
            modal->close(); // some other window: end its loop rather than hang the test
    });
    poll->start(10);
}

} // namespace tesmira::test
