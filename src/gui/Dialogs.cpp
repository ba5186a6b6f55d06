#include "gui/Dialogs.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>

#include <optional>
#include <utility>

namespace tesmira::ui {

namespace {

struct TestState {
    bool on = false;
    QList<QString> fileNames;
    QList<bool> answers;
    QList<SaveAnswer> saveAnswers;
    QList<ShownMessage> messages;
    QString lastDir;
    QString lastFilter;
    std::function<void()> whileAsking;
    std::optional<QWidget*> asking; // the parent of the question being asked
    bool questionClosed = false;
};

// The questions whose modal loop runs, innermost last.
QList<QPointer<QMessageBox>>& openQuestions() {
    static QList<QPointer<QMessageBox>> boxes;
    return boxes;
}

TestState& state() {
    static TestState s;
    return s;
}

QMessageBox::Icon toQt(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QString takeQueuedName(const QString& dir, const QString& filter) {
    state().lastDir = dir;
    state().lastFilter = filter;
    return state().fileNames.isEmpty() ? QString() : state().fileNames.takeFirst();
}

} // namespace

void Dialogs::message(QWidget* parent, const QString& title, const QString& text,
                      MessageIcon icon) {
    if (state().on) {
        state().messages.append({title, text, icon});
        return;
    }
    QMessageBox box(toQt(icon), title, text, QMessageBox::Ok, parent);
    box.exec();
}

bool Dialogs::ask(QWidget* parent, const QString& title, const QString& text, MessageIcon icon) {
    if (state().on) {
        state().messages.append({title, text, icon});
        const bool yes = !state().answers.isEmpty() && state().answers.takeFirst();
        if (const std::function<void()> meanwhile = std::exchange(state().whileAsking, {})) {
            state().asking = parent;
            state().questionClosed = false;
            meanwhile();
            state().asking.reset();
            if (state().questionClosed)
                return false;
        }
        return yes;
    }
    QMessageBox box(toQt(icon), title, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setObjectName(QStringLiteral("QuestionBox"));
    box.setDefaultButton(QMessageBox::No);
    openQuestions().append(&box);
    const int answer = box.exec();
    openQuestions().removeAll(&box);
    return answer == QMessageBox::Yes;
}

SaveAnswer Dialogs::askToSave(QWidget* parent, const QString& title, const QString& text) {
    if (state().on) {
        state().messages.append({title, text, MessageIcon::Question});
        return state().saveAnswers.isEmpty() ? SaveAnswer::Cancel : state().saveAnswers.takeFirst();
    }
    QMessageBox box(QMessageBox::Question, title, text,
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
    box.setDefaultButton(QMessageBox::Save);
    switch (box.exec()) {
    case QMessageBox::Save:
        return SaveAnswer::Save;
    case QMessageBox::Discard:
        return SaveAnswer::Discard;
    default:
        return SaveAnswer::Cancel;
    }
}

void Dialogs::closeQuestion(QWidget* parent) {
    if (state().on) {
        if (state().asking == parent)
            state().questionClosed = true;
        return;
    }
    for (const QPointer<QMessageBox>& box : openQuestions()) {
        if (box && box->parentWidget() == parent)
            box->done(QMessageBox::No);
    }
}

QString Dialogs::errorBoxText(const QString& text) {
    if (!text.isEmpty() && text.back().isLetterOrNumber())
        return text + QLatin1Char('.');
    return text;
}

void Dialogs::showError(QWidget* parent, const QString& text) {
    message(parent, QStringLiteral("Программатор"), errorBoxText(text), MessageIcon::Error);
}

QString Dialogs::openFileName(QWidget* parent, const QString& caption, const QString& dir,
                              const QString& filter) {
    if (state().on)
        return takeQueuedName(dir, filter);
    return QFileDialog::getOpenFileName(parent, caption, dir, filter);
}

QString Dialogs::saveFileName(QWidget* parent, const QString& caption, const QString& dir,
                              const QString& filter) {
    if (state().on)
        return takeQueuedName(dir, filter);
    return QFileDialog::getSaveFileName(parent, caption, dir, filter, nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

void Dialogs::setTestMode(bool on) {
    state() = TestState{};
    state().on = on;
}

bool Dialogs::testMode() {
    return state().on;
}

void Dialogs::setNextFileName(const QString& name) {
    state().fileNames.append(name);
}

void Dialogs::setNextAnswer(bool yes) {
    state().answers.append(yes);
}

void Dialogs::setNextSaveAnswer(SaveAnswer answer) {
    state().saveAnswers.append(answer);
}

void Dialogs::setWhileAsking(std::function<void()> meanwhile) {
    state().whileAsking = std::move(meanwhile);
}

QList<ShownMessage> Dialogs::takeMessages() {
    QList<ShownMessage> out;
    out.swap(state().messages);
    return out;
}

QString Dialogs::lastDialogDir() {
    return state().lastDir;
}

QString Dialogs::lastDialogFilter() {
    return state().lastFilter;
}

} // namespace tesmira::ui
