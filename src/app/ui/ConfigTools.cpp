#include "app/ui/ConfigTools.h"

#include "app/DeviceConfigs.h"
#include "app/ui/MainWindow.h"
#include "app/ui/Settings.h"
#include "app/ui/WorkArea.h"
#include "gui/ConfigReport.h"
#include "gui/Dialogs.h"
#include "gui/DifferencesDialog.h"
#include "gui/EditHelpers.h"
#include "gui/EditorExchange.h"
#include "gui/EditorFactory.h"
#include "gui/ReportBridge.h"
#include "link/LinkModule.h"
#include "model/ConfigFile.h"
#include "model/DeviceConfig.h"

#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QMdiSubWindow>
#include <QMenu>

namespace tesmira::ui {

namespace {

const QString kConfigFilter = QStringLiteral("Файл конфигурации прибора (*.bcf)");
const QString kReportFilter = QStringLiteral("Документ PDF (*.pdf);;Страница HTML (*.html *.htm)");
const QString kCompareTitle = QStringLiteral("Сравнение");

} // namespace

ConfigTools::ConfigTools(MainWindow& window, LinkModule& link, EditorFactory& editors)
    : QObject(&window), window_(window), link_(link), editors_(editors) {
    auto make = [this](const char* name, const QString& caption, const QString& hint,
                       void (ConfigTools::*handler)()) {
        auto* action = new QAction(caption, this);
        action->setObjectName(QString::fromLatin1(name));
        action->setStatusTip(hint);
        connect(action, &QAction::triggered, this,
                [this, handler] { Dialogs::guarded(&window_, [&] { (this->*handler)(); }); });
        return action;
    };
    FileCompare1 = make("FileCompare1", QStringLiteral("Сравнить с файлом..."),
                        QStringLiteral("Показать, чем настройки в окне отличаются от файла"),
                        &ConfigTools::compareWithFile);
    FileReport1 = make("FileReport1", QStringLiteral("Отчёт..."),
                       QStringLiteral("Сохранить настройки в окне как документ PDF или HTML"),
                       &ConfigTools::saveReport);
    actDevCompare = make("actDevCompare", QStringLiteral("Сравнить с прибором"),
                         QStringLiteral("Считать прибор и показать, чем он отличается от окна"),
                         &ConfigTools::compareWithDevice);
    if (auto* file = window.findChild<QMenu*>(QStringLiteral("File1"))) {
        QAction* exit = window.FileExit1;
        file->insertAction(exit, FileCompare1);
        file->insertAction(exit, FileReport1);
        file->insertSeparator(exit);
    }
    if (QMenu* device = window.DeviceMenu) {
        device->insertAction(window.actSetDefault, actDevCompare);
    }
    connect(window.FileSaveAs1, &QAction::changed, this,
            [this] { SetEnabled(window_.FileSaveAs1->isEnabled()); });
    SetEnabled(window.FileSaveAs1->isEnabled());
}

void ConfigTools::SetEnabled(bool on) {
    for (QAction* action : {FileCompare1, FileReport1, actDevCompare})
        action->setEnabled(on);
}

DifferencesDialog* ConfigTools::differences() const {
    return dialog_.data();
}

void ConfigTools::SetOrigin(const QString& origin) {
    originEditor_ = editors_.Current();
    origin_ = origin;
}

void ConfigTools::ShowComparison(const DeviceConfig& other, const QString& otherTitle) {
    DeviceEditor* editor = editors_.Current();
    if (editor == nullptr)
        return;
    const FieldComparison result =
        CompareFields(editor->DeviceType, editor->ShownFields(), other.Type(), other.Fields());
    if (!result.refusal.empty()) {
        Dialogs::message(&window_, kCompareTitle, QString::fromStdString(result.refusal),
                         MessageIcon::Information);
        return;
    }
    if (dialog_)
        dialog_->close();
    auto* dialog = new DifferencesDialog(result.differences, otherTitle, &window_);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog_ = dialog;
    QPointer<DeviceEditor> target = editor;
    connect(dialog, &DifferencesDialog::fieldChosen, this,
            [this, target](const std::string& id, const QString& control,
                           std::optional<FieldCell> cell) {
                if (!target || control.isEmpty())
                    return;
                window_.activateWindow();
                if (auto* frame = qobject_cast<QMdiSubWindow*>(target->parentWidget()))
                    window_.workArea()->setActiveSubWindow(frame);
                target->ShowField(id, control, cell);
            });
    dialog->show();
}

void ConfigTools::compareWithFile() {
    if (editors_.Current() == nullptr)
        return;
    const QString folder = ReadSetting(kSettingFilePath, DefaultFolderSetting());
    const QString name =
        Dialogs::openFileName(&window_, QStringLiteral("Сравнить с файлом"), folder, kConfigFilter);
    if (name.isEmpty())
        return;
    ConfigFile reader;
    const std::uint8_t type = reader.LoadFrom(FilePath(name)); // throws on a bad file
    const std::unique_ptr<DeviceConfig> other = MakeDeviceConfig(type);
    if (other == nullptr || other->Type() != editors_.Current()->DeviceType) {
        Dialogs::message(&window_, kCompareTitle, FromUtf8(kImageOfOtherTypeText),
                         MessageIcon::Information);
        return;
    }
    if (!other->LoadFromFile(reader)) // may throw for a damaged block
        throw ConfigFileError(kFileDamagedText);
    ShowComparison(*other, QStringLiteral("В файле"));
}

void ConfigTools::compareWithDevice() {
    if (editors_.Current() == nullptr)
        return;
    if (link_.ExchangeBusy()) {
        window_.ShowStatus(kStatusRed, FromUtf8(kLinkBusyText));
        return;
    }
    window_.EnableControls(false);
    window_.UpdateDeviceActions(); // no second compare while this one reads
    bridge_ = ReportBridge::create(
        this, [this](ExchangeReport code, int arg) { OnReadReport(static_cast<int>(code), arg); });
    if (!link_.StartExchange(ExchangeMode::Read, bridge_)) {
        ReadEnded();
        window_.ShowStatus(kStatusRed, FromUtf8(kLinkBusyText));
        return;
    }
    window_.status().SetText(QStringLiteral("Чтение прибора для сравнения..."));
}

void ConfigTools::ReadEnded() {
    window_.EnableControls(true);
    window_.UpdateDeviceActions();
}

// The read's reports; only the device's configuration is taken, the editor stays as it is.
void ConfigTools::OnReadReport(int code, int arg) {
    switch (static_cast<ExchangeReport>(code & 0x7F)) {
    case ExchangeReport::PortFailed:
        ReadEnded();
        window_.ShowStatus(kStatusRed, QStringLiteral("Невозможно открыть порт"));
        break;
    case ExchangeReport::NoValidReply:
        ReadEnded();
        window_.ShowStatus(kStatusRed,
                           QStringLiteral("Нет связи, проверьте соединения или номер порта"));
        break;
    case ExchangeReport::Unsupported:
        ReadEnded();
        window_.ShowStatus(kStatusRed, QStringLiteral("Прибор не поддерживается"));
        break;
    case ExchangeReport::Identified: {
        ReadEnded();
        const std::unique_ptr<DeviceConfig> device =
            MakeDeviceConfig(static_cast<std::uint8_t>(arg & 0xFF));
        if (device == nullptr || editors_.Current() == nullptr ||
            device->Type() != editors_.Current()->DeviceType) {
            window_.ShowStatus(kStatusRed, FromUtf8(kCompareOtherTypeText));
            Dialogs::message(&window_, kCompareTitle, FromUtf8(kCompareOtherTypeText),
                             MessageIcon::Information);
            return;
        }
        const ConfigLoad load = device->LoadFromReply(link_.Reply());
        if (!load.Taken()) {
            window_.ShowStatus(kStatusRed, QString::fromStdString(load.refusal));
            return;
        }
        window_.ShowStatus(kStatusGreen, QStringLiteral("Прибор считан для сравнения"));
        ShowComparison(*device, QStringLiteral("В приборе"));
        break;
    }
    default:
        break;
    }
}

void ConfigTools::saveReport() {
    DeviceEditor* editor = editors_.Current();
    if (editor == nullptr)
        return;
    const QString folder = ReadSetting(kSettingFilePath, DefaultFolderSetting());
    QString name = Dialogs::saveFileName(&window_, QStringLiteral("Отчёт"), folder, kReportFilter);
    if (name.isEmpty())
        return;
    const QString suffix = QFileInfo(name).suffix().toLower();
    if (suffix != QStringLiteral("pdf") && suffix != QStringLiteral("html") &&
        suffix != QStringLiteral("htm"))
        name += QStringLiteral(".pdf");
    const ReportHeading heading{editor->windowTitle(),
                                originEditor_ == editor ? origin_ : QString(),
                                QDateTime::currentDateTime()};
    const QString error = SaveConfigReport(editor->ShownFields(), heading, name);
    if (!error.isEmpty()) {
        Dialogs::showError(&window_, error);
        return;
    }
    window_.status().SetText(QStringLiteral("Отчёт сохранён: ") +
                             QDir::toNativeSeparators(QFileInfo(name).absoluteFilePath()));
}

} // namespace tesmira::ui
