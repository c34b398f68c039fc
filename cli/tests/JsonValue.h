#pragma once

// Just enough of a JSON reader (RFC 8259) to check kelvane-lookup's --json output: a document is
// accepted only when it is well-formed as a whole. Strings stay UTF-8; a \u escape of a
// non-ASCII unit reads as '?'.

#include <cstdlib>
#include <cstring>
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
        return read(at) && next(at) == '\0';
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

    // The next character after blanks, not consumed.
    static char next(const char*& at)
    {
        at += std::strspn(at, " \t\r\n");
        return *at;
    }

    static bool readString(const char*& at, std::string& out)
    {
        static const std::string ESCAPES = "\"\\/bfnrt";
        static const std::string MEANINGS = "\"\\/\b\f\n\r\t";
        for (++at; *at != '"'; ++at) {
            if (static_cast<unsigned char>(*at) < 0x20) {
                return false;
            }
            if (*at != '\\') {
                out += *at;
            } else if (*++at == 'u' && std::strspn(at + 1, "0123456789abcdefABCDEF") >= 4) {
                const long unit = std::strtol(std::string(at + 1, 4).c_str(), nullptr, 16);
                out += unit < 0x80 ? static_cast<char>(unit) : '?';
                at += 4;
            } else if (*at != '\0' && ESCAPES.find(*at) != std::string::npos) {
                out += MEANINGS[ESCAPES.find(*at)];
            } else {
                return false;
            }
        }
        ++at;
        return true;
    }

    bool read(const char*& at)
    {
        const char first = next(at);
        if (first == '{' || first == '[') {
            type = first == '{' ? OBJECT : ARRAY;
            const char close = first == '{' ? '}' : ']';
            ++at;
            if (next(at) == close) {
                ++at;
                return true;
            }
            for (;;) {
                std::string name;
                if (type == OBJECT && (next(at) != '"' || !readString(at, name) || next(at) != ':' || !*at++)) {
                    return false;
                }
                JsonValue element;
                if (!element.read(at)) {
                    return false;
                }
                if (type == OBJECT) {
                    members.emplace_back(name, std::move(element));
                } else {
                    items.push_back(std::move(element));
                }
                const char after = next(at);
                if (after != ',' && after != close) {
                    return false;
                }
                ++at;
                if (after == close) {
                    return true;
                }
            }
        }
        if (first == '"') {
            type = STRING;
            return readString(at, text);
        }
        for (const char* word : {"true", "false", "null"}) {
            if (std::strncmp(at, word, std::strlen(word)) == 0) {
                type = word[0] == 'n' ? NUL : BOOLEAN;
                boolean = word[0] == 't';
                at += std::strlen(word);
                return true;
            }
        }
        char* end = nullptr;
        number = std::strtod(at, &end);
        type = NUMBER;
        const bool isNumber = end != at && (first == '-' || (first >= '0' && first <= '9'));
        at = end;
        return isNumber;
    }
};
