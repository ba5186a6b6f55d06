// The one seam through which every window asks for a file name or shows a message box, so that
// tests can answer them without a modal loop.
#pragma once

#include <QList>
#include <QString>

#include <exception>
#include <functional>
#include <optional>

class QWidget;

namespace tesmira::ui {

enum class MessageIcon { None, Information, Warning, Error, Question };

enum class SaveAnswer { Save, Discard, Cancel };

struct ShownMessage {
    QString title;
    QString text;
    MessageIcon icon;

    bool operator==(const ShownMessage&) const = default;
};

class Dialogs {
public:
    // A modal message box with only an OK button.
    static void message(QWidget* parent, const QString& title, const QString& text,
                        MessageIcon icon);

    // A modal question with Yes and No buttons (No is the default); true for Yes.
    static bool ask(QWidget* parent, const QString& title, const QString& text,
                    MessageIcon icon = MessageIcon::Question);
    // A modal question with Save, Discard and Cancel buttons (Save is the default).
    static SaveAnswer askToSave(QWidget* parent, const QString& title, const QString& text);
    // Closes the question asked over `parent` that is still open, as if No had been pressed:
    // what it asked about has ended meanwhile, so its answer no longer matters. Nothing when none
    // is open.
    static void closeQuestion(QWidget* parent);

    // The application's standard error box: title "Программатор", error icon, OK, the text with a
    // period appended when it ends with a letter or a digit.
    static void showError(QWidget* parent, const QString& text);
    static QString errorBoxText(const QString& text);

    // Runs `action` and shows anything it throws in the standard error box. Returns false when
    // the action threw. Actions leave their state as it was before they throw.
    template <typename F> static bool guarded(QWidget* parent, F&& action) {
        try {
            action();
            return true;
        } catch (const std::exception& e) {
            showError(parent, QString::fromUtf8(e.what()));
        } catch (...) {
            showError(parent, QStringLiteral("Неизвестная ошибка"));
        }
        return false;
    }

    // Empty result: the user cancelled.
    static QString openFileName(QWidget* parent, const QString& caption, const QString& dir,
                                const QString& filter);
    // Never asks before overwriting an existing file.
    static QString saveFileName(QWidget* parent, const QString& caption, const QString& dir,
                                const QString& filter);

    // --- test seam -------------------------------------------------------------------------
    // In test mode nothing modal is shown: messages and questions are recorded (a question with
    // its icon), file dialogs and questions return the queued answers (an empty queue
    // answers as a cancel, or No).
    static void setTestMode(bool on);
    static bool testMode();
    static void setNextFileName(const QString& name);
    static void setNextAnswer(bool yes);
    // The answer of the next askToSave; an empty queue answers Cancel.
    static void setNextSaveAnswer(SaveAnswer answer);
    // Runs `meanwhile` inside the next question, as what happens while it is open would (a
    // report delivered by its modal loop); a closeQuestion from there makes it answer No.
    static void setWhileAsking(std::function<void()> meanwhile);
    static QList<ShownMessage> takeMessages();
    // The folder and filter the last file dialog was opened with (test mode only).
    static QString lastDialogDir();
    static QString lastDialogFilter();
};

} // namespace tesmira::ui
