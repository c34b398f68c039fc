#pragma once

#include <optional>
#include <string>
#include <vector>

#include <windows.h>

#include "awt/CommonDialog.h"

namespace awt {

// The system's open or save dialog for one file.
class FileDialog : public CommonDialog {
public:
    static constexpr int SAVE = 0;
    static constexpr int OPEN = 1;

    // One entry of the dialog's file-type list: file extensions without dot ("h").
    struct Filter {
        // zeno::nilString: the display text is derived from the patterns (the shell's type name).
        std::wstring description;
        std::vector<std::wstring> patterns;
    };

    FileDialog(Component* owner, const std::wstring& title, int mode);
    ~FileDialog() override;

    // The proposed file name (a name or a full path), shown when the dialog opens.
    void setFile(const std::wstring& file);
    // The chosen path, or zeno::nilString when the user cancelled.
    const std::wstring& getFile() const;
    int getMode() const;

    // A null description is derived from the patterns.
    void addFilter(const wchar_t* description, const wchar_t* const* patterns, int count);
    void addFilter(const wchar_t* description, const wchar_t* pattern);
    const std::vector<Filter>& getFilters() const;

    // true runs the dialog and returns when the user has closed it; false closes a shown dialog.
    // A failing dialog throws AWTException "::GetOpen/SaveFileName() failed" with the
    // CommDlgExtendedError code and keeps the previous file.
    void setVisible(bool visible) override;

    // The system's filter list: display text, NUL, patterns, NUL for each filter with patterns,
    // and a closing NUL; empty without such filters.
    std::wstring buildFilterString() const;

protected:
    // The shell's name for files with the extension (".h"), or nothing when it has none.
    virtual std::optional<std::wstring> typeName(const std::wstring& extension) const;

private:
    static UINT_PTR CALLBACK hookProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static std::wstring joinPatterns(const Filter& filter);
    std::wstring displayText(const Filter& filter, const std::wstring& joinedPatterns) const;
    void run();

    int mode;
    std::wstring file;
    std::vector<Filter> filters;
};

} // namespace awt
