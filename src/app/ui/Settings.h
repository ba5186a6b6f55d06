// The three stored settings (port, last device type, last folder) and the rebuilding of the port
// list from the ports present.
#pragma once

#include "app/PortList.h"

#include <QIcon>
#include <QString>

#include <vector>

class QComboBox;

namespace tesmira::ui {

inline const QString kSettingPort = QStringLiteral("comportname");
inline const QString kSettingDeviceType = QStringLiteral("devicetype");
inline const QString kSettingFilePath = QStringLiteral("filepath");
// The main window's docks (QMainWindow::saveState): whether the link monitor was open.
inline const QString kSettingWindowState = QStringLiteral("windowstate");

// The stored text of `name`; a missing or empty value is replaced by `defaultValue`, which is
// stored and returned. Each call opens and closes the store (organisation "Korvana", application
// "Tesmira": the registry on Windows, an INI file under the user's config folder on Linux).
QString ReadSetting(const QString& name, const QString& defaultValue);
void WriteSetting(const QString& name, const QString& value);
// A setting of bytes; empty when missing (nothing is stored then).
QByteArray ReadBytesSetting(const QString& name);
void WriteBytesSetting(const QString& name, const QByteArray& value);

// The port text at first start ("ttyUSB0" on Linux, "COM1" on Windows).
QString DefaultPortSetting();
// A folder as the "filepath" setting holds it: native separators and a trailing separator.
QString FolderSetting(const QString& folder);
// The current folder at the moment of the call, as a setting.
QString DefaultFolderSetting();

// Replaces the items of `combo` by `items` (marked ones with `markedImage`). The text of an
// editable combo stays as it was, and no change is signalled.
void FillPortList(QComboBox* combo, const std::vector<PortListItem>& items,
                  const QIcon& markedImage);

} // namespace tesmira::ui
