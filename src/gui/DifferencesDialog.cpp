#include "gui/DifferencesDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

namespace tesmira::ui {

namespace {

QString FieldText(const FieldDifference& difference) {
    const QString label = QString::fromStdString(difference.label);
    if (difference.page.empty())
        return label;
    return QString::fromStdString(difference.page) + QStringLiteral(" — ") + label;
}

} // namespace

DifferencesDialog::DifferencesDialog(const std::vector<FieldDifference>& differences,
                                     const QString& otherTitle, QWidget* parent)
    : QDialog(parent), differences_(differences) {
    setObjectName(QStringLiteral("DifferencesDialog"));
    setWindowTitle(QStringLiteral("Различия"));
    tblDifferences = new QTableWidget(static_cast<int>(differences_.size()), 3, this);
    tblDifferences->setObjectName(QStringLiteral("tblDifferences"));
    tblDifferences->setHorizontalHeaderLabels(
        {QStringLiteral("Поле"), QStringLiteral("В окне"), otherTitle});
    tblDifferences->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblDifferences->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblDifferences->verticalHeader()->hide();
    tblDifferences->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int row = 0; row < tblDifferences->rowCount(); ++row) {
        const FieldDifference& d = differences_[static_cast<std::size_t>(row)];
        const QString texts[] = {FieldText(d), QString::fromStdString(d.left),
                                 QString::fromStdString(d.right)};
        for (int column = 0; column < 3; ++column)
            tblDifferences->setItem(row, column, new QTableWidgetItem(texts[column]));
        tblDifferences->item(row, 0)->setToolTip(QString::fromStdString(d.id));
    }
    tblDifferences->resizeColumnsToContents();
    lblNoDifferences = new QLabel(QStringLiteral("Различий нет"), this);
    lblNoDifferences->setObjectName(QStringLiteral("lblNoDifferences"));
    lblNoDifferences->setVisible(differences_.empty());
    tblDifferences->setVisible(!differences_.empty());
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblNoDifferences);
    layout->addWidget(tblDifferences);
    layout->addWidget(buttons);
    resize(640, 420);
    connect(tblDifferences, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
        const FieldDifference& d = differences_.at(static_cast<std::size_t>(row));
        emit fieldChosen(d.id, QString::fromStdString(d.control), d.cell);
    });
}

} // namespace tesmira::ui
