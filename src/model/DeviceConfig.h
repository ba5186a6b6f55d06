// One device type's whole configuration, as the program keeps, reads, writes, saves and compares
// it without a window: the same operations for every type that has an editor.
#pragma once

#include "model/FieldSetters.h"
#include "model/FieldTable.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tesmira {

class ConfigFile;

// What became of a reply or an image given to a configuration: taken whole, or refused with
// nothing changed and the reason why (a text for the user).
struct ConfigLoad {
    std::string refusal; // empty: taken
    bool Taken() const { return refusal.empty(); }
};

// The write frame written from tx[0]: its length, or 0 and the reason it cannot be written.
struct ConfigFrame {
    std::size_t length = 0;
    std::string refusal; // set only when the configuration itself cannot be written
};

inline constexpr std::string_view kReplyIncompleteText =
    "Ответ прибора не содержит всей конфигурации";
// The title of the message that says why a configuration cannot be written.
inline constexpr std::string_view kWriteRefusedTitle = "Запись в прибор";
inline constexpr std::string_view kImageOfOtherTypeText = "Файл относится к прибору другого типа";

class DeviceConfig {
public:
    virtual ~DeviceConfig() = default;

    virtual std::uint8_t Type() const = 0;

    // The type's factory defaults, as the editor's reset gives them.
    virtual void SetDefaults() = 0;

    // Takes the configuration out of the reply accepted last, which begins at reply[0]. Nothing
    // past the frame's own length counts. All or nothing.
    virtual ConfigLoad LoadFromReply(std::span<const std::uint8_t> reply) = 0;

    // The write frame from tx[0]. Bytes of tx the frame form leaves alone keep what they held.
    virtual ConfigFrame WriteFrame(std::span<std::uint8_t> tx) const = 0;

    // The blocks of the configuration file, in their order.
    virtual std::vector<std::span<const std::uint8_t>> FileBlocks() const = 0;

    // Takes the blocks out of an opened file. False, and nothing changed, when the file does not
    // hold this type's blocks; may throw ConfigFileError for a block that is there but damaged,
    // again with nothing changed.
    virtual bool LoadFromFile(ConfigFile& reader) = 0;

    // Every value the type's window shows, as named fields in the window's order, with the bytes
    // no control shows listed as reserved.
    virtual FieldTable Fields() const = 0;

    // Changes the field of Fields() with this id to the value text its control would show, as
    // the window's control does, its handler's side effects included (a zone type brings its
    // event); what the window keeps in its tables until a save stays there (the GSM
    // communicator's: see GsmDeviceConfig::CommittedImage). Refused, with nothing changed, for an
    // unknown id, a field no control lets one set (computed, shown only, reserved), a control
    // the window disables for the configuration as it is, and a value the control would not
    // take; a typed number out of range is limited as its edit limits it.
    virtual FieldEdit SetField(std::string_view id, std::string_view value) = 0;

    // The configuration file's bytes: what two configurations are compared and restored by.
    // Throws ConfigFileError when the blocks do not fit a file.
    std::vector<std::uint8_t> Image() const;

    // Takes a whole image as LoadFromFile takes a file. All or nothing.
    ConfigLoad LoadImage(std::span<const std::uint8_t> image);

protected:
    DeviceConfig() = default;
    DeviceConfig(const DeviceConfig&) = default;
    DeviceConfig& operator=(const DeviceConfig&) = default;
};

} // namespace tesmira
