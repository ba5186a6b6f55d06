#include "gui/ConfigReport.h"

#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>

namespace tesmira::ui {

namespace {

QString Escaped(const std::string& text) {
    return QString::fromStdString(text).toHtmlEscaped();
}

bool IsHtmlName(const QString& fileName) {
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    return suffix == QStringLiteral("html") || suffix == QStringLiteral("htm");
}

QString CannotWriteText(const QString& fileName) {
    return QStringLiteral("Не удалось сохранить отчёт в файл %1").arg(fileName);
}

} // namespace

QString ConfigReportHtml(const FieldTable& fields, const ReportHeading& heading) {
    QString html = QStringLiteral("<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"/><title>") +
                   heading.device.toHtmlEscaped() + QStringLiteral("</title></head><body>\n");
    html += QStringLiteral("<h1>") + heading.device.toHtmlEscaped() + QStringLiteral("</h1>\n");
    if (!heading.origin.isEmpty())
        html += QStringLiteral("<p>Источник: ") + heading.origin.toHtmlEscaped() +
                QStringLiteral("</p>\n");
    html += QStringLiteral("<p>Дата: ") +
            heading.when.toString(QStringLiteral("dd.MM.yyyy HH:mm")).toHtmlEscaped() +
            QStringLiteral("</p>\n");
    const std::string* page = nullptr;
    for (const Field& field : fields.fields()) {
        if (page == nullptr || *page != field.page) {
            if (page != nullptr)
                html += QStringLiteral("</table>\n");
            page = &field.page;
            html += QStringLiteral("<h2>") + Escaped(field.page) +
                    QStringLiteral("</h2>\n<table border=\"1\" cellspacing=\"0\" "
                                   "cellpadding=\"3\" width=\"100%\">\n");
        }
        html += QStringLiteral("<tr><td width=\"60%\">") + Escaped(field.label) +
                QStringLiteral("</td><td>") + Escaped(field.value) + QStringLiteral("</td></tr>\n");
    }
    if (page != nullptr)
        html += QStringLiteral("</table>\n");
    return html + QStringLiteral("</body></html>\n");
}

QString SaveConfigReport(const FieldTable& fields, const ReportHeading& heading,
                         const QString& fileName) {
    const QString html = ConfigReportHtml(fields, heading);
    if (IsHtmlName(fileName)) {
        QFile file(fileName);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(html.toUtf8()) < 0 || !file.flush())
            return CannotWriteText(fileName);
        return {};
    }
    // QPdfWriter says nothing when it cannot open its file: ask first, and check what it left.
    {
        QFile probe(fileName);
        if (!probe.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return CannotWriteText(fileName);
    }
    {
        QPdfWriter writer(fileName);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
        writer.setTitle(heading.device);
        writer.setCreator(QStringLiteral("Tesmira"));
        QTextDocument document;
        document.setHtml(html);
        document.print(&writer);
    }
    if (QFileInfo(fileName).size() == 0)
        return CannotWriteText(fileName);
    return {};
}

} // namespace tesmira::ui
