// The main window under test: private settings, its own link module and editor factory, dialogs in
// test mode and small editors for a few device types.
#pragma once

#include "app/ui/MainWindow.h"
#include "gui/EditorFactory.h"
#include "support/ui/FakeEditor.h"
#include "support/ui/LinkFixture.h"
#include "support/ui/TempSettings.h"
#include "support/ui/UiTestSupport.h"

#include <QAction>

#include <functional>
#include <memory>
#include <string>

namespace tesmira::test {

// A small editor whose LoadFromReply reads the link's receive buffer, as real ones do.
class LinkReadingEditor : public FakeEditor {
public:
    using FakeEditor::FakeEditor;
    bool LoadFromReply() override;
};

// Editors for 26 (13-byte record), 30 (58 bytes) and 35 (116 bytes, reports its closing, queued).
// Record byte i of type t is t + i.
void RegisterTestEditors(ui::EditorFactory& factory);
Bytes TestDefaults(std::uint8_t type);

// Which commands of the main window can be used, in the order of its state table.
struct Commands {
    bool read, write, reset, open, saveAs, ports, firmware, exit, about, deviceItems;
    bool operator==(const Commands&) const = default;
};
// For QCOMPARE's failure message.
char* toString(const Commands& commands);

inline constexpr Commands kNoDevice{true, false, false, true, false, true, true, true, true, true};
inline constexpr Commands kEditor{true, true, true, true, true, true, true, true, true, true};
inline constexpr Commands kExchange{false, false, false, false, false,
                                    false, false, true,  true,  true};

// "Недавно выбранный" and every item of the device submenus.
QList<QAction*> DeviceItems(ui::MainWindow& window);
Commands CommandsOf(ui::MainWindow& window);

class MainWindowRig {
public:
    using EditorList = std::function<void(ui::EditorFactory&)>;

    // The rig's factory offers the editors that `editors` registers.
    explicit MainWindowRig(LinkClock& clock = SystemLinkClock(),
                           std::unique_ptr<SerialBackend> backend = MakeSerialBackend(),
                           const EditorList& editors = RegisterTestEditors);
    ~MainWindowRig();

    ui::MainWindow& window() { return *window_; }
    LinkModule& link() { return link_.link; }
    ui::EditorFactory& editors() { return editors_; }
    TempSettings& settings() { return settings_; }
    // The current editor as the test's own class, or null.
    FakeEditor* editor();
    // Puts bytes into the receive buffer as the port's poll does.
    void Receive(const Bytes& bytes);
    // Sets the port text to `portPath` and presses Read; true when the commands went to the
    // exchange state and the exchange ended within `timeoutMs`.
    bool Read(const std::string& portPath, int timeoutMs = 30000);

private:
    TempSettings settings_;
    DialogsInTestMode dialogs_;
    LinkFixture link_;
    ui::EditorFactory editors_{link_.link};
    std::unique_ptr<ui::MainWindow> window_;
};

// The main window with the program's own editors.
class ProgramRig : public MainWindowRig {
public:
    explicit ProgramRig(LinkClock& clock = SystemLinkClock());
};

} // namespace tesmira::test
