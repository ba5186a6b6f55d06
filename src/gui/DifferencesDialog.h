// "Различия": the fields in which the editor's configuration differs from a file's or the
// device's, one row each; a double click on a row shows that field's control in the editor.
#pragma once

#include "model/FieldTable.h"

#include <QDialog>

#include <optional>

class QLabel;
class QTableWidget;

namespace tesmira::ui {

class DifferencesDialog : public QDialog {
    Q_OBJECT
public:
    // `otherTitle` heads the third column: "В файле" or "В приборе".
    DifferencesDialog(const std::vector<FieldDifference>& differences, const QString& otherTitle,
                      QWidget* parent = nullptr);

    QTableWidget* tblDifferences = nullptr;
    QLabel* lblNoDifferences = nullptr; // "Различий нет", shown when the list is empty

signals:
    // A row was double-clicked; `control` is empty for a field no control shows.
    void fieldChosen(const std::string& id, const QString& control,
                     std::optional<tesmira::FieldCell> cell);

private:
    std::vector<FieldDifference> differences_;
};

} // namespace tesmira::ui
