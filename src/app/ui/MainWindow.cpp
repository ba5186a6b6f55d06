// The main window's construction: layout, actions, menus and start-up.
#include "app/ui/MainWindow.h"

#include "app/PortDiscovery.h"
#include "app/ui/AppImages.h"
#include "app/ui/ConfigTools.h"
#include "app/ui/Settings.h"
#include "app/ui/WorkArea.h"
#include "gui/DeviceMenu.h"
#include "gui/Dialogs.h"
#include "gui/EditHelpers.h"
#include "gui/ReportBridge.h"
#include "link/LinkModule.h"
#include "link/PortNames.h"
#include "model/DeviceCatalogue.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QVBoxLayout>

namespace tesmira::ui {

namespace {

constexpr int kSidePanelWidth = 118;

// A button that runs `action` and follows its enabled state; its caption is its own.
QPushButton* BoundButton(QWidget* parent, const QString& caption, QAction* action,
                         const char* name) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    QObject::connect(button, &QPushButton::clicked, action, &QAction::trigger);
    auto follow = [button, action] {
        button->setEnabled(action->isEnabled());
    };
    QObject::connect(action, &QAction::changed, button, follow);
    follow();
    return button;
}

} // namespace

void PortComboBox::showPopup() {
    emit dropDown();
    QComboBox::showPopup();
}

MainWindow::MainWindow(LinkModule& link, EditorFactory& editors, QWidget* parent)
    : QMainWindow(parent), link_(link), editors_(editors) {
    setObjectName(QStringLiteral("MainForm"));
    resize(770, 560);
    setWindowIcon(ApplicationIcon());
    ImageList = {DevicePortIcon()};
    portSource_ = [] {
        return DiscoverPorts();
    };
    bridge_ = ReportBridge::create(this, [this](ExchangeReport code, int arg) {
        onExchangeReport(static_cast<int>(code), arg);
    });

    CreateActions();
    auto* central = new QWidget(this);
    auto* layout = new QHBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    workArea_ = new WorkArea(central);
    layout->addWidget(workArea_, 1);
    layout->addWidget(CreateSidePanel());
    setCentralWidget(central);
    status_ = new StatusLine(statusBar());
    statusBar()->setObjectName(QStringLiteral("StatusBar"));
    CreateMenus();
    CreateLinkMonitor();
    ForgetFile();
    ShowStoredPort();
    BuildDeviceMenu();
    configTools_ = new ConfigTools(*this, link_, editors_);
}

MainWindow::~MainWindow() {
    ShutDown();
}

void MainWindow::CreateActions() {
    auto make = [this](const char* name, const QString& caption, const QString& hint,
                       void (MainWindow::*handler)()) {
        auto* action = new QAction(caption, this);
        action->setObjectName(QString::fromLatin1(name));
        action->setStatusTip(hint);
        connect(action, &QAction::triggered, this, Guarded(handler));
        return action;
    };
    actDevRead = make("actDevRead", QStringLiteral("Считать"), QString(), &MainWindow::readDevice);
    actDevWrite =
        make("actDevWrite", QStringLiteral("Записать"), QString(), &MainWindow::writeDevice);
    actSetDefault = make("actSetDefault", QStringLiteral("Сброс по умолчанию"), QString(),
                         &MainWindow::resetToDefaults);
    FileOpen1 = make("FileOpen1", QStringLiteral("Открыть..."),
                     QStringLiteral("Открыть настройки из файла"), &MainWindow::openFile);
    FileOpen1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    FileSave1 = make("FileSave1", QStringLiteral("Сохранить"),
                     QStringLiteral("Сохранить конфигурацию в тот же файл"), &MainWindow::saveFile);
    FileSave1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    FileSaveAs1 = make("FileSaveAs1", QStringLiteral("С&охранить как..."),
                       QStringLiteral("Сохранить конфигурацию"), &MainWindow::saveFileAs);
    actBackups = make("actBackups", QStringLiteral("Резервные копии..."),
                      QStringLiteral("Копии конфигурации, снятые с прибора перед записью"),
                      &MainWindow::showBackups);
    FileExit1 = make("FileExit1", QStringLiteral("В&ыход"), QStringLiteral("Закрыть программу"),
                     &MainWindow::exitProgram);
    HelpAbout1 = make("HelpAbout1", QStringLiteral("О программе..."),
                      QStringLiteral("Shows program information, version number and copyright"),
                      &MainWindow::showAbout);
    actUpdateFirmware = make("actUpdateFirmware", QStringLiteral("Обновить прошивку"), QString(),
                             &MainWindow::openFirmwareWindow);
    EditUndo1 = make("EditUndo1", QStringLiteral("Отменить"),
                     QStringLiteral("Отменить последнее изменение"), &MainWindow::undoChange);
    EditUndo1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    EditRedo1 = make("EditRedo1", QStringLiteral("Повторить"),
                     QStringLiteral("Повторить отменённое изменение"), &MainWindow::redoChange);
    EditRedo1->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    for (QAction* action :
         {actDevWrite, actSetDefault, FileSave1, FileSaveAs1, EditUndo1, EditRedo1})
        action->setEnabled(false);
}

QWidget* MainWindow::CreateSidePanel() {
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("SidePanel"));
    panel->setFixedWidth(kSidePanelWidth);
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(8, 8, 8, 8);
    column->addWidget(BoundButton(panel, QStringLiteral("Выход"), FileExit1, "btnExit"));
    column->addSpacing(16);
    auto* portLabel = new QLabel(QStringLiteral("Порт:"), panel);
    portLabel->setObjectName(QStringLiteral("lblPort"));
    column->addWidget(portLabel);
    cbbPorts = new PortComboBox(panel);
    cbbPorts->setObjectName(QStringLiteral("cbbPorts"));
    cbbPorts->setEditable(true);
    cbbPorts->setInsertPolicy(QComboBox::NoInsert);
    cbbPorts->setMaxVisibleItems(5);
    cbbPorts->setIconSize(QSize(16, 16));
    cbbPorts->addItem(DefaultPortSetting());
    portLabel->setBuddy(cbbPorts);
    column->addWidget(cbbPorts);
    column->addSpacing(16);
    column->addWidget(BoundButton(panel, QStringLiteral("Считать"), actDevRead, "btnRead"));
    column->addWidget(BoundButton(panel, QStringLiteral("Записать"), actDevWrite, "btnWrite"));
    QPushButton* reset = BoundButton(panel, QStringLiteral("Сброс"), actSetDefault, "btnReset");
    reset->setStatusTip(QStringLiteral("Сброс настроек прибора по умолчанию"));
    column->addWidget(reset);
    column->addStretch(1);
    connect(cbbPorts, &PortComboBox::dropDown, this, &MainWindow::refreshPortList);
    connect(cbbPorts, &QComboBox::editTextChanged, this, &MainWindow::onPortTextChanged);
    return panel;
}

void MainWindow::CreateMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&Файл"));
    file->setObjectName(QStringLiteral("File1"));
    file->menuAction()->setStatusTip(QStringLiteral("File related commands"));
    file->addAction(FileOpen1);
    file->addAction(FileSave1);
    file->addAction(FileSaveAs1);
    file->addSeparator();
    file->addAction(actBackups);
    file->addAction(FileExit1);

    QMenu* edit = menuBar()->addMenu(QStringLiteral("Правка"));
    edit->setObjectName(QStringLiteral("Edit1"));
    edit->addAction(EditUndo1);
    edit->addAction(EditRedo1);

    DeviceMenu = menuBar()->addMenu(QStringLiteral("Прибор"));
    DeviceMenu->setObjectName(QStringLiteral("DeviceMenu"));
    DeviceMenu->menuAction()->setStatusTip(QStringLiteral("Выберите действие с приборами"));
    DeviceMenu->addAction(actDevRead);
    DeviceMenu->addAction(actDevWrite);
    DeviceMenu->addAction(actSetDefault);

    menuBar()->addAction(actUpdateFirmware);

    QMenu* help = menuBar()->addMenu(QStringLiteral("П&омощь"));
    help->setObjectName(QStringLiteral("Help1"));
    help->menuAction()->setStatusTip(QStringLiteral("Help topics"));
    help->addAction(HelpAbout1);
}

void MainWindow::BuildDeviceMenu() {
    AppendDeviceMenu(
        DeviceMenu,
        [this](std::uint8_t code) { Dialogs::guarded(this, [&] { openEditorOfType(code); }); },
        [this] { Dialogs::guarded(this, [&] { reopenRecentType(); }); });
    const QString recent = FromUtf8(kRecentDeviceCaption);
    for (QAction* action : DeviceMenu->actions()) {
        if (action->text() == recent)
            actRecentDevice = action;
    }
}

void MainWindow::ShowStoredPort() {
    const QString port = ReadSetting(kSettingPort, DefaultPortSetting());
    {
        const QSignalBlocker quiet(cbbPorts); // start-up applies the text but does not store it
        cbbPorts->setEditText(port);
    }
    ApplyPortText(port);
}

std::function<void()> MainWindow::Guarded(void (MainWindow::*handler)()) {
    return [this, handler] {
        Dialogs::guarded(this, [&] { (this->*handler)(); });
    };
}

void MainWindow::SetPortSource(std::function<std::vector<PortListItem>()> source) {
    portSource_ = std::move(source);
}

void MainWindow::refreshPortList() {
    FillPortList(cbbPorts, portSource_ ? portSource_() : std::vector<PortListItem>{},
                 ImageList.value(0));
}

void MainWindow::ApplyPortText(const QString& text) {
    const std::string path = PortPathForName(text.toStdString());
    if (!path.empty())
        link_.port.SetPortName(path);
}

void MainWindow::onPortTextChanged(const QString& text) {
    ApplyPortText(text);
    WriteSetting(kSettingPort, text);
}

} // namespace tesmira::ui
