// The GSM editor's files tab: the sound files stored on the device, listed, uploaded and deleted
// by file commands, with the buttons held back while a command runs.
#pragma once

#include "gui/EditorExchange.h"

#include <QWidget>

class QListWidget;
class QPushButton;

namespace tesmira::ui {

class SoundFilesPage : public QWidget {
    Q_OBJECT
public:
    // The commands report to `editor` (which passes their outcome back here) over `link`; both
    // must outlive the page.
    SoundFilesPage(DeviceEditor& editor, LinkModule& link, QWidget* parent = nullptr);

    // A file command has been started and has not come to its final report.
    bool CommandRunning() const { return running_; }
    // The device answered: the list from its reply, the buttons back.
    void CommandDone();
    // No answer, or the port could not be opened: the buttons back, so the user can try again.
    void CommandFailed();
    // The buttons, unless a command runs (they come back at its end).
    void EnableButtons();

    QListWidget* list() const { return list_; }

private:
    void onRefresh();
    void onUpload();
    void onDelete();
    // Builds the frame and starts the command; what refuses it is shown, nothing starts.
    void Start(const FrameWriter& writeFrame);
    void SetButtons(bool on);

    DeviceEditor& editor_;
    LinkModule& link_;
    QListWidget* list_ = nullptr;
    QPushButton* refreshButton_ = nullptr;
    QPushButton* uploadButton_ = nullptr;
    QPushButton* deleteButton_ = nullptr;
    bool running_ = false;
};

} // namespace tesmira::ui
