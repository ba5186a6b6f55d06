#include "support/ui/TempSettings.h"

#include <QCoreApplication>
#include <QFile>
#include <QSettings>

namespace tesmira::test {

TempSettings::TempSettings() {
    const QString folder = QString::fromStdString(dir_.path().string());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder);
    // The program's own files (its backups) go there too, under the names the program gives.
    qputenv("XDG_DATA_HOME", (folder + QStringLiteral("/data")).toUtf8());
    QCoreApplication::setOrganizationName(QStringLiteral("Korvana"));
    QCoreApplication::setApplicationName(QStringLiteral("Tesmira"));
}

TempSettings::~TempSettings() {
    // Later stores go to a folder that does not exist rather than the user's.
    const QString gone = QString::fromStdString((dir_.path() / "gone").string());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, gone);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, gone);
    qputenv("XDG_DATA_HOME", gone.toUtf8());
}

QString TempSettings::fileName() const {
    return QString::fromStdString((dir_.path() / "Korvana" / "Tesmira.conf").string());
}

QString TempSettings::fileText() const {
    QFile file(fileName());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

QVariant TempSettings::raw(const QString& name) const {
    return QSettings(QStringLiteral("Korvana"), QStringLiteral("Tesmira")).value(name);
}

void TempSettings::setRaw(const QString& name, const QVariant& value) {
    QSettings(QStringLiteral("Korvana"), QStringLiteral("Tesmira")).setValue(name, value);
}

} // namespace tesmira::test
