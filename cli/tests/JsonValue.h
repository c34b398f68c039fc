#pragma once

// Just enough of a JSON reader (RFC 8259) to check kelvane-lookup's --json output: a document is
// accepted only when it is well-formed as a whole. Strings stay UTF-8; \u escapes become UTF-8.

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

struct JsonValue {
    enum Type { NUL, BOOLEAN, NUMBER, STRING, ARRAY, OBJECT };

    Type type = NUL;
    bool boolean = false;
    double number = 0;
    std::string text;
    std::vector<JsonValue> items;
    std::vector<std::pair<std::string, JsonValue>> members;

    bool parse(const std::string& document)
    {
        const char* at = document.c_str();
        return read(at) && *skipBlanks(at) == '\0';
    }

    // A missing member or item reads as null.
    const JsonValue& operator[](const char* name) const
    {
        for (const auto& member : members) {
            if (member.first == name) {
                return member.second;
            }
        }
        return missing();
    }
    const JsonValue& item(std::size_t index) const { return index < items.size() ? items[index] : missing(); }

private:
    static const JsonValue& missing()
    {
        static const JsonValue none;
        return none;
    }

    static const char* skipBlanks(const char*& at)
    {
        while (*at == ' ' || *at == '\t' || *at == '\n' || *at == '\r') {
            ++at;
        }
        return at;
    }

    // The next character after blanks, consumed ('\0' at the end, not consumed).
    static char take(const char*& at)
    {
        skipBlanks(at);
        return *at != '\0' ? *at++ : '\0';
    }

    static bool literal(const char*& at, const char* word)
    {
        const std::string expected(word);
        if (std::string(at).compare(0, expected.size(), expected) != 0) {
            return false;
        }
        at += expected.size();
        return true;
    }

    static bool readString(const char*& at, std::string& out)
    {
        for (++at; *at != '"'; ++at) {
            if (static_cast<unsigned char>(*at) < 0x20) {
                return false;
            }
            if (*at != '\\') {
                out += *at;
                continue;
            }
            const char escaped = *++at;
            const std::string simple = "\"\\/bfnrt";
            const std::string meaning = "\"\\/\b\f\n\r\t";
            if (simple.find(escaped) != std::string::npos && escaped != '\0') {
                out += meaning[simple.find(escaped)];
            } else if (escaped == 'u' && std::string(at + 1).size() >= 4) {
                const unsigned unit = static_cast<unsigned>(std::strtoul(std::string(at + 1, 4).c_str(), nullptr, 16));
                at += 4;
                if (unit < 0x80) {
                    out += static_cast<char>(unit);
                } else if (unit < 0x800) {
                    out += static_cast<char>(0xC0 | (unit >> 6));
                    out += static_cast<char>(0x80 | (unit & 0x3F));
                } else {
                    out += static_cast<char>(0xE0 | (unit >> 12));
                    out += static_cast<char>(0x80 | ((unit >> 6) & 0x3F));
                    out += static_cast<char>(0x80 | (unit & 0x3F));
                }
            } else {
                return false;
            }
        }
        ++at;
        return true;
    }

    bool read(const char*& at)
    {
        skipBlanks(at);
        if (*at == '{' || *at == '[') {
            const bool object = *at++ == '{';
            type = object ? OBJECT : ARRAY;
            if (*skipBlanks(at) == (object ? '}' : ']')) {
                ++at;
                return true;
            }
            for (;;) {
                std::string name;
                if (object && (*skipBlanks(at) != '"' || !readString(at, name) || take(at) != ':')) {
                    return false;
                }
                JsonValue element;
                if (!element.read(at)) {
                    return false;
                }
                if (object) {
                    members.emplace_back(name, std::move(element));
                } else {
                    items.push_back(std::move(element));
                }
                const char next = take(at);
                if (next == (object ? '}' : ']')) {
                    return true;
                }
                if (next != ',') {
                    return false;
                }
            }
        }
        if (*at == '"') {
            type = STRING;
            return readString(at, text);
        }
        if (literal(at, "true") || literal(at, "false")) {
            type = BOOLEAN;
            boolean = at[-1] == 'e' && at[-2] == 'u';
            return true;
        }
        if (literal(at, "null")) {
            return true;
        }
        char* end = nullptr;
        number = std::strtod(at, &end);
        type = NUMBER;
        const bool isNumber = end != at && (*at == '-' || (*at >= '0' && *at <= '9'));
        at = end;
        return isNumber;
    }
};
