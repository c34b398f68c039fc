#include "cli/HeaderDefinitions.h"

#include <cstddef>

namespace {

// Longer compacted values are none of the forms (the longest is a macro with ten hex digits).
const std::size_t LONGEST_VALUE = 96;

bool isIdentifierByte(char byte)
{
    return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9') || byte == '_';
}

bool isIdentifier(std::string_view text)
{
    if (text.empty() || (text[0] >= '0' && text[0] <= '9')) {
        return false;
    }
    for (char byte : text) {
        if (!isIdentifierByte(byte)) {
            return false;
        }
    }
    return true;
}

bool startsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

bool endsWith(std::string_view text, std::string_view suffix)
{
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

// A C integer literal, the whole text: digits, then U and L suffixes in any order and case.
bool readNumber(std::string_view text, DefinitionValue& out)
{
    std::size_t end = text.size();
    while (end > 0 && (text[end - 1] == 'L' || text[end - 1] == 'l' || text[end - 1] == 'U' || text[end - 1] == 'u')) {
        --end;
    }
    const std::string_view suffix = text.substr(end);
    out.longSuffix = suffix.find_first_of("Ll") != std::string_view::npos;
    text = text.substr(0, end);
    out.decimal = !(text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'));
    const std::string_view digits = out.decimal ? text : text.substr(2);
    if (digits.empty()) {
        return false;
    }
    const std::uint64_t radix = out.decimal ? 10 : 16;
    std::uint64_t value = 0;
    for (char byte : digits) {
        std::uint64_t digit;
        if (byte >= '0' && byte <= '9') {
            digit = static_cast<std::uint64_t>(byte - '0');
        } else if (!out.decimal && byte >= 'a' && byte <= 'f') {
            digit = static_cast<std::uint64_t>(byte - 'a' + 10);
        } else if (!out.decimal && byte >= 'A' && byte <= 'F') {
            digit = static_cast<std::uint64_t>(byte - 'A' + 10);
        } else {
            return false;
        }
        value = value * radix + digit;
        if (value > 0xFFFFFFFFull) {
            return false;
        }
    }
    out.value = static_cast<std::uint32_t>(value);
    return true;
}

// The forms above on a value without blanks or comments; the views point into `text`.
DefinitionValue readCompactValue(std::string_view text)
{
    DefinitionValue value;
    if (text.empty()) {
        return value;
    }
    if (readNumber(text, value)) {
        value.form = DefinitionValue::Form::NUMBER;
    } else if (text.back() != ')') {
        value.form = DefinitionValue::Form::NONE;
    } else if (startsWith(text, "((")) {
        // ((TYPE)NUMBER)
        const std::size_t close = text.find(')');
        const std::string_view type = text.substr(2, close - 2);
        if (isIdentifier(type) && readNumber(text.substr(close + 1, text.size() - close - 2), value)) {
            value.form = DefinitionValue::Form::CAST;
            value.wrapper = type;
        }
    } else if (text[0] == '(') {
        // (BASE+NUMBER)
        const std::size_t plus = text.find('+');
        const std::string_view base = text.substr(1, plus == std::string_view::npos ? 0 : plus - 1);
        if (isIdentifier(base) && readNumber(text.substr(plus + 1, text.size() - plus - 2), value)) {
            value.form = DefinitionValue::Form::COMPUTED;
            value.base = base;
        }
    } else {
        // MACRO(NUMBER)
        const std::size_t open = text.find('(');
        const std::string_view macro = text.substr(0, open);
        if (open != std::string_view::npos && isIdentifier(macro)
            && readNumber(text.substr(open + 1, text.size() - open - 2), value)) {
            value.form = DefinitionValue::Form::MACRO;
            value.wrapper = macro;
        }
    }
    return value.form == DefinitionValue::Form::NONE ? DefinitionValue() : value;
}

} // namespace

DefinitionValue readDefinitionValue(std::string_view text)
{
    // The value without comments and blanks: "(INTERNET_ERROR_BASE + 1) // ..." reads "(INTERNET_ERROR_BASE+1)".
    char compact[LONGEST_VALUE];
    std::size_t length = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char byte = text[i];
        if (byte == '/' && i + 1 < text.size() && (text[i + 1] == '/' || text[i + 1] == '*')) {
            break;
        }
        if (static_cast<signed char>(byte) <= ' ') {
            continue;
        }
        if (length == LONGEST_VALUE) {
            return DefinitionValue();
        }
        compact[length++] = byte;
    }
    DefinitionValue value = readCompactValue(std::string_view(compact, length));
    // The cast's type, the macro's or the base's name has no blanks inside: find it again in `text`.
    for (std::string_view* inner : {&value.wrapper, &value.base}) {
        if (!inner->empty()) {
            *inner = text.substr(text.find(*inner), inner->size());
        }
    }
    return value;
}

HeaderDefinitions::HeaderDefinitions(NameCatalog& catalog, std::size_t header, Role role)
    : catalog(catalog), header(header), role(role)
{
    numbers.reserve(1024);
}

void HeaderDefinitions::definition(const Definition& definition)
{
    const std::string_view name = definition.name;
    if (name.empty() || !isIdentifierByte(name.back())) {
        return;  // a macro with parameters: FOO(x) or FOO(a, b)
    }
    // Most values are one token; the rest of the line is read only when the token is not a whole
    // value, "(INTERNET_ERROR_BASE" or "5L//" say.
    DefinitionValue value = readCompactValue(definition.value);
    if (value.form == DefinitionValue::Form::NONE) {
        value = readDefinitionValue(definition.restOfLine());
    }
    using Form = DefinitionValue::Form;
    if (value.form == Form::COMPUTED) {
        // Runs of lines share their base (NERR_BASE, INTERNET_ERROR_BASE): the last one found is
        // asked first, and kept up to date when the name is defined again.
        if (lastBase >= numbers.size() || numbers[lastBase].first != value.base) {
            lastBase = numbers.size();
            for (std::size_t i = numbers.size(); i-- > 0;) {
                if (numbers[i].first == value.base) {
                    lastBase = i;
                    break;
                }
            }
        }
        if (lastBase < numbers.size()) {
            value.value += numbers[lastBase].second;
        } else {
            value.form = Form::NONE;
        }
    }
    if (value.form == Form::NUMBER || value.form == Form::COMPUTED) {
        if (lastBase < numbers.size() && numbers[lastBase].first == name) {
            lastBase = numbers.size();
        }
        numbers.emplace_back(name, value.value);
    }
    const bool plainNumber = value.form == Form::NUMBER;
    const bool decimalCode = (plainNumber && value.decimal) || value.form == Form::COMPUTED;
    const bool facility = plainNumber && startsWith(name, "FACILITY_");
    switch (role) {
    case Role::NTSTATUS_HEADER:
        if (value.form == Form::CAST && value.wrapper == "NTSTATUS") {
            catalog.add(CodeKind::NTSTATUS, value.value, name, header, false);
        } else if (facility) {
            catalog.addFacility(CodeKind::NTSTATUS, value.value, name);
        }
        break;
    case Role::WINERROR_HEADER:
        if ((plainNumber && value.decimal && value.longSuffix) || value.form == Form::COMPUTED
            || (value.form == Form::MACRO && value.wrapper == "_NDIS_ERROR_TYPEDEF_")) {
            catalog.add(CodeKind::WIN32_ERROR, value.value, name, header, false);
        } else if ((value.form == Form::MACRO && value.wrapper == "_HRESULT_TYPEDEF_")
                   || (value.form == Form::CAST && value.wrapper == "HRESULT")) {
            // winerror.h defines some HRESULTs twice: the Windows values first, others after an #else.
            catalog.add(CodeKind::HRESULT_CODE, value.value, name, header, true);
        } else if (facility) {
            catalog.addFacility(CodeKind::HRESULT_CODE, value.value, name);
        }
        break;
    case Role::LAN_MANAGER_ERRORS:
        if (decimalCode && startsWith(name, "NERR_") && !endsWith(name, "_BASE")) {
            catalog.add(CodeKind::WIN32_ERROR, value.value, name, header, false);
        }
        break;
    case Role::INTERNET_ERRORS:
        if (decimalCode && startsWith(name, "ERROR_")) {
            catalog.add(CodeKind::WIN32_ERROR, value.value, name, header, false);
        }
        break;
    case Role::BUG_CHECKS:
        if (value.form == Form::CAST && value.wrapper == "ULONG") {
            catalog.add(CodeKind::BUG_CHECK, value.value, name, header, false);
        }
        break;
    }
}
