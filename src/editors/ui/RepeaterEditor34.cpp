#include "editors/ui/RepeaterEditor34.h"

#include "editors/ui/ObjectsWindow.h"
#include "link/LinkModule.h"
#include "model/DeviceCatalogue.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace tesmira::ui {

RepeaterEditor34::RepeaterEditor34(LinkModule& link, QWidget* parent)
    : DeviceEditor(link, config_, parent),
      objects_(new ObjectsWindow(RepeaterRecord34::kObjectCount, this)) {
    DeviceType = RepeaterRecord34::kType;
    setWindowTitle(QString::fromStdString(DeviceTypeName(DeviceType)));
    BuildControls();
    ConnectHandlers();
    RecordToControls();
}

// --- showing the record ---

void RepeaterEditor34::RecordToControls() {
    Select(receiveLetter_, config_.record.ReceiveLetterIndex());
    systemNumber_->setText(QString::fromStdString(config_.record.SystemNumberText()));
    siteChannelCheck_->setText(QString::fromStdString(config_.record.ChannelCheckText()));
    shared_.Show(config_.record);
    Select(transmission_, config_.record.TransmissionIndex());
}

// --- handlers ---

void RepeaterEditor34::onObjectsClicked() {
    objects_->EditObjects(config_.record.Objects());
}

// --- building ---

void RepeaterEditor34::BuildControls() {
    namespace text = repeater_text;
    pages_ = EditorPages(this);
    mainPage_ = Named(new QWidget, "tsMain");
    pages_->addTab(mainPage_, FromUtf8(text::kMainTab));

    transmission_ = List("cbbTxMode", RepeaterRecord34::TransmissionTexts());
    systemNumber_ = NumberEdit("edtSysNum", 3);
    receiveLetter_ = List("cbbRetLiterRX", RepeaterRecord34::ReceiveLetterTexts());
    siteChannelCheck_ = NumberEdit("edtRetObjCheck", 3);
    auto* fields = new QGridLayout;
    fields->addWidget(Label("lblTxMode", FromUtf8(text::kTransmissionLabel)), 0, 0);
    fields->addWidget(transmission_, 0, 1);
    fields->addWidget(Label("lblSysNum", FromUtf8(text::kSystemNumberLabel)), 1, 0);
    fields->addWidget(systemNumber_, 1, 1);
    fields->addWidget(Label("lblRetLiterRX", FromUtf8(text::kLetterLabel)), 2, 0);
    fields->addWidget(receiveLetter_, 2, 1);
    fields->addWidget(Label("lblRetObjCheck", FromUtf8(text::kSiteChannelCheckMinutesLabel)), 3, 0);
    fields->addWidget(siteChannelCheck_, 3, 1);
    fields->setColumnStretch(2, 1);

    shared_ = BuildSharedRepeaterControls("cbbRetReleAlarmCfg", "cbbRetReleFireCfg");
    objectsButton_ = BuildObjectsButton();
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addWidget(objectsButton_);
    buttonRow->addStretch();
    auto* groups = new QHBoxLayout;
    groups->addWidget(shared_.relays.group);
    groups->addWidget(shared_.indication.group, 0, Qt::AlignTop);
    groups->addStretch();

    auto* page = new QVBoxLayout(mainPage_);
    page->addLayout(fields);
    page->addWidget(shared_.buzzer);
    page->addLayout(groups);
    page->addLayout(buttonRow);
    page->addStretch();
}

// Only the user's own actions reach the handlers: `activated` and `clicked` are not emitted when
// RecordToControls sets a selection or a check, and the number edits are watched for leaving.
void RepeaterEditor34::ConnectHandlers() {
    connect(transmission_, &QComboBox::activated, this,
            [this](int index) { config_.record.SetTransmissionFromIndex(index); });
    connect(receiveLetter_, &QComboBox::activated, this,
            [this](int index) { config_.record.SetReceiveLetterFromIndex(index); });
    shared_.Connect(this, config_.record);
    connect(objectsButton_, &QPushButton::clicked, this, &RepeaterEditor34::onObjectsClicked);
    AddCorrectedField(systemNumber_, [this](const std::string& text) {
        return config_.record.SetSystemNumberFromText(text);
    });
    AddCorrectedField(siteChannelCheck_, [this](const std::string& text) {
        return config_.record.SetChannelCheckFromText(text);
    });
}

} // namespace tesmira::ui
