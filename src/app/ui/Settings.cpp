#include "app/ui/Settings.h"

#include "app/PortDiscovery.h"

#include <QComboBox>
#include <QDir>
#include <QSettings>
#include <QSignalBlocker>

namespace tesmira::ui {

QString ReadSetting(const QString& name, const QString& defaultValue) {
    QSettings store(QStringLiteral("Korvana"), QStringLiteral("Tesmira"));
    const QString text = store.value(name).toString();
    if (!text.isEmpty())
        return text;
    store.setValue(name, defaultValue);
    return defaultValue;
}

void WriteSetting(const QString& name, const QString& value) {
    QSettings store(QStringLiteral("Korvana"), QStringLiteral("Tesmira"));
    store.setValue(name, value);
}

QByteArray ReadBytesSetting(const QString& name) {
    QSettings store(QStringLiteral("Korvana"), QStringLiteral("Tesmira"));
    return store.value(name).toByteArray();
}

void WriteBytesSetting(const QString& name, const QByteArray& value) {
    QSettings store(QStringLiteral("Korvana"), QStringLiteral("Tesmira"));
    store.setValue(name, value);
}

QString DefaultPortSetting() {
    return QString::fromStdString(DefaultPortText());
}

QString FolderSetting(const QString& folder) {
    QString setting = QDir::toNativeSeparators(folder);
    if (!setting.endsWith(QDir::separator()))
        setting += QDir::separator();
    return setting;
}

QString DefaultFolderSetting() {
    return FolderSetting(QDir::currentPath());
}

void FillPortList(QComboBox* combo, const std::vector<PortListItem>& items,
                  const QIcon& markedImage) {
    const QSignalBlocker quiet(combo);
    const QString text = combo->currentText();
    combo->clear();
    for (const PortListItem& item : items)
        combo->addItem(item.marked ? markedImage : QIcon(), QString::fromStdString(item.caption));
    // No item is current, so that choosing any item, also the first, changes the text.
    combo->setCurrentIndex(-1);
    if (combo->isEditable())
        combo->setEditText(text);
}

} // namespace tesmira::ui
