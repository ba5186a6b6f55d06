#include "editors/ui/RepeaterWidgets.h"

#include "gui/FormControls.h"

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

RelayControls BuildRelayControls(const char* alarmListName, const char* fireListName) {
    namespace text = repeater_text;
    RelayControls relays{Named(new QGroupBox(FromUtf8(text::kRelayGroup)), "grpRelays"),
                         List(alarmListName, RelayModeTexts()),
                         List(fireListName, RelayModeTexts()),
                         Check("chkRetReleFireCtr", FromUtf8(text::kFireRelayCheck))};
    auto* grid = new QGridLayout(relays.group);
    grid->addWidget(Label("lblReleAlarm", FromUtf8(text::kAlarmRelayLabel)), 0, 0);
    grid->addWidget(relays.alarm, 0, 1);
    grid->addWidget(Label("lblReleFire", FromUtf8(text::kFireRelayLabel)), 1, 0);
    grid->addWidget(relays.fire, 1, 1);
    grid->addWidget(relays.fireCheck, 2, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    return relays;
}

IndicationControls BuildIndicationControls() {
    namespace text = repeater_text;
    IndicationControls indication{
        Named(new QGroupBox(FromUtf8(text::kIndicationGroup)), "grpIndication"),
        Check("chkRetIndTxTM", FromUtf8(text::kIndicateOnReaderLedCaption)),
        Check("chkRetIndTxLed", FromUtf8(text::kIndicateOnLedsCaption))};
    SetHint(indication.readerLed, FromUtf8(text::kIndicateOnReaderLedHint));
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
            Check("chkRetBuzOn", FromUtf8(repeater_text::kBuzzer))};
}

QPushButton* BuildObjectsButton() {
    auto* button = Named(new QPushButton(FromUtf8(repeater_text::kObjectsButton)), "btnRetObj");
    // Wide enough for "Объектов 32", which type 35 shows once the window has been closed.
    button->setMinimumWidth(button->fontMetrics().horizontalAdvance(QStringLiteral("Объектов 32")) +
                            24);
    return button;
}

} // namespace tesmira::ui
