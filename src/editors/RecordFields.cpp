#include "editors/RecordFields.h"

#include "editors/TransmitterEntry.h"

#include <algorithm>

namespace tesmira {

void AddObjectFields(FieldTable& table, std::span<const std::uint8_t> objects, std::size_t first) {
    table.Page("Объекты");
    const auto types = ObjectTypeTexts();
    for (std::size_t k = 0; k * kTransmitterEntrySize < objects.size(); ++k) {
        TransmitterEntry entry{};
        std::copy_n(objects.begin() + static_cast<std::ptrdiff_t>(k * kTransmitterEntrySize),
                    kTransmitterEntrySize, entry.begin());
        const int number = static_cast<int>(k) + 1;
        const std::size_t at = first + k * kTransmitterEntrySize;
        const std::string name = "Объект " + std::to_string(number) + ": ";
        table.Add(Id("object", number, "type"), name + "Тип объекта",
                  ItemText(types, EntryObjectType(entry)), At(at, 0x03));
        table.Reserve(At(at, 0x3C));
        table.Add(Id("object", number, "number"), name + "Номер передатчика", EntryHexText(entry),
                  At(at, 0xC0, 3));
    }
}

} // namespace tesmira
