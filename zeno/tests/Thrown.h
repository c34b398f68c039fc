#pragma once

// toString() of the zeno::Exception a call throws: one comparison checks class, message and code.

#include <string>

#include "zeno/Exception.h"

namespace zeno_test {

template <class Call>
std::wstring thrownText(Call call) {
    try {
        call();
    } catch (const zeno::Exception& e) {
        return e.toString();
    }
    return L"(nothing thrown)";
}

} // namespace zeno_test
