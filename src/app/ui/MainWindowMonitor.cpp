// The main window's link monitor: the "Вид" menu, the dock at the bottom, and the hints that the
// link's bytes give to a failure's status text.
#include "app/ui/LinkMonitor.h"
#include "app/ui/MainWindow.h"
#include "app/ui/Settings.h"
#include "link/FailureHint.h"
#include "link/LinkModule.h"

#include <QAction>
#include <QDockWidget>
#include <QMenu>
#include <QMenuBar>

namespace tesmira::ui {

void MainWindow::CreateLinkMonitor() {
    linkMonitor_ = new LinkMonitor(link_, this);
    dockLinkMonitor = new QDockWidget(QStringLiteral("Монитор обмена"), this);
    dockLinkMonitor->setObjectName(QStringLiteral("dockLinkMonitor"));
    dockLinkMonitor->setAllowedAreas(Qt::BottomDockWidgetArea | Qt::TopDockWidgetArea);
    dockLinkMonitor->setWidget(linkMonitor_);
    addDockWidget(Qt::BottomDockWidgetArea, dockLinkMonitor);
    dockLinkMonitor->hide(); // closed until the user or the stored state opens it

    actLinkMonitor = dockLinkMonitor->toggleViewAction();
    actLinkMonitor->setObjectName(QStringLiteral("actLinkMonitor"));
    actLinkMonitor->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    QMenu* view = new QMenu(QStringLiteral("Вид"), this);
    view->setObjectName(QStringLiteral("View1"));
    view->addAction(actLinkMonitor);
    // Before "Помощь", the last item of the bar.
    menuBar()->insertMenu(menuBar()->actions().constLast(), view);

    restoreState(ReadBytesSetting(kSettingWindowState));
    // The action follows the dock's show and hide events, which a window not yet shown does not
    // get: it is set here.
    const bool open = !dockLinkMonitor->isHidden();
    actLinkMonitor->setChecked(open);
    linkMonitor_->SetListening(open);
    connect(actLinkMonitor, &QAction::toggled, this, [this](bool open) {
        // A trigger toggles the action before the dock follows it; the state saved must have it.
        dockLinkMonitor->setVisible(open);
        linkMonitor_->SetListening(open);
        if (!shutDown_)
            WriteBytesSetting(kSettingWindowState, saveState());
    });
}

void MainWindow::ShowLinkFailure(const QString& text, ExchangeMode mode, ExchangeReport report) {
    ShowStatus(kStatusRed, text);
    FailureFacts facts;
    facts.mode = mode;
    facts.report = report;
    facts.openFailure = link_.port.LastOpenFailure();
    facts.answer = link_.Reply(); // the answer stays in the buffer until the next exchange
    status_->SetHint(QString::fromStdString(FailureHint(facts)));
}

} // namespace tesmira::ui
