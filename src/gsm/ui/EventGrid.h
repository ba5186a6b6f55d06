// The event selection of the GSM editor's events tab: the group selector, the grid of the 255
// events with a check mark for each reported violation and restoration, toggled by a click, and
// the buttons that save and load one group as an event list file.
#pragma once

#include "gsm/EventSelection.h"

#include <QWidget>

class QComboBox;
class QPushButton;
class QVBoxLayout;

namespace tesmira::ui {

class TypingGrid;

class EventGrid : public QWidget {
    Q_OBJECT
public:
    // Shows and edits `selection`, which must outlive it. The descriptions are filled once.
    explicit EventGrid(EventSelection& selection, QWidget* parent = nullptr);

    // The group shown and its two toggle columns, from the selection.
    void Refresh();
    // Another button in the column of the load and save buttons, below them.
    void AddButton(QWidget* button);

    QComboBox* groupBox() const { return groupBox_; }
    TypingGrid* grid() const { return grid_; }

private:
    void onGroupChosen(int group);
    void onCellPressed(int row, int column);
    void onSave();
    void onLoad();

    EventSelection& selection_;
    QComboBox* groupBox_ = nullptr;
    TypingGrid* grid_ = nullptr;
    QPushButton* loadButton_ = nullptr;
    QPushButton* saveButton_ = nullptr;
    QVBoxLayout* buttons_ = nullptr;
};

} // namespace tesmira::ui
