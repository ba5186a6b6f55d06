// The GSM editor's six tabs, their controls and the wiring of each control to its handler.
#include "gsm/ui/CaptionGrid.h"
#include "gsm/ui/EventGrid.h"
#include "gsm/ui/GsmEditor.h"
#include "gsm/ui/PhoneGrid.h"
#include "gsm/ui/SoundFilesPage.h"
#include "gui/EditHelpers.h"
#include "gui/FormControls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace tesmira::ui {

namespace {

using Sim = GsmRecord::Sim;

// An edit about `chars` characters wide.
QLineEdit* Edit(const char* name, int chars, const QString& mask = QString()) {
    QLineEdit* edit = NumberEdit(name, chars);
    edit->setMinimumWidth(edit->maximumWidth());
    edit->setInputMask(mask);
    return edit;
}

QWidget* Page(const char* name) {
    return Named(new QWidget, name);
}

} // namespace

void GsmEditor::BuildControls() {
    pages_ = EditorPages(this);
    pages_->addTab(BuildMainTab(), QStringLiteral("Основное"));
    pages_->addTab(BuildNamesTab(), QStringLiteral("Названия"));
    pages_->addTab(BuildEventsTab(), QStringLiteral("События"));
    pages_->addTab(BuildInternetTab(), QStringLiteral("Интернет"));
    pages_->addTab(BuildBalanceTab(), QStringLiteral("Баланс"));
    files_ = Named(new SoundFilesPage(*this, Link()), "tsFileTab");
    pages_->addTab(files_, QStringLiteral("Файлы"));
    pages_->setCurrentIndex(0);
    // The main window's work area, as the other editors fill it.
    setMinimumSize(650, 515);
}

QWidget* GsmEditor::BuildMainTab() {
    QWidget* page = Page("tsMain");
    deviceNumber_ = Edit("medtDevNum", 5, QStringLiteral("0000;_"));
    inputFormat_ = List("cbbInputType", GsmRecord::InputFormatTexts());
    static constexpr const char* kOptionNames[] = {"chkUsePass", "chkTxPribor", "chkTxRazdel",
                                                   "chkObboj"};
    static constexpr const char* kOptionCaptions[] = {
        "Использовать номер прибора как пароль", "Передавать в SMS", "Передавать номер раздела",
        "Отбивать звонок"};
    auto* options = new QVBoxLayout;
    for (int bit = 0; bit < GsmRecord::kOptionBitCount; ++bit) {
        optionBoxes_[bit] =
            Named(new QCheckBox(QString::fromUtf8(kOptionCaptions[bit])), kOptionNames[bit]);
        options->addWidget(optionBoxes_[bit]);
    }
    SetHint(optionBoxes_[GsmRecord::kOptionRejectCall], QStringLiteral("Отбивать входящий звонок"));

    auto* fields = new QFormLayout;
    fields->addRow(Label("lblDevNum", QStringLiteral("Номер прибора:")), deviceNumber_);
    fields->addRow(Label("lblInputType", QStringLiteral("Формат:")), inputFormat_);
    auto* top = new QHBoxLayout;
    top->addLayout(fields);
    top->addSpacing(24);
    top->addLayout(options);
    top->addStretch(1);

    phoneGrid_ = new PhoneGrid(config_.gsm.phones);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(top);
    layout->addWidget(phoneGrid_, 0, Qt::AlignLeft);
    layout->addStretch(1);
    return page;
}

QWidget* GsmEditor::BuildNamesTab() {
    QWidget* page = Page("tsSlfDesc");
    captionGrid_ = new CaptionGrid(config_.gsm.captions);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(captionGrid_);
    return page;
}

QWidget* GsmEditor::BuildEventsTab() {
    QWidget* page = Page("tsCID");
    eventGrid_ = new EventGrid(config_.gsm.events);
    setEvents_ = Named(new QPushButton(QStringLiteral("Выбор...")), "btnSetEvents");
    setEvents_->setFixedSize(85, 25); // as the load and save buttons above it
    eventGrid_->AddButton(setEvents_);
    setEventsMenu_ = Named(new QMenu(this), "pmSetEvents");
    static constexpr struct {
        const char* name;
        const char* caption;
    } kItems[] = {{"AlarmSet", "Выбрать все нарушения"},
                  {"AlarmClear", "Сбросить все нарушения"},
                  {"VosstSet", "Выбрать все восстановления "},
                  {"VosstClear", "Сбросить все восстановления"}};
    for (int tag = 0; tag < 4; ++tag) {
        QAction* item = setEventsMenu_->addAction(QString::fromUtf8(kItems[tag].caption));
        item->setObjectName(QString::fromLatin1(kItems[tag].name));
        item->setProperty(kTagProperty, tag);
        connect(item, &QAction::triggered, this, [this, tag] { onEventFillChosen(tag); });
    }
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(eventGrid_);
    return page;
}

QWidget* GsmEditor::BuildInternetTab() {
    QWidget* page = Page("tsGPRS");
    protocol_ = List("bxGPRSProtocol", GsmRecord::ProtocolTexts());
    address_ = Edit("edtGPRS_Addr", 31);
    port_ = Edit("medtPortNum", 6, QStringLiteral("00000;_"));
    channelTest_ = Edit("edtGSM_ChTestTime", 4);
    SetHint(channelTest_, QStringLiteral("1-255. 0-контроль канала выключен"));
    auto* form = new QFormLayout(page);
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    auto* protocol = new QHBoxLayout;
    protocol->addWidget(protocol_);
    protocol->addStretch(1);
    form->addRow(protocol);
    form->addRow(Label("lblGPRS_Addr", QStringLiteral("Адрес:")), address_);
    form->addRow(Label("lblPortNum", QStringLiteral("Порт:")), port_);
    form->addRow(Label("lblGSM_ChTestTime", QStringLiteral("Интервал контроля канала, мин:")),
                 channelTest_);
    return page;
}

QWidget* GsmEditor::BuildBalanceTab() {
    QWidget* page = Page("tsFinance");
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(BuildSimGroup(Sim::Sim2));
    layout->addWidget(BuildSimGroup(Sim::Sim1));
    layout->addStretch(1);
    return page;
}

QGroupBox* GsmEditor::BuildSimGroup(Sim sim) {
    const bool first = sim == Sim::Sim1;
    auto* group = Named(new QGroupBox(first ? QStringLiteral("SIM1 Основная  (нижняя)")
                                            : QStringLiteral("SIM2 (верхняя)")),
                        first ? "grpSIM1" : "grpSIM2");
    SimControls& controls = sims_[static_cast<int>(sim)];
    controls.code = Edit(first ? "edtBalancePhn" : "edtBalancePhn2", 7);
    controls.monthly = Named(new QCheckBox(QStringLiteral("отчет о балансе раз в месяц")),
                             first ? "chkMontBalance1" : "chkMontBalance2");
    controls.threshold =
        Named(new QCheckBox(QStringLiteral("Отсылать SMS при снижении суммы на телефон №1")),
              first ? "chkBalance1" : "chkBalance2");
    controls.limitLabel = Label(first ? "lblLimit1" : "lblLimit2", QStringLiteral("Порог, руб:"));
    controls.limit = Edit(first ? "edtLimit1" : "edtLimit2", 4);

    auto* grid = new QGridLayout(group);
    grid->addWidget(Label(first ? "lblBalancePhn" : "lblBalancePhn2",
                          QStringLiteral("Код запроса баланса (USSD):")),
                    0, 0);
    grid->addWidget(controls.code, 0, 1, Qt::AlignLeft);
    grid->addWidget(controls.monthly, 1, 0, 1, 2);
    grid->addWidget(controls.threshold, 2, 0, 1, 2);
    grid->addWidget(controls.limitLabel, 3, 0, Qt::AlignRight);
    grid->addWidget(controls.limit, 3, 1, Qt::AlignLeft);
    grid->setColumnStretch(2, 1);
    return group;
}

// Only the user's own actions reach the handlers: `activated` and `clicked` are not emitted when
// RecordToControls sets a selection or a check, and the edits are watched for leaving.
void GsmEditor::ConnectHandlers() {
    GsmRecord& record = config_.gsm.record;
    AddTypedField(
        deviceNumber_,
        [&record](const std::string& t) { return record.SetDeviceNumberFromText(t); },
        [&record] { return record.DeviceNumberText(); });
    AddTypedField(
        channelTest_, [&record](const std::string& t) { return record.SetTestIntervalFromText(t); },
        [&record] { return record.TestIntervalText(); });
    AddTypedField(
        port_, [&record](const std::string& t) { return record.SetPortFromText(t); },
        [&record] { return record.PortText(); });
    AddTypedField(
        address_, [&record](const std::string& t) { return record.SetAddressFromText(t); },
        [&record] { return record.AddressText(); });
    for (const Sim sim : {Sim::Sim1, Sim::Sim2}) {
        const SimControls& controls = sims_[static_cast<int>(sim)];
        AddTypedField(
            controls.code,
            [&record, sim](const std::string& t) { return record.SetBalanceCodeFromText(sim, t); },
            [&record, sim] { return record.BalanceCodeText(sim); });
        AddTypedField(
            controls.limit,
            [&record, sim](const std::string& t) { return record.SetThresholdFromText(sim, t); },
            [&record, sim] { return record.ThresholdText(sim); });
        connect(controls.monthly, &QCheckBox::clicked, this,
                [&record, sim](bool on) { record.SetMonthlyReport(sim, on); });
        connect(controls.threshold, &QCheckBox::clicked, this,
                [this, sim] { onThresholdClicked(sim); });
    }

    connect(inputFormat_, &QComboBox::activated, this,
            [&record](int index) { record.SetInputFormat(index); });
    // A choice by keys on the closed list counts as much as one from the open list.
    connect(protocol_, &QComboBox::activated, this,
            [&record](int index) { record.SetProtocol(index); });
    for (int bit = 0; bit < GsmRecord::kOptionBitCount; ++bit)
        connect(optionBoxes_[bit], &QCheckBox::clicked, this,
                [&record, bit](bool on) { record.SetOptionBit(bit, on); });
    connect(setEvents_, &QPushButton::clicked, this,
            [this] { setEventsMenu_->popup(QCursor::pos()); });
}

} // namespace tesmira::ui
