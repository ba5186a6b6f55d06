// Which events the GSM communicator reports (record bytes 132..323): violation and restoration
// bits of every event index for three event groups, and the grid that shows one group at a time.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tesmira {

class EventSelection {
public:
    static constexpr std::size_t kSize = 192;
    static constexpr std::size_t kFieldSize = 32; // one bit per event index 0..255
    static constexpr int kGroupCount = 3;
    static constexpr int kRowCount = 255; // grid rows 1..255 show events 1..255; event 0 has none
    using Bytes = std::array<std::uint8_t, kSize>;

    enum class Column { Code = 0, Description = 1, Violation = 2, Restoration = 3 };
    enum class Kind { Violation, Restoration };

    // The four items of the editor's "Выбор..." menu, by tag.
    enum FillTag : int {
        SelectViolations = 0,
        ClearViolations = 1,
        SelectRestorations = 2,
        ClearRestorations = 3
    };

    static std::span<const std::string_view> GroupTexts(); // "Группа 1" .. "Группа 3"

    // Every bit set, group 1 shown.
    EventSelection();

    const Bytes& bytes() const { return bytes_; }
    void Show(std::span<const std::uint8_t, kSize> bytes);  // record -> selection
    void Store(std::span<std::uint8_t, kSize> bytes) const; // selection -> record
    void SetDefaults() { bytes_.fill(0xFF); }

    int Group() const { return group_; } // 0..2, the group selector's index
    void SelectGroup(int group);         // outside 0..2 changes nothing

    bool IsSet(int event, Kind kind) const; // in the group shown; event 0..255
    void Set(int event, Kind kind, bool on);

    // A press on a cell of the toggle columns inverts that bit of the group shown; the header row
    // (0), other columns and rows past 255 change nothing. True when a bit changed.
    bool Toggle(int row, Column column);

    // All 32 bytes of one column of the group shown to 0xFF or 0x00; another tag changes nothing.
    void Fill(int tag);

    // Grid text of row 1..255: the Contact ID code, the description, and "1" or "" for the two
    // toggle columns. Events the event table does not list show the code "0" and no description.
    std::string CellText(int row, Column column) const;

    static std::string EventCodeText(int event);
    static std::string_view EventDescription(int event);

private:
    std::size_t FieldStart(Kind kind) const;

    Bytes bytes_;
    int group_ = 0;
};

} // namespace tesmira
