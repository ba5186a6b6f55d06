#include "gui/EditHelpers.h"

#include "model/TextHelpers.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSignalBlocker>

#include <memory>
#include <vector>

namespace tesmira::ui {

namespace {

QMdiSubWindow* AddChild(QMdiArea* area, QWidget* child, Qt::WindowFlags flags) {
    QMdiSubWindow* frame = area->addSubWindow(child, flags);
    frame->setAttribute(Qt::WA_DeleteOnClose);
    frame->setSystemMenu(nullptr);
    return frame;
}

} // namespace

QMdiSubWindow* AddFramelessChild(QMdiArea* area, QWidget* child) {
    return AddChild(area, child, Qt::FramelessWindowHint);
}

QMdiSubWindow* AddCaptionedChild(QMdiArea* area, QWidget* child) {
    // A customised frame with the title hint alone: caption, no system menu, no buttons.
    return AddChild(area, child, Qt::CustomizeWindowHint | Qt::WindowTitleHint);
}

std::filesystem::path FilePath(const QString& name) {
    return QFile(name).filesystemFileName();
}

namespace {

// Everything that may signal when `button` changes: the button itself and, for exclusive
// buttons, the peer it unchecks and the group that reports both.
std::vector<QObject*> SignallersOf(QAbstractButton* button) {
    std::vector<QObject*> objects{button};
    if (QButtonGroup* group = button->group()) {
        objects.push_back(group);
        for (QAbstractButton* peer : group->buttons()) {
            objects.push_back(peer);
        }
    } else if (button->autoExclusive() && button->parentWidget() != nullptr) {
        const auto peers = button->parentWidget()->findChildren<QAbstractButton*>(
            QString(), Qt::FindDirectChildrenOnly);
        for (QAbstractButton* peer : peers) {
            if (peer != button && peer->autoExclusive()) {
                objects.push_back(peer);
            }
        }
    }
    return objects;
}

} // namespace

void SetCheckedSilently(QAbstractButton* button, bool checked) {
    if (button == nullptr) {
        return;
    }
    std::vector<std::unique_ptr<QSignalBlocker>> blockers;
    for (QObject* object : SignallersOf(button)) {
        blockers.push_back(std::make_unique<QSignalBlocker>(object));
    }
    button->setChecked(checked);
}

int ReadClampedInt(QLineEdit* edit, int min, int max, int fallback) {
    if (edit == nullptr) {
        return fallback;
    }
    const ClampedIntResult result = ClampedInt(edit->text().toStdString(), min, max, fallback);
    if (result.correctedText) {
        edit->setText(QString::fromStdString(*result.correctedText));
    }
    return result.value;
}

void FillComboFromList(QComboBox* box, const QStringList& texts) {
    if (box == nullptr) {
        return;
    }
    box->clear();
    box->addItems(texts);
}

} // namespace tesmira::ui
