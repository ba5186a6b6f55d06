#include "support/ui/MainWindowRig.h"

#include "app/ui/EditorList.h"

#include <QMenu>

#include <algorithm>

namespace tesmira::test {

bool LinkReadingEditor::LoadFromReply() {
    const auto received = Link().Reply();
    reply.assign(received.begin(), received.end());
    return FakeEditor::LoadFromReply();
}

Bytes TestDefaults(std::uint8_t type) {
    const std::size_t size = type == 26 ? 13 : type == 30 ? 58 : 116;
    Bytes record(size);
    for (std::size_t i = 0; i < size; ++i)
        record[i] = static_cast<std::uint8_t>(type + i);
    return record;
}

void RegisterTestEditors(ui::EditorFactory& factory) {
    for (std::uint8_t type : {26, 30, 35}) {
        factory.Register(type, [type](LinkModule& link) {
            return new LinkReadingEditor(link, TestDefaults(type), type == 35);
        });
    }
}

char* toString(const Commands& c) {
    const QString text =
        QStringLiteral("read %1 write %2 reset %3 open %4 saveAs %5 ports %6 firmware %7 exit %8 "
                       "about %9 items %10")
            .arg(c.read)
            .arg(c.write)
            .arg(c.reset)
            .arg(c.open)
            .arg(c.saveAs)
            .arg(c.ports)
            .arg(c.firmware)
            .arg(c.exit)
            .arg(c.about)
            .arg(c.deviceItems);
    return qstrdup(text.toUtf8().constData());
}

QList<QAction*> DeviceItems(ui::MainWindow& w) {
    QList<QAction*> items;
    for (QMenu* submenu : w.DeviceMenu->findChildren<QMenu*>())
        items += submenu->actions();
    items += w.actRecentDevice;
    return items;
}

Commands CommandsOf(ui::MainWindow& w) {
    bool items = true;
    for (QAction* item : DeviceItems(w))
        items = items && item->isEnabled();
    // "Сохранить" is enabled as "Сохранить как..." is; a difference shows as neither.
    const bool save = w.FileSaveAs1->isEnabled() && w.FileSave1->isEnabled();
    return {w.actDevRead->isEnabled(),
            w.actDevWrite->isEnabled(),
            w.actSetDefault->isEnabled(),
            w.FileOpen1->isEnabled(),
            save,
            w.cbbPorts->isEnabled(),
            w.actUpdateFirmware->isEnabled(),
            w.FileExit1->isEnabled(),
            w.HelpAbout1->isEnabled(),
            items};
}

MainWindowRig::MainWindowRig(LinkClock& clock, std::unique_ptr<SerialBackend> backend,
                             const EditorList& editors)
    : link_(clock, std::move(backend)) {
    editors(editors_);
    window_ = std::make_unique<ui::MainWindow>(link_.link, editors_);
}

MainWindowRig::~MainWindowRig() {
    window_.reset();
    ui::Dialogs::takeMessages();
}

FakeEditor* MainWindowRig::editor() {
    return dynamic_cast<FakeEditor*>(editors_.Current());
}

void MainWindowRig::Receive(const Bytes& bytes) {
    link().ClearReceive();
    link().AppendReceived(bytes.data(), bytes.size());
}

bool MainWindowRig::Read(const std::string& portPath, int timeoutMs) {
    window().cbbPorts->setEditText(QString::fromStdString(portPath));
    window().actDevRead->trigger();
    if (CommandsOf(window()) != kExchange)
        return false;
    return waitUntil([&] { return !link().ExchangeRunning(); }, timeoutMs);
}

ProgramRig::ProgramRig(LinkClock& clock)
    : MainWindowRig(clock, MakeSerialBackend(), ui::RegisterEditors) {}

} // namespace tesmira::test
