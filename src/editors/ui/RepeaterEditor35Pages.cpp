// The controls of the type 35 editor's three tabs and their layout.
#include "editors/ui/RepeaterEditor35.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace tesmira::ui {

namespace text = repeater_text;
using R35 = RepeaterRecord35;

namespace {

// An editable list: the user picks an item or types a number. Nothing typed is added to the items
// or completed from them: "2" is two hours, not "20".
QComboBox* EditableList(const char* name, std::span<const CodedItem> items) {
    QComboBox* box = List(name, items);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setCompleter(nullptr);
    return box;
}

} // namespace

void RepeaterEditor35::BuildControls() {
    pages_ = EditorPages(this);
    const std::pair<QWidget*, std::string_view> pages[] = {
        {Named(BuildMainPage(), "tsMain"), text::kMainTab},
        {Named(BuildLoopsPage(), "tsSHLF"), text::kLoopsTab},
        {Named(BuildTransferPage(), "tsTX"), text::kTransferTab},
    };
    for (const auto& [page, caption] : pages)
        pages_->addTab(page, FromUtf8(caption));
    pages_->setCurrentIndex(0);
}

QWidget* RepeaterEditor35::BuildMainPage() {
    receiveLetter_ = List("bxRetLiterRX", R35::ReceiveLetterTexts());
    auto* receive = new QHBoxLayout;
    receive->addWidget(Label("lblRetLiterRX", FromUtf8(text::kReceiveLetterLabel)));
    receive->addWidget(receiveLetter_);
    receive->addStretch();

    objectsButton_ = BuildObjectsButton();
    shared_ = BuildSharedRepeaterControls("bxRetReleAlarmCfg", "bxRetReleFireCfg");
    activateRelays_ = Check("chkRetActivateRele", FromUtf8(text::kActivateRelaysCaption));
    SetHint(activateRelays_, FromUtf8(text::kActivateRelaysHint));
    stavelDelay_ = Check("chkStavelDelay", FromUtf8(text::kStavelDelayCaption));
    SetHint(stavelDelay_, FromUtf8(text::kStavelDelayHint));

    auto* left = new QVBoxLayout;
    left->addLayout(receive);
    left->addWidget(Label("lblTxMessages", FromUtf8(text::kTransmissionLabel)));
    left->addWidget(BuildTransmitGroup());
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addWidget(objectsButton_);
    buttonRow->addStretch();
    left->addLayout(buttonRow);
    left->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(shared_.relays.group);
    right->addWidget(shared_.indication.group);
    right->addStretch();
    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);
    columns->addStretch();

    auto* page = new QWidget;
    auto* rows = new QVBoxLayout(page);
    rows->addLayout(columns);
    rows->addWidget(shared_.buzzer);
    rows->addWidget(activateRelays_);
    rows->addWidget(stavelDelay_);
    rows->addWidget(BuildChannelChecks());
    rows->addStretch();
    return page;
}

QGroupBox* RepeaterEditor35::BuildTransmitGroup() {
    auto* group = Named(new QGroupBox(FromUtf8(text::kTransmitGroup)), "grpTransmit");
    transmitLetterLabel_ = Label("lblRetLiterTX", FromUtf8(text::kLetterLabel));
    transmitLetter_ = List("bxRetLiterTX", std::span<const std::string_view>{});
    transmissionMode_ = List("bxRetTxMode", R35::TransmissionModeTexts());
    rs485_ = Check("chkRetTx485", FromUtf8(text::kRs485Caption));
    SetHint(rs485_, FromUtf8(text::kRs485Hint));
    auto* grid = new QGridLayout(group);
    grid->addWidget(Label("lblRetTxMode", FromUtf8(text::kModeLabel)), 0, 0);
    grid->addWidget(transmissionMode_, 0, 1);
    grid->addWidget(transmitLetterLabel_, 1, 0);
    grid->addWidget(transmitLetter_, 1, 1);
    grid->addWidget(rs485_, 2, 0, 1, 2);
    grid->setColumnStretch(2, 1);
    return group;
}

QWidget* RepeaterEditor35::BuildChannelChecks() {
    stavelChannelCheck_ =
        EditableList("cbbStavelCheck", R35::ChannelCheckItems(ChannelCheck::Stavel));
    siteChannelCheck_ = EditableList("cbbObjCheck", R35::ChannelCheckItems(ChannelCheck::Site));
    auto* checks = new QWidget;
    auto* grid = new QGridLayout(checks);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(Label("lblStavelCheck", FromUtf8(text::kStavelChannelCheckLabel)), 0, 0);
    grid->addWidget(stavelChannelCheck_, 0, 1);
    grid->addWidget(Label("lblObjCheck", FromUtf8(text::kSiteChannelCheckLabel)), 1, 0);
    grid->addWidget(siteChannelCheck_, 1, 1);
    grid->setColumnStretch(2, 1);
    return checks;
}

QWidget* RepeaterEditor35::BuildLoopsPage() {
    auto* page = new QWidget;
    for (int zone = 1; zone <= R35::kZoneCount; ++zone)
        zones_[static_cast<std::size_t>(zone - 1)] =
            BuildZoneRow(zone, "lblZone", "cbbRetShlfType", "bxShlfEvent", R35::kZoneTypeSelector,
                         R35::kEventBoxAllEvents);
    auto* delayRow = new QHBoxLayout;
    delayRow->addWidget(DelayGroup(3, entryDelay_, exitDelay_));
    delayRow->addStretch();

    lockAfterAlarm_ = Check("chkLockAlrm", FromUtf8(text::kLockAfterAlarmCaption));
    auto* rows = new QVBoxLayout(page);
    rows->addWidget(ZoneGrid(zones_, "lblZoneTypeHead", "lblZoneEventHead"));
    rows->addLayout(delayRow);
    rows->addWidget(lockAfterAlarm_);
    rows->addStretch();
    return page;
}

QWidget* RepeaterEditor35::BuildTransferPage() {
    auto* page = new QWidget;
    communicatorConnected_ = Check("chkCNC_TxGSM", FromUtf8(text::kCommunicatorCaption));
    // Shown as the device offers it, but not part of the record.
    auto* allowDisarm = Check("chkAllowDisarm", FromUtf8(text::kAllowDisarmCaption));
    SetHint(allowDisarm, FromUtf8(text::kAllowDisarmHint));
    allowDisarm->setEnabled(false);
    auto* rows = new QVBoxLayout(page);
    rows->addWidget(communicatorConnected_);
    rows->addWidget(allowDisarm);
    rows->addStretch();
    return page;
}

} // namespace tesmira::ui
