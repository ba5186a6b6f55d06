// Changing one field of a configuration by its id and the text its control shows, through the
// rules of that control's handler: each type keeps a table of setters beside its field table.
#pragma once

#include "model/FieldTable.h"
#include "model/TextHelpers.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

namespace tesmira {

// What became of one field's new value: taken, or refused with nothing changed and why.
struct FieldEdit {
    std::string refusal; // empty: taken
    std::string note;    // what the window says once it has taken the value, if anything
    bool Taken() const { return refusal.empty(); }
};

inline FieldEdit Refused(std::string refusal) {
    return {std::move(refusal), {}};
}

std::string UnknownFieldText(std::string_view id);
// A field no control lets one type into: computed, shown only, or bytes no control shows.
std::string FieldNotSettableText(std::string_view id);
// A control the window shows disabled or hidden for the configuration as it is.
std::string FieldDisabledText(std::string_view id);
// The note that a typed value was taken as the control shows it instead.
std::string FieldLimitedText(std::string_view id, std::string_view shown);
std::string FieldValueText(std::string_view id, std::string_view value);
// The same, naming the items the control offers.
std::string FieldValueText(std::string_view id, std::string_view value,
                           std::span<const std::string_view> items);

// A check box's value: kFieldOn or kFieldOff.
std::optional<bool> OnOffOf(std::string_view text);
// The item with this text. Runs of blanks count as one, so "1,5 мин." finds "1,5  мин.", and
// blanks the device's texts end in need not be typed.
std::optional<int> ItemOf(std::span<const std::string_view> items, std::string_view text);
// The event index an event box stores once the item with this text, or the first item with this
// Contact ID code, is picked; none for a text or code the box does not offer.
std::optional<std::uint8_t> EventOf(std::string_view text, bool allEvents);

// Whether the text reads as a decimal integer (sign and blanks around it allowed), as the number
// edits read it before they limit it.
bool FieldIntegerText(std::string_view text);

inline constexpr std::string_view kOnOffItems[] = {kFieldOn, kFieldOff};

template <class Target> class FieldSetters {
public:
    // Returns the refusal, if any; a setter that refuses changes nothing.
    using Setter = std::function<FieldEdit(Target&, std::string_view value)>;
    // Whether the window lets one change the field now.
    using Condition = std::function<bool(const Target&)>;
    using Items = std::function<std::span<const std::string_view>(const Target&)>;

    void Add(std::string id, Setter setter, Condition enabled = {}) {
        entries_[std::move(id)] = {std::move(setter), std::move(enabled)};
    }

    void OnOff(std::string id, std::function<void(Target&, bool)> store, Condition enabled = {}) {
        const std::string name = id;
        Add(
            std::move(id),
            [name, store](Target& target, std::string_view value) -> FieldEdit {
                const std::optional<bool> on = OnOffOf(value);
                if (!on)
                    return Refused(FieldValueText(name, value, kOnOffItems));
                store(target, *on);
                return FieldEdit{};
            },
            std::move(enabled));
    }

    // A list: the value must be one of its items; `store` gets the item's index.
    void Item(std::string id, Items items, std::function<void(Target&, int)> store,
              Condition enabled = {}) {
        const std::string name = id;
        Add(
            std::move(id),
            [name, items, store](Target& target, std::string_view value) -> FieldEdit {
                const auto offered = items(target);
                const std::optional<int> index = ItemOf(offered, value);
                if (!index)
                    return Refused(FieldValueText(name, value, offered));
                store(target, *index);
                return FieldEdit{};
            },
            std::move(enabled));
    }
    void Item(std::string id, std::span<const std::string_view> items,
              std::function<void(Target&, int)> store, Condition enabled = {}) {
        Item(
            std::move(id), [items](const Target&) { return items; }, std::move(store),
            std::move(enabled));
    }

    // A typed number: the value must be an integer; `store` limits it as the edit does and
    // returns the text the edit then shows instead, if any.
    void Number(std::string id,
                std::function<std::optional<std::string>(Target&, std::string_view)> store,
                Condition enabled = {}) {
        const std::string name = id;
        Add(
            std::move(id),
            [name, store](Target& target, std::string_view value) -> FieldEdit {
                if (!FieldIntegerText(value))
                    return Refused(FieldValueText(name, value));
                const std::optional<std::string> shown = store(target, value);
                return {{}, shown ? FieldLimitedText(name, *shown) : std::string()};
            },
            std::move(enabled));
    }

    // An event box: the value is an item's text or a Contact ID code the box offers.
    void Event(std::string id, bool allEvents, std::function<void(Target&, std::uint8_t)> store,
               Condition enabled = {}) {
        const std::string name = id;
        Add(
            std::move(id),
            [name, allEvents, store](Target& target, std::string_view value) -> FieldEdit {
                const std::optional<std::uint8_t> event = EventOf(value, allEvents);
                if (!event)
                    return Refused(FieldValueText(name, value));
                store(target, *event);
                return FieldEdit{};
            },
            std::move(enabled));
    }

    // A field whose handler reads the text itself and may refuse it with its own error.
    void Typed(std::string id, std::function<TypedInput(Target&, std::string_view)> store,
               Condition enabled = {}) {
        const std::string name = id;
        Add(
            std::move(id),
            [name, store](Target& target, std::string_view value) -> FieldEdit {
                const TypedInput input = store(target, value);
                if (input.error)
                    return Refused(FieldValueText(name, value) + " (" + *input.error + ")");
                return {{},
                        input.shownText ? FieldLimitedText(name, *input.shownText) : std::string()};
            },
            std::move(enabled));
    }

    // Refuses an id `fields` does not have (type 31 has none of type 30's GSM page, say), a field
    // with no setter, one whose control is disabled now, and a value its control would not take.
    FieldEdit Set(Target& target, const FieldTable& fields, std::string_view id,
                  std::string_view value) const {
        if (fields.Find(id) == nullptr)
            return Refused(UnknownFieldText(id));
        const auto entry = entries_.find(id);
        if (entry == entries_.end())
            return Refused(FieldNotSettableText(id));
        if (entry->second.enabled && !entry->second.enabled(target))
            return Refused(FieldDisabledText(id));
        return entry->second.setter(target, value);
    }

private:
    struct Entry {
        Setter setter;
        Condition enabled;
    };
    std::map<std::string, Entry, std::less<>> entries_;
};

} // namespace tesmira
