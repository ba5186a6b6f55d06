// The eight-zone panels, types 30 and 31: their 58-byte record with type 30's GSM direction block,
// defaults, what each control shows, what each handler does to the record, the write frame and
// the blocks of a configuration file. Type 31 differs only in leaving the GSM page (bytes 44, 45
// and the block), the network number (byte 43) and the guard-less partitions (byte 33) as read.
#pragma once

#include "editors/PanelCommon.h"
#include "editors/PanelDirections.h"
#include "editors/RelayModes.h"
#include "model/BoxFieldState.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tesmira {

class ConfigFile;

class PanelRecord {
public:
    static constexpr std::size_t kSize = 58;
    using Bytes = std::array<std::uint8_t, kSize>;

    static constexpr std::uint8_t kType30 = 30;
    static constexpr std::uint8_t kType31 = 31;

    static constexpr int kZoneCount = 8;
    static constexpr int kPartitionCount = 8;
    // All nine zone types; the item position is the type code.
    static constexpr std::uint8_t kZoneTypeSelector = 2;

    // Byte positions; zone n (1..8) has its settings, event, exit and entry delay at 4(n-1)..+3.
    static constexpr std::size_t kRearm = 32;
    static constexpr std::size_t kGuardlessPartitions = 33;
    static constexpr std::size_t kDependency = 34;
    static constexpr std::size_t kInterface = 35;
    static constexpr std::size_t kMonitoring = 36;
    static constexpr std::size_t kRelayModes = 37;
    static constexpr std::size_t kControlRelay = 38;
    static constexpr std::size_t kSmsRelays = 39;
    static constexpr std::size_t kOptions = 40;
    static constexpr std::size_t kSirenSignals = 41;
    static constexpr std::size_t kLampAndLed = 42;
    static constexpr std::size_t kNetworkNumber = 43;
    static constexpr std::size_t kSmsDisarm = 44;
    static constexpr std::size_t kChannelTest = 45;
    static constexpr std::size_t kMatrix = 46; // six output bytes
    static constexpr std::size_t kArmingCondition = 52;
    static constexpr std::size_t kSirenTime = 53; // big-endian, 2 bytes
    static constexpr std::size_t kBuzzer = 55;
    static constexpr std::size_t kRemoteDisarm = 56;
    static constexpr std::size_t kTouchMemory = 57;

    // Interface positions.
    static constexpr std::uint8_t kInterfaceOff = 0;
    static constexpr std::uint8_t kInterfaceRadio = 1;
    static constexpr std::uint8_t kInterfaceGsm = 2;
    static constexpr std::uint8_t kInterfaceRs485 = 3;
    static constexpr std::uint8_t kInterfaceNone = 255; // stored when the box shows no item

    // Bits of the monitoring byte, which are also the tags of their boxes.
    static constexpr int kMonitorRelay3 = 1;
    static constexpr int kMonitorRelay4 = 2;
    static constexpr int kMonitorSiren = 6;
    static constexpr int kMonitorLamp = 7;

    // Check boxes over bits of byte 40; the value is the bit.
    enum class Option : int {
        LampBlinks = 3, // "При постановке лампа мигает"
        ArmingFeedback = 4, // "Отображать взятие с учетом обратной связи"
        TwoThresholdEvents = 5, // "Передавать события на ПЦН"
        TwoThresholdSiren = 6,  // "Включить сирену"
    };
    enum class Relay { Alarm, Fire, Control };
    // "по СМС" boxes; the value is the bit of byte 39.
    enum class SmsRelay : int { Alarm = 0, Fire = 1 };
    enum class Delay { Entry, Exit };

    static constexpr std::uint8_t kDoorDelay = 30; // both delays of a zone made a door zone
    static constexpr NumberLimits kChannelTestLimits = {0, 255, 5};
    static constexpr int kNetworkNumberMin = 1;
    static constexpr int kNetworkNumberMax = 7;

    // What the controls of zone n show.
    struct ZoneView {
        int partitionIndex;
        std::optional<int> typeIndex; // none for a type code no item has
        bool eventEnabled;
        std::optional<std::uint8_t> eventSelection; // none: the event box shows no selection
        bool delaysVisible;                         // door zones only
        std::string entryDelayText;
        std::string exitDelayText;
        bool rearmEnabled;
        bool rearmVisible;
        bool rearmChecked;
        bool requeryVisible; // fire zones only
        bool requeryChecked;
    };

    // The boxes "2".."8" of "Зависимость охраны раздела 1": a box is enabled when its partition
    // holds a guard zone; a disabled box is unchecked.
    struct DependencyView {
        std::uint8_t enabledMask; // bit p-1 for box "p"
        bool Enabled(int partition) const;
    };

    // What zone n's controls show after its type was chosen: the rearm box checked exactly when
    // the zone is on, the re-query box unchecked, hidden delay fields "0". These boxes change the
    // record only when they are collected at commit.
    struct ZoneTypeChange {
        ZoneView view;
        DependencyView dependency;
    };

    // The composite controls that keep their values until CommitEdit collects them.
    struct CollectedBoxes {
        std::array<bool, kZoneCount> rearm{};
        std::array<bool, kZoneCount> requery{};
        std::uint8_t dependency = 0; // bit p-1 for each checked box "p"
        BoxFieldState::Outputs matrixOutputs{};
        std::uint8_t armingCondition = 0;
    };

    struct InterfaceView {
        bool remoteDisarm;  // "Разрешить снятие с охраны"
        bool gsmPage;       // type 30: device number, directions, SMS, channel test, SMS disarm
        bool networkNumber; // type 30: "Сетевой" "номер" and its up-down
    };

    struct Message {
        std::string_view caption;
        std::string_view text;
    };
    // "Недоступно": GSM transmission is not supported by the configurator yet.
    static const Message& GsmWarning();

    struct InterfaceChange {
        InterfaceView view;
        // Type 30 switched to GSM: the direction block was reset; show GsmPage() and SmsDisarm().
        bool directionsReset;
        std::optional<Message> warning;
    };

    // What the GSM page shows from the direction block and the record (type 30).
    struct GsmPageView {
        std::string deviceNumber;
        PanelDirections::Rows directions;
        bool sendSms;
        bool changeButtonVisible; // "Изменить..."
        std::string channelTestText;
    };

    // The same 58 bytes for both types.
    static const Bytes& Defaults();

    // Holds the defaults; type 30 also a reset direction block. Any type but 30 acts as 31.
    explicit PanelRecord(std::uint8_t type);

    std::uint8_t type() const { return type_; }
    bool HasGsm() const;

    const Bytes& bytes() const { return bytes_; }
    // For taking a whole record from a reply.
    Bytes& bytes() { return bytes_; }
    void Assign(const Bytes& bytes) { bytes_ = bytes; }
    // The record only; the direction block keeps its content.
    void SetDefaults() { bytes_ = Defaults(); }
    const PanelDirections& directions() const { return directions_; }

    // Item texts of the lists, in item order.
    static std::span<const std::string_view> PartitionTexts(); // "1".."8", also internal events
    static std::span<const std::string_view> LampModeTexts();
    static std::span<const std::string_view> LedModeTexts();
    std::span<const std::string_view> InterfaceTexts() const; // four for type 30, three for 31

    // What the controls show. A list index is none when the byte lies outside the list.
    std::optional<ZoneView> Zone(int zone) const;
    std::optional<int> RelayModeIndex(Relay relay) const;
    bool SmsRelayOn(SmsRelay relay) const;
    bool HasOption(Option option) const;
    int InternalPartitionIndex() const;
    bool SirenSignals() const { return bytes_[kSirenSignals] != 0; }
    std::optional<int> LampModeIndex() const;
    std::optional<int> LedModeIndex() const;
    std::optional<int> BuzzerIndex() const;
    bool MonitorBit(int tag) const;
    std::string SirenTimeText() const;
    bool RemoteDisarm() const { return bytes_[kRemoteDisarm] != 0; }
    bool SmsDisarm() const { return bytes_[kSmsDisarm] != 0; }
    std::optional<int> TouchMemoryModeIndex() const;
    std::optional<int> InterfaceIndex() const;
    InterfaceView InterfaceVisibility() const;
    int NetworkNumber() const { return bytes_[kNetworkNumber]; }
    GsmPageView GsmPage() const;
    std::span<const std::uint8_t, BoxFieldState::kColumns> MatrixOutputs() const;
    std::uint8_t ArmingCondition() const { return bytes_[kArmingCondition]; }
    // The boxes as showing the record leaves them, dependency boxes after the refresh.
    CollectedBoxes ShownBoxes() const;

    // Recomputes which dependency boxes are enabled and, on type 30, byte 33. Run when a record is
    // shown; the partition and type handlers and the commit run it themselves.
    DependencyView RefreshPartitionDependency();

    // What the handlers do. Zones outside 1..8 and positions no item has change nothing.
    std::optional<DependencyView> SetZonePartition(int zone, int position);
    std::optional<ZoneTypeChange> SetZoneType(int zone, int code);
    void SetZoneEvent(int zone, std::uint8_t eventIndex);
    // Clamped to 0..99, text that is no number gives 30; returns the corrected text, if any.
    std::optional<std::string> SetZoneDelayFromText(int zone, Delay delay, std::string_view text);
    void SetRelayMode(Relay relay, int position);
    void SetSmsRelay(SmsRelay relay, bool on);
    void SetOption(Option option, bool on);
    void SetInternalPartition(int position);
    void SetSirenSignals(bool on) { bytes_[kSirenSignals] = on ? 1 : 0; }
    void SetLampMode(int position);
    void SetLedMode(int position);
    // Stores the item's code (0 when none is picked) and enables the buzzer for all but 255.
    void SetBuzzerFromIndex(int index);
    // The four boxes' tags only; the other bits of the byte are not the boxes'.
    void SetMonitorBit(int tag, bool on);
    std::optional<std::string> SetSirenTimeFromText(std::string_view text);
    void SetRemoteDisarm(bool on) { bytes_[kRemoteDisarm] = on ? 1 : 0; }
    void SetTouchMemoryMode(int position);
    // A position this type offers no item at (or -1, no item shown) stores kInterfaceNone.
    InterfaceChange SetInterface(int position);

    // Type 30's GSM page; type 31 has none of these controls, so they change nothing there.
    void SetSmsDisarm(bool on);
    // Clamped to 0..255, text that is no number gives 5.
    std::optional<std::string> SetChannelTestFromText(std::string_view text);
    bool SetDeviceNumberFromText(std::string_view text);
    void SetNetworkNumber(int number); // 1..7
    // "Передавать SMS" only warns: the block keeps its flag, so the box shows it again.
    static const Message& SendSmsClicked() { return GsmWarning(); }

    // CommitEdit after the focused edit: refresh, then byte 34 from the enabled dependency
    // boxes, the rearm and re-query bits, the matrix.
    void StoreCollectedBoxes(const CollectedBoxes& boxes);

    // 7E 40 57 01 type, the record, CRC-8, from tx[0]; its length (64), or 0 when tx is short.
    std::size_t WriteFrame(std::span<std::uint8_t> tx) const;

    // The blocks of a configuration file: the record, then type 30's direction block when the
    // interface is GSM.
    std::vector<std::span<const std::uint8_t>> FileBlocks() const;

    // Takes the record (exactly 58 bytes) from an opened file, and on type 30 the direction block
    // after it when the file holds one. False, changing nothing, when the record is not there or
    // type 30's second block is not one of 150 bytes; the caller then leaves its controls as they
    // are.
    bool LoadFromFile(ConfigFile& reader);

private:
    struct Traits;
    const Traits& traits() const;

    static bool ValidZone(int zone) { return zone >= 1 && zone <= kZoneCount; }
    static std::size_t ZoneByte(int zone) { return 4 * static_cast<std::size_t>(zone - 1); }
    std::uint8_t ZoneType(int zone) const;
    std::uint8_t GuardMask() const;
    InterfaceView VisibilityFor(int position) const;

    std::uint8_t type_;
    Bytes bytes_;
    PanelDirections directions_;
};

} // namespace tesmira
