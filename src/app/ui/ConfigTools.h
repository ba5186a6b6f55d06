// The main window's commands over the open configuration's fields: compare it with a file or
// with the device ("Различия"), and save its report.
#pragma once

#include "model/FieldTable.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>

class QAction;

namespace tesmira {
class DeviceConfig;
class LinkModule;
} // namespace tesmira

namespace tesmira::ui {

class DeviceEditor;
class DifferencesDialog;
class EditorFactory;
class MainWindow;
class ReportBridge;

class ConfigTools : public QObject {
    Q_OBJECT
public:
    // Adds its commands to the window's "Файл" and "Прибор" menus.
    ConfigTools(MainWindow& window, LinkModule& link, EditorFactory& editors);

    QAction* FileCompare1 = nullptr;  // "Сравнить с файлом..."
    QAction* actDevCompare = nullptr; // "Сравнить с прибором"
    QAction* FileReport1 = nullptr;   // "Отчёт..."

    // Where the open editor's configuration came from, for the report; kept while that editor is
    // the one open.
    void SetOrigin(const QString& origin);

    // The dialog of the last comparison, while it is open.
    DifferencesDialog* differences() const;

    // Each does nothing while no editor is open.
    void compareWithFile();
    void compareWithDevice();
    void saveReport();

private:
    // Enabled with "Сохранить как...": while an editor is open and no exchange runs.
    void SetEnabled(bool on);
    // Compares the editor's fields with `other`'s; shows the result, or why it cannot be had.
    void ShowComparison(const DeviceConfig& other, const QString& otherTitle);
    void OnReadReport(int code, int arg);
    void ReadEnded();

    MainWindow& window_;
    LinkModule& link_;
    EditorFactory& editors_;
    QPointer<DeviceEditor> originEditor_;
    QString origin_;
    QPointer<DifferencesDialog> dialog_;
    std::shared_ptr<ReportBridge> bridge_;
};

} // namespace tesmira::ui
