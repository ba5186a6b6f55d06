// The type 34 and 35 repeater editors inside the real main window, talking through the real serial
// driver to the device simulator: read, edit by keys and clicks (objects included, through the
// objects window and the number dialog), write, save, reset and open.
#include "support/ui/FormDriver.h"
#include "support/ui/MainWindowRig.h"
#include "support/ui/WidgetTestMain.h"
#include "tools/DevsimProcess.h"

#include "editors/ui/RepeaterEditor34.h"
#include "editors/ui/RepeaterEditor35.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

using namespace tesmira;
using namespace tesmira::test;
using tesmira::ui::Dialogs;
using tesmira::ui::MainWindow;

namespace {

constexpr int kExchangeWaitMs = 30000;

Bytes Joined(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

// After Edit34: "Промежуточный 2", system number 100, letter 3, channel check 12 (still being
// typed when Write is pressed), "Тревога" relay "2 минуты", relay circuit check on; object 1 a
// "Кнопка" 1ABCD, object 14 a "Stavel" 000007.
const Bytes kEditedFile34 =
    Joined({{0x01, 0x00, 0x22, 0x00, 0x37, 0x02, 0x64, 0x00, 0x03, 0x05, 0x05,
             0x05, 0x0C, 0x01, 0x03, 0x23, 0x01, 0x0C, 0x41, 0xAB, 0xCD},
            Bytes(36, 0x00),
            {0x03, 0x00, 0x07, 0x57}});

// After Edit35: zone 2 "Тревожный" with 123 - Т.К.ГРОМКАЯ, exit delay 45, receive letter 2,
// "Pirra-202" with letter 30 and RS-485, the communicator connected, Stavel check 12 (still being
// typed when Write is pressed); object 1 a "Pirra" 3FFFF, object 32 a "Stavel" 1.000.001.
const Bytes kEditedFile35 =
    Joined({{0x01, 0x00, 0x23, 0x00, 0x74, 0x01, 0x00, 0x00, 0x03, 0x04, 0x01, 0x10, 0x2D, 0x1E,
             0x02, 0x1E, 0x03, 0x01, 0x82, 0x0C, 0x28, 0x01, 0x01, 0x33, 0x00, 0xC2, 0xFF, 0xFF},
            Bytes(90, 0x00),
            {0x43, 0x00, 0x01, 0xA8}});

bool ShowWindow(MainWindow& window) {
    window.show();
    return QTest::qWaitForWindowActive(&window);
}

void ShowPage(QWidget& editor, const char* page) {
    auto* pages = FindControl<QTabWidget>(editor, "pgcConfig");
    pages->setCurrentWidget(FindControl<QWidget>(editor, page));
}

struct ObjectEdit {
    int row;
    int column;
    const char* field;
    QString typed;
    const char* objectType;
};

// Opens the objects window by its button, each object's cell in turn, types into the number
// dialog and picks the type there, "Готово", and at last "Закрыть".
// True once the main window is active again (the window system would hand the activation back; the
// offscreen one does not), so that the edit typed into next has a user's focus.
bool EditObjects(QWidget& editor, std::vector<ObjectEdit> edits) {
    whenModal("ObjectsWindow", [edits](QWidget& window) {
        auto* grid = FindControl<QTableWidget>(window, "grdObjects");
        for (const ObjectEdit& edit : edits) {
            whenModal("TransmitterNumberDialog", [edit](QWidget& dialog) {
                TypeInto(FindControl<QLineEdit>(dialog, edit.field), edit.typed);
                QTest::mouseClick(FindControl<QRadioButton>(dialog, edit.objectType),
                                  Qt::LeftButton);
                QTest::mouseClick(FindControl<QPushButton>(dialog, "btnOK"), Qt::LeftButton);
            });
            const QRect cell = grid->visualRect(grid->model()->index(edit.row, edit.column));
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
        }
        QTest::mouseClick(FindControl<QPushButton>(window, "btClose"), Qt::LeftButton);
    });
    QTest::mouseClick(FindControl<QPushButton>(editor, "btnRetObj"), Qt::LeftButton);
    editor.window()->activateWindow();
    return QTest::qWaitForWindowActive(editor.window());
}

bool Edit34(QWidget& editor) {
    const bool picked =
        PickByKeys(FindControl<QComboBox>(editor, "cbbTxMode"), "Промежуточный 2") &&
        PickByKeys(FindControl<QComboBox>(editor, "cbbRetLiterRX"), "3") &&
        PickByKeys(FindControl<QComboBox>(editor, "cbbRetReleAlarmCfg"), "2 минуты");
    ClickCheckBox(FindControl<QCheckBox>(editor, "chkRetReleFireCtr"));
    TypeInto(FindControl<QLineEdit>(editor, "edtSysNum"), "100");
    const bool back = EditObjects(
        editor, {{1, 1, "edtHex", "1abcd", "rbObjType1"}, {7, 5, "medtBtn", "7", "rbObjType3"}});
    TypeInto(FindControl<QLineEdit>(editor, "edtRetObjCheck"), "12", false);
    return picked && back;
}

bool Edit35(QWidget& editor) {
    ShowPage(editor, "tsSHLF");
    bool picked = PickByKeys(FindControl<QComboBox>(editor, "cbbRetShlfType2"), "Тревожный");
    TypeInto(FindControl<QLineEdit>(editor, "edtRetDelOut"), "45");
    ShowPage(editor, "tsTX");
    ClickCheckBox(FindControl<QCheckBox>(editor, "chkCNC_TxGSM"));
    ShowPage(editor, "tsMain");
    picked = picked && PickByKeys(FindControl<QComboBox>(editor, "bxRetLiterRX"), "2") &&
             PickByKeys(FindControl<QComboBox>(editor, "bxRetTxMode"), "Pirra-202") &&
             PickByKeys(FindControl<QComboBox>(editor, "bxRetLiterTX"), "30");
    ClickCheckBox(FindControl<QCheckBox>(editor, "chkRetTx485"));
    const bool back = EditObjects(editor, {{1, 1, "edtHex", "3ffff", "rbObjType2"},
                                           {16, 5, "medtPCN", "1000001", "rbObjType3"}});
    TypeInto(FindControl<QComboBox>(editor, "cbbStavelCheck")->lineEdit(), "12", false);
    return picked && back;
}

Bytes RecordInFile(const Bytes& file) {
    return Bytes(file.begin() + 5, file.end() - 1);
}

template <class Editor> Bytes RecordOf(const Editor& editor) {
    return Bytes(editor.RecordBytes().begin(), editor.RecordBytes().end());
}

} // namespace

class TestRepeatersInMainWindow : public QObject {
    Q_OBJECT

    template <class Editor>
    void ReadEditWriteSaveAndOpen(std::uint8_t type, const QString& caption, bool (*edit)(QWidget&),
                                  const Bytes& editedFile) {
        TempDir dir;
        const std::string saved = (dir.path() / "device.bcf").string();
        DevsimProcess sim({"--type", std::to_string(type), "--version", "7", "--save", saved});
        QVERIFY(sim.running());
        ProgramRig rig;
        MainWindow& w = rig.window();
        QVERIFY(ShowWindow(w));
        QVERIFY(rig.Read(sim.slavePath()));
        auto* editor = dynamic_cast<Editor*>(rig.editors().Current());
        QVERIFY(editor);
        QCOMPARE(editor->windowTitle(), caption);
        const Bytes defaults = RecordOf(*editor);

        QVERIFY(edit(*editor));
        w.actDevWrite->trigger();
        QVERIFY(waitUntil([&] { return !rig.link().ExchangeRunning(); }, kExchangeWaitMs));
        QCOMPARE(w.status().text(), QStringLiteral("Данные записаны"));
        QCOMPARE(RecordOf(*editor), RecordInFile(editedFile));

        Dialogs::setNextFileName(QString::fromStdString((dir.path() / "site").string()));
        w.FileSaveAs1->trigger();
        QCOMPARE(ReadFileBytes(dir.path() / "site.bcf"), editedFile);
        w.actSetDefault->trigger();
        QCOMPARE(RecordOf(*editor), defaults);
        Dialogs::setNextFileName(QString::fromStdString((dir.path() / "site.bcf").string()));
        w.FileOpen1->trigger();
        QCOMPARE(rig.editors().Current(), editor);
        QCOMPARE(RecordOf(*editor), RecordInFile(editedFile));
        QVERIFY(Dialogs::takeMessages().isEmpty());

        QCOMPARE(sim.Stop(), std::optional<int>(0));
        QCOMPARE(ReadFile(saved), editedFile);
    }

private slots:
    void type34() {
        ReadEditWriteSaveAndOpen<ui::RepeaterEditor34>(34, "Velmar 508, Версия прибора - 7", Edit34,
                                                       kEditedFile34);
    }

    void type35() {
        ReadEditWriteSaveAndOpen<ui::RepeaterEditor35>(35, "Tarn-32R, Версия прибора - 7", Edit35,
                                                       kEditedFile35);
    }
};

TESMIRA_WIDGET_TEST(TestRepeatersInMainWindow)
#include "e2e_repeater_main_window.moc"
