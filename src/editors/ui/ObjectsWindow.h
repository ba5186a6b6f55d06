// The objects window of the radio repeater editors: a grid of the repeater's transmitter entries in
// two halves, each opened in the transmitter number dialog by a click on its number or picture.
#pragma once

#include "editors/ObjectList.h"

#include <QDialog>
#include <QIcon>
#include <QList>
#include <QPointer>

#include <cstdint>
#include <span>

class QLabel;
class QPushButton;

namespace tesmira::ui {

class ObjectGrid;
class TransmitterNumberDialog;

// Pictures of the object types 0..3, by type.
const QList<QIcon>& ObjectTypeImages();

// Made once per editor with its entry count and shown modally for each round trip. Fixed size, no
// caption buttons; "Закрыть" and Esc close it. The number dialog is made on the first cell opened
// and freed whenever the window closes.
class ObjectsWindow : public QDialog {
    Q_OBJECT
public:
    ObjectsWindow(std::size_t entryCount, QWidget* parent = nullptr);
    ~ObjectsWindow() override;

    // The editors' round trip: the record's entries in, the window shown modally, centred over the
    // main window, and the entries back into the record however it was closed (it has no cancel).
    // A span of another size than the window's entries is left alone and shows nothing.
    void EditObjects(std::span<std::uint8_t> objects);

    void LoadEntries(std::span<const std::uint8_t> source);
    void StoreEntries(std::span<std::uint8_t> destination) const;
    const ObjectList& Entries() const { return list_; }

    // Null until a cell is opened, and again once the window has closed.
    TransmitterNumberDialog* NumberDialog() const;

public slots:
    void done(int result) override;

private:
    void RefreshGrid();
    void onCellSelected(int row, int column);
    TransmitterEntry EditInDialog(int row, int column, const TransmitterEntry& entry);
    void CentreOverMainWindow();

    ObjectList list_;
    QLabel* lblObjList = nullptr;
    ObjectGrid* grdObjects = nullptr;
    QPushButton* btClose = nullptr;
    QPointer<TransmitterNumberDialog> numberDialog_;
};

} // namespace tesmira::ui
