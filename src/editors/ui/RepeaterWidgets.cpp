#include "editors/ui/RepeaterWidgets.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tesmira::ui {

QFont FixedPitchFont(int size) {
    QFont font(QStringLiteral("Fixedsys"));
    if (!QFontDatabase::hasFamily(font.family()))
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    if (size < 0)
        font.setPixelSize(-size);
    else
        font.setPointSize(size);
    return font;
}

QLabel* NamedLabel(const char* name, std::string_view caption) {
    return Named(new QLabel(FromUtf8(caption)), name);
}

QCheckBox* NamedCheckBox(const char* name, std::string_view caption, std::string_view hint) {
    auto* box = Named(new QCheckBox(FromUtf8(caption)), name);
    if (!hint.empty())
        box->setToolTip(FromUtf8(hint));
    return box;
}

QLineEdit* NamedNumberEdit(const char* name, QObject* watcher) {
    auto* edit = Named(new QLineEdit, name);
    edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 12);
    edit->installEventFilter(watcher);
    return edit;
}

QComboBox* NamedList(const char* name, std::span<const std::string_view> items) {
    auto* box = Named(new QComboBox, name);
    FillComboFromList(box, TextList(items));
    box->setCurrentIndex(-1);
    return box;
}

RelayControls BuildRelayControls(const char* alarmListName, const char* fireListName) {
    namespace text = repeater_text;
    RelayControls relays{Named(new QGroupBox(FromUtf8(text::kRelayGroup)), "grpRelays"),
                         NamedList(alarmListName, RelayModeTexts()),
                         NamedList(fireListName, RelayModeTexts()),
                         NamedCheckBox("chkRetReleFireCtr", text::kFireRelayCheck)};
    auto* grid = new QGridLayout(relays.group);
    grid->addWidget(NamedLabel("lblReleAlarm", text::kAlarmRelayLabel), 0, 0);
    grid->addWidget(relays.alarm, 0, 1);
    grid->addWidget(NamedLabel("lblReleFire", text::kFireRelayLabel), 1, 0);
    grid->addWidget(relays.fire, 1, 1);
    grid->addWidget(relays.fireCheck, 2, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    return relays;
}

IndicationControls BuildIndicationControls() {
    namespace text = repeater_text;
    IndicationControls indication{
        Named(new QGroupBox(FromUtf8(text::kIndicationGroup)), "grpIndication"),
        NamedCheckBox("chkRetIndTxTM", text::kIndicateOnReaderLedCaption,
                      text::kIndicateOnReaderLedHint),
        NamedCheckBox("chkRetIndTxLed", text::kIndicateOnLedsCaption)};
    // The tag is the bit; bit 0 too, which Named leaves out.
    indication.readerLed->setProperty(kTagProperty, kIndicateOnReaderLed);
    indication.leds->setProperty(kTagProperty, kIndicateOnLeds);
    auto* column = new QVBoxLayout(indication.group);
    column->addWidget(indication.readerLed);
    column->addWidget(indication.leds);
    return indication;
}

SharedRepeaterControls BuildSharedRepeaterControls(const char* alarmListName,
                                                   const char* fireListName) {
    return {BuildRelayControls(alarmListName, fireListName), BuildIndicationControls(),
            NamedCheckBox("chkRetBuzOn", repeater_text::kBuzzer)};
}

QPushButton* BuildObjectsButton() {
    auto* button = Named(new QPushButton(FromUtf8(repeater_text::kObjectsButton)), "btnRetObj");
    // Wide enough for "Объектов 32", which type 35 shows once the window has been closed.
    button->setMinimumWidth(button->fontMetrics().horizontalAdvance(QStringLiteral("Объектов 32")) +
                            24);
    return button;
}

} // namespace tesmira::ui
