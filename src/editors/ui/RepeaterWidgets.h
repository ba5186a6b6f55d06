// Controls both radio repeater editors have (the relay group, the relay indication group, the
// buzzer box, the objects button), shown from and stored into either record, and the fixed-pitch
// font of the objects window and the number dialog.
#pragma once

#include "editors/RepeaterCommon.h"
#include "gui/EditHelpers.h"
#include "gui/FormControls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFont>
#include <QObject>

#include <string_view>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace tesmira::ui {

// "Fixedsys", or the system's fixed-pitch font where there is none. A positive size is in points,
// a negative one in pixels.
QFont FixedPitchFont(int size);

// "Режим работы реле": the two relay mode lists beside '"Тревога"' and '"Пожар"', and
// chkRetReleFireCtr. The lists are named by the editor.
struct RelayControls {
    QGroupBox* group;
    QComboBox* alarm;
    QComboBox* fire;
    QCheckBox* fireCheck;
};
RelayControls BuildRelayControls(const char* alarmListName, const char* fireListName);

// "Индикация ретрансляции": chkRetIndTxTM and chkRetIndTxLed, tagged with their bit numbers.
struct IndicationControls {
    QGroupBox* group;
    QCheckBox* readerLed;
    QCheckBox* leds;
};
IndicationControls BuildIndicationControls();

// The controls both records show alike, for RepeaterRecord34 and RepeaterRecord35.
struct SharedRepeaterControls {
    RelayControls relays;
    IndicationControls indication;
    QCheckBox* buzzer; // chkRetBuzOn

    template <class Record> void Show(const Record& record) const {
        Select(relays.alarm, record.RelayModeIndex(Relay::Alarm));
        Select(relays.fire, record.RelayModeIndex(Relay::Fire));
        SetCheckedSilently(relays.fireCheck, record.FireRelayCheck());
        for (QCheckBox* box : {indication.readerLed, indication.leds})
            SetCheckedSilently(box, record.IndicationBit(TagOf(box)));
        SetCheckedSilently(buzzer, record.Buzzer());
    }

    // Only the user's picks and clicks reach the record (`activated`, `clicked`).
    template <class Record> void Connect(QObject* context, Record& record) const {
        QObject::connect(relays.alarm, &QComboBox::activated, context, [&record](int index) {
            record.SetRelayModeFromIndex(Relay::Alarm, index);
        });
        QObject::connect(relays.fire, &QComboBox::activated, context, [&record](int index) {
            record.SetRelayModeFromIndex(Relay::Fire, index);
        });
        QObject::connect(relays.fireCheck, &QCheckBox::clicked, context,
                         [&record](bool on) { record.SetFireRelayCheck(on); });
        for (QCheckBox* box : {indication.readerLed, indication.leds}) {
            const int bit = TagOf(box);
            QObject::connect(box, &QCheckBox::clicked, context,
                             [&record, bit](bool on) { record.SetIndicationBit(bit, on); });
        }
        QObject::connect(buzzer, &QCheckBox::clicked, context,
                         [&record](bool on) { record.SetBuzzer(on); });
    }
};
SharedRepeaterControls BuildSharedRepeaterControls(const char* alarmListName,
                                                   const char* fireListName);

// "Объекты", which opens the objects window.
QPushButton* BuildObjectsButton();

} // namespace tesmira::ui
