// Settings in a private folder for widget tests of the application shell.
#pragma once

#include "support/TempDir.h"

#include <QString>
#include <QVariant>

namespace tesmira::test {

// Points the settings store and the program's data folder (XDG_DATA_HOME) at a fresh temporary
// folder for the lifetime of the object, so the user's own settings and backups are never read or
// written.
class TempSettings {
public:
    TempSettings();
    ~TempSettings();

    // The file the store writes (folder/Korvana/Tesmira.conf) and its whole text.
    QString fileName() const;
    QString fileText() const;
    // Straight access to a stored value, bypassing the program's rules.
    QVariant raw(const QString& name) const;
    void setRaw(const QString& name, const QVariant& value);

private:
    TempDir dir_;
};

} // namespace tesmira::test
