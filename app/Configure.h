#pragma once

#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "app/FileSelectButton.h"
#include "awt/Listener.h"
#include "awt/ListenerAdapters.h"
#include "awt/BorderLayout.h"
#include "awt/ButtonsLayout.h"
#include "awt/Dialog.h"
#include "awt/GridFlowLayout.h"
#include "awt/TextField.h"

// The settings dialog: asks for the locations of ntstatus.h and winerror.h and, on OK, writes
// them to the configuration file.
class Configure : public awt::Dialog {
public:
    Configure(awt::Window* owner, const std::wstring& configPath);
    ~Configure() override;

    // The frame's borders plus the default gaps as an empty margin around the contents.
    awt::Insets getInsets() const override;

    // True once OK has written the configuration file. Rethrows the failure of that write: thrown
    // inside the button's notification, it could not cross the system's window procedures.
    bool isAccepted() const;

    void onOK();
    void onCancel();

    // Writes the two header paths to the configuration file.
    void writeConfiguration(const std::wstring& ntStatusPath, const std::wstring& win32Path,
                            const std::wstring& path);

    awt::TextField* getNtStatusPathField() const { return ntStatusPathField; }
    awt::TextField* getWin32PathField() const { return win32PathField; }

private:
    std::wstring configPath;
    awt::TextField* ntStatusPathField;
    FileSelectButton* ntStatusBrowseButton;
    awt::TextField* win32PathField;
    FileSelectButton* win32BrowseButton;
    awt::BorderLayout dialogLayout;
    awt::GridFlowLayout pathsLayout;
    awt::ButtonsLayout buttonsLayout;
    std::vector<std::unique_ptr<awt::ActionListener_mem_fun_t<Configure>>> actionAdapters;
    bool accepted;
    std::exception_ptr writeFailure;
};
