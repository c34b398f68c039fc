#include "awt/FileDialog.h"

#include <algorithm>

#include <commdlg.h>
#include <shellapi.h>

#include "awt/AWTException.h"
#include "awt/Component.h"
#include "zeno/Strings.h"

namespace awt {

namespace {

// The system's buffer for the chosen path holds at least this many characters.
constexpr std::size_t MINIMUM_FILE_BUFFER = 521;

constexpr DWORD FILE_DIALOG_FLAGS = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_NOCHANGEDIR |
                                    OFN_ENABLEHOOK | OFN_EXPLORER | OFN_ENABLESIZING;

} // namespace

FileDialog::FileDialog(Component* owner, const std::wstring& title, int mode)
    : CommonDialog(owner, title), mode(mode), file(zeno::nilString) {}

FileDialog::~FileDialog() = default;

void FileDialog::setFile(const std::wstring& newFile) { file = newFile; }

const std::wstring& FileDialog::getFile() const { return file; }

int FileDialog::getMode() const { return mode; }

void FileDialog::addFilter(const wchar_t* description, const wchar_t* const* patterns, int count) {
    Filter filter;
    filter.description = description != nullptr ? std::wstring(description) : zeno::nilString;
    for (int i = 0; i < count; ++i) {
        zeno::checkNotNull(L"pattern", patterns[i]);
        filter.patterns.emplace_back(patterns[i]);
    }
    filters.push_back(std::move(filter));
}

void FileDialog::addFilter(const wchar_t* description, const wchar_t* pattern) {
    addFilter(description, &pattern, 1);
}

const std::vector<FileDialog::Filter>& FileDialog::getFilters() const { return filters; }

void FileDialog::setVisible(bool visible) {
    if (visible) {
        run();
    } else {
        close();
    }
}

std::wstring FileDialog::joinPatterns(const Filter& filter) {
    std::wstring joined;
    for (const std::wstring& pattern : filter.patterns) {
        if (!joined.empty()) {
            joined += L"; ";
        }
        joined += L"*." + pattern;
    }
    return joined;
}

std::optional<std::wstring> FileDialog::typeName(const std::wstring& extension) const {
    SHFILEINFOW info{};
    if (SHGetFileInfoW(extension.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                       SHGFI_TYPENAME | SHGFI_USEFILEATTRIBUTES) == 0) {
        return std::nullopt;
    }
    return std::wstring(info.szTypeName);
}

std::wstring FileDialog::displayText(const Filter& filter, const std::wstring& joinedPatterns) const {
    if (!zeno::isNil(filter.description)) {
        return filter.description + L" (" + joinedPatterns + L")";
    }
    if (const std::optional<std::wstring> name = typeName(L"." + filter.patterns.front())) {
        return *name + L" (" + joinedPatterns + L")";
    }
    if (filter.patterns.size() == 1) {
        return filter.patterns.front() + L" file";
    }
    return joinedPatterns;
}

std::wstring FileDialog::buildFilterString() const {
    std::wstring result;
    for (const Filter& filter : filters) {
        if (filter.patterns.empty()) {
            continue;
        }
        const std::wstring joined = joinPatterns(filter);
        result += displayText(filter, joined);
        result += L'\0';
        result += joined;
        result += L'\0';
    }
    if (!result.empty()) {
        result += L'\0';
    }
    return result;
}

UINT_PTR CALLBACK FileDialog::hookProc(HWND window, UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        const auto* record = reinterpret_cast<const OPENFILENAMEW*>(lParam);
        auto* dialog = reinterpret_cast<FileDialog*>(record->lCustData);
        // The hook's window is the explorer dialog's child; its parent is the dialog itself.
        dialog->attach(GetParent(window));
    }
    return 0;
}

void FileDialog::run() {
    if (mode != SAVE && mode != OPEN) {
        return;
    }
    const bool hasFile = !zeno::isNil(file);
    std::vector<wchar_t> buffer(std::max(MINIMUM_FILE_BUFFER, file.size() + 1), L'\0');
    if (hasFile) {
        std::copy(file.begin(), file.end(), buffer.begin());
    }
    const std::wstring filterString = buildFilterString();

    OPENFILENAMEW record{};
    record.lStructSize = sizeof record;
    record.hwndOwner = owner != nullptr ? owner->getHWND() : nullptr;
    record.lpstrFilter = filterString.empty() ? nullptr : filterString.c_str();
    record.lpstrFile = buffer.data();
    record.nMaxFile = static_cast<DWORD>(buffer.size());
    record.lpstrTitle = zeno::isNil(title) ? nullptr : title.c_str();
    record.Flags = FILE_DIALOG_FLAGS;
    record.lCustData = reinterpret_cast<LPARAM>(this);
    record.lpfnHook = &FileDialog::hookProc;

    const BOOL chosen = mode == SAVE ? GetSaveFileNameW(&record) : GetOpenFileNameW(&record);
    const DWORD extendedError = CommDlgExtendedError();
    detach();
    if (chosen) {
        file.assign(buffer.begin(), std::find(buffer.begin(), buffer.end(), L'\0'));
    } else if (extendedError != 0) {
        throw AWTException(L"::GetOpen/SaveFileName() failed", extendedError);
    } else {
        file = zeno::nilString;
    }
}

} // namespace awt
