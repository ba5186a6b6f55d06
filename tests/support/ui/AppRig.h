// Widget-test rigs for the application shell: settings in a private folder, an installed link
// data module.
#pragma once

#include "link/LinkClock.h"
#include "link/LinkModule.h"
#include "link/ui/QtPollTimer.h"
#include "support/TempDir.h"

#include <QString>
#include <QVariant>

#include <memory>

namespace tesmira::test {

// Points the settings store at a fresh temporary folder for the lifetime of the object, so the
// user's own settings are never read or written.
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

// A link data module with the program's poll timer, installed as the program's one while the
// object lives.
class InstalledDataModule {
public:
    explicit InstalledDataModule(LinkClock& clock = SystemLinkClock(),
                                 std::unique_ptr<SerialBackend> backend = MakeSerialBackend());
    ~InstalledDataModule();

    LinkModule& link() { return *link_; }

private:
    ui::QtPollTimer timer_;
    std::unique_ptr<LinkModule> link_;
};

} // namespace tesmira::test
