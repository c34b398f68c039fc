#pragma once

// The kinds of code that the console knows, each with names of its own.
enum class CodeKind : unsigned char {
    NTSTATUS,
    WIN32_ERROR,
    HRESULT_CODE,
    BUG_CHECK,
};

constexpr CodeKind ALL_CODE_KINDS[] = {CodeKind::NTSTATUS, CodeKind::WIN32_ERROR, CodeKind::HRESULT_CODE,
                                       CodeKind::BUG_CHECK};
