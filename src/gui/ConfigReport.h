// The printable report of a configuration: its heading, then one table of labels and values per
// page or group of the window, as HTML or as a PDF printed from it.
#pragma once

#include "model/FieldTable.h"

#include <QDateTime>
#include <QString>

namespace tesmira::ui {

struct ReportHeading {
    QString device; // the device name, with its firmware version after a read
    QString origin; // the file or the device it came from; empty when not known
    QDateTime when;
};

QString ConfigReportHtml(const FieldTable& fields, const ReportHeading& heading);

// HTML for a name ending in ".html" or ".htm", PDF otherwise. Returns the error text, empty when
// the report was written.
QString SaveConfigReport(const FieldTable& fields, const ReportHeading& heading,
                         const QString& fileName);

} // namespace tesmira::ui
