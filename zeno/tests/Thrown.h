#pragma once

// What a call came to, as one text: toString() of the zeno::Exception it threw, else its result
// ("(nothing thrown)" for a call without one). One comparison checks class, message and code.

#include <string>
#include <string_view>
#include <type_traits>

#include "zeno/Exception.h"

namespace zeno_test {

inline std::wstring asText(std::wstring_view text) { return std::wstring(text); }
inline std::wstring asText(unsigned long long value) { return std::to_wstring(value); }

template <class Call>
std::wstring outcome(Call call) {
    try {
        if constexpr (std::is_void_v<decltype(call())>) {
            call();
        } else {
            return asText(call());
        }
    } catch (const zeno::Exception& e) {
        return e.toString();
    }
    return L"(nothing thrown)";
}

} // namespace zeno_test
