#include "codes/CodeBatch.h"

#include "codes/NameHash.h"

namespace {

// Room for the names and values of a current SDK header without growing.
constexpr std::size_t FIRST_SLOTS = 8192;

bool sameName(std::wstring_view text, std::string_view bytes)
{
    if (text.size() != bytes.size()) {
        return false;
    }
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (text[i] != static_cast<wchar_t>(static_cast<signed char>(bytes[i]))) {
            return false;
        }
    }
    return true;
}

std::size_t slotOf(std::uint32_t value, std::size_t mask)
{
    return ((value * 0x9E3779B1u) >> 7) & mask;
}

} // namespace

CodeBatch::CodeBatch() : nameSlots(FIRST_SLOTS, 0), valueSlots(FIRST_SLOTS, 0)
{
    names.reserve(FIRST_SLOTS / 2);
    values.reserve(FIRST_SLOTS / 2);
}

void CodeBatch::add(std::uint32_t value, std::string_view name)
{
    Value& entry = values[valueIndex(value)];
    // A header read again repeats its pairs: the value's last name is then this one, unhashed.
    const std::uint32_t nameIndex =
        entry.lastName != NO_NAME && sameName(names[entry.lastName].text, name) ? entry.lastName : internName(name);
    names[nameIndex].value = value;
    entry.lastName = nameIndex;
}

std::uint32_t CodeBatch::internName(std::string_view name)
{
    const std::uint32_t hash = nameHash(name);
    const std::size_t mask = nameSlots.size() - 1;
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const std::uint32_t held = nameSlots[slot];
        if (held == 0) {
            names.push_back(Name{texts.store(name), hash, 0});
            nameSlots[slot] = static_cast<std::uint32_t>(names.size());
            if (2 * names.size() > nameSlots.size()) {
                rehashNames();
            }
            return static_cast<std::uint32_t>(names.size() - 1);
        }
        const Name& candidate = names[held - 1];
        if (candidate.hash == hash && sameName(candidate.text, name)) {
            return held - 1;
        }
    }
}

std::uint32_t CodeBatch::valueIndex(std::uint32_t value)
{
    const std::size_t mask = valueSlots.size() - 1;
    for (std::size_t slot = slotOf(value, mask);; slot = (slot + 1) & mask) {
        const std::uint32_t held = valueSlots[slot];
        if (held == 0) {
            values.push_back(Value{value, NO_NAME});
            valueSlots[slot] = static_cast<std::uint32_t>(values.size());
            if (2 * values.size() > valueSlots.size()) {
                rehashValues();
            }
            return static_cast<std::uint32_t>(values.size() - 1);
        }
        if (values[held - 1].value == value) {
            return held - 1;
        }
    }
}

void CodeBatch::rehashNames()
{
    nameSlots.assign(nameSlots.size() * 2, 0);
    const std::size_t mask = nameSlots.size() - 1;
    for (std::uint32_t i = 0; i < names.size(); ++i) {
        std::size_t slot = names[i].hash & mask;
        while (nameSlots[slot] != 0) {
            slot = (slot + 1) & mask;
        }
        nameSlots[slot] = i + 1;
    }
}

void CodeBatch::rehashValues()
{
    valueSlots.assign(valueSlots.size() * 2, 0);
    const std::size_t mask = valueSlots.size() - 1;
    for (std::uint32_t i = 0; i < values.size(); ++i) {
        std::size_t slot = slotOf(values[i].value, mask);
        while (valueSlots[slot] != 0) {
            slot = (slot + 1) & mask;
        }
        valueSlots[slot] = i + 1;
    }
}
