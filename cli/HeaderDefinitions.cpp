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

// A value token that is not the whole value: "(INTERNET_ERROR_BASE" of "(INTERNET_ERROR_BASE + 1)",
// or one with a comment stuck to it.
bool continuesOnLine(std::string_view token)
{
    int depth = 0;
    for (char byte : token) {
        depth += byte == '(' ? 1 : byte == ')' ? -1 : 0;
        if (byte == '/') {
            return true;
        }
    }
    return depth != 0;
}

} // namespace

DefinitionValue readDefinitionValue(std::string_view rest)
{
    // The value without comments and blanks: "(INTERNET_ERROR_BASE + 1) // ..." reads "(INTERNET_ERROR_BASE+1)".
    char compact[LONGEST_VALUE];
    std::size_t length = 0;
    for (std::size_t i = 0; i < rest.size(); ++i) {
        const char byte = rest[i];
        if (byte == '/' && i + 1 < rest.size() && (rest[i + 1] == '/' || rest[i + 1] == '*')) {
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
    const std::string_view text(compact, length);
    DefinitionValue value;
    if (readNumber(text, value)) {
        value.form = DefinitionValue::Form::NUMBER;
        return value;
    }
    if (startsWith(text, "((") && endsWith(text, ")")) {
        // ((TYPE)NUMBER)
        const std::size_t close = text.find(')');
        const std::string_view type = text.substr(2, close - 2);
        if (isIdentifier(type) && readNumber(text.substr(close + 1, text.size() - close - 2), value)) {
            value.form = DefinitionValue::Form::CAST;
            value.wrapper = type;
        }
    } else if (startsWith(text, "(") && endsWith(text, ")")) {
        // (BASE+NUMBER)
        const std::size_t plus = text.find('+');
        const std::string_view base = text.substr(1, plus == std::string_view::npos ? 0 : plus - 1);
        if (isIdentifier(base) && readNumber(text.substr(plus + 1, text.size() - plus - 2), value)) {
            value.form = DefinitionValue::Form::COMPUTED;
            value.base = base;
        }
    } else if (endsWith(text, ")")) {
        // MACRO(NUMBER)
        const std::size_t open = text.find('(');
        const std::string_view macro = text.substr(0, open);
        if (open != std::string_view::npos && isIdentifier(macro)
            && readNumber(text.substr(open + 1, text.size() - open - 2), value)) {
            value.form = DefinitionValue::Form::MACRO;
            value.wrapper = macro;
        }
    }
    // The views above point into `compact`; the caller keeps only what is in `rest`, so they
    // are looked up again there.
    if (value.form == DefinitionValue::Form::NONE) {
        return DefinitionValue();
    }
    const std::string_view inner = value.form == DefinitionValue::Form::COMPUTED ? value.base : value.wrapper;
    const std::size_t at = rest.find(inner);
    if (value.form == DefinitionValue::Form::COMPUTED) {
        value.base = rest.substr(at, inner.size());
    } else {
        value.wrapper = rest.substr(at, inner.size());
    }
    return value;
}

HeaderDefinitions::HeaderDefinitions(NameCatalog& catalog, std::size_t header, Role role)
    : catalog(catalog), header(header), role(role)
{
}

void HeaderDefinitions::definition(const Definition& definition)
{
    const std::string_view name = definition.name;
    if (name.find('(') != std::string_view::npos) {
        return;  // a macro with parameters
    }
    // Most values are one token, so the rest of the line is only looked at when it must be.
    DefinitionValue value = readDefinitionValue(continuesOnLine(definition.value) ? definition.restOfLine()
                                                                                    : definition.value);
    using Form = DefinitionValue::Form;
    if (value.form == Form::COMPUTED) {
        value.form = Form::NONE;
        for (auto number = numbers.rbegin(); number != numbers.rend(); ++number) {
            if (number->first == value.base) {
                value.value += number->second;
                value.form = Form::COMPUTED;
                break;
            }
        }
    }
    if (value.form == Form::NUMBER || value.form == Form::COMPUTED) {
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
