#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/ErrorCodePane.h"
#include "app/KeyFocuser.h"
#include "awt/BorderLayout.h"
#include "awt/Frame.h"
#include "awt/GridLayout.h"
#include "awt/Listener.h"
#include "awt/ListenerAdapters.h"
#include "awt/StatusBar.h"
#include "codes/CodeTable.h"
#include "codes/NTSTATUSMessageFormatter.h"
#include "codes/ReverseMap.h"
#include "codes/Win32ErrorCodeMessageFormatter.h"

// The main window: the NTSTATUS pane and the Win32 error code pane side by side above a status
// bar, kept in step through the mapping between the two code kinds. It also owns the code tables
// and runs the start-up sequence (loading, the settings dialog for missing files, the loop).
class Kelvane : public awt::Frame {
public:
    explicit Kelvane(const std::wstring& configPath);
    ~Kelvane() override;

    // Loads (offering the settings dialog while a file is missing), builds and shows the window,
    // and runs the message loop. Returns the exit code.
    int run();
    // Sets the title, reads the configuration and both headers, builds the reverse map.
    void load();
    // Shows the settings dialog modally; true when the user confirmed it.
    bool configure();
    // Builds the window contents, the listeners and the keys.
    void buildUI();

    void onNtStatusChanged();
    void onWin32Changed();
    void resetPanes();
    void focusOtherPane();

    ErrorCodePane* getNtStatusPane() const { return ntStatusPane; }
    ErrorCodePane* getWin32Pane() const { return win32Pane; }
    awt::StatusBar* getStatusBar() const { return statusBar; }

private:
    void bindKey(std::uint32_t keyCode, awt::KeyListener* listener);
    awt::KeyListener* focuserOf(awt::Component* target);
    awt::KeyListener* keyAdapterOf(void (Kelvane::*target)());
    // Sets the status bar text to a string-table entry.
    void showStatus(unsigned int textId);

    std::wstring configPath;
    CodeTable ntStatusTable;
    CodeTable win32Table;
    ReverseMap reverseMap;
    NTSTATUSMessageFormatter ntStatusFormatter;
    Win32ErrorCodeMessageFormatter win32Formatter;

    ErrorCodePane* ntStatusPane;
    ErrorCodePane* win32Pane;
    awt::StatusBar* statusBar;
    awt::BorderLayout frameLayout;
    awt::GridLayout panesLayout;
    std::int32_t syncing;
    std::vector<std::unique_ptr<awt::ItemListener_mem_fun_t<Kelvane>>> itemAdapters;
    std::vector<std::unique_ptr<awt::KeyListener_mem_fun_t<Kelvane>>> keyAdapters;
    std::vector<std::unique_ptr<KeyFocuser>> keyFocusers;
    // The status texts loaded so far: the string table does not change while the program runs,
    // and every change of a pane would otherwise load one again.
    std::map<unsigned int, std::wstring> statusTexts;
};
