#pragma once

#include "awt/Listener.h"
#include "awt/Button.h"
#include "awt/TextField.h"

// A "select" button next to a path field: opens the system's file dialog, proposing the field's
// text, and puts the chosen path into the field.
class FileSelectButton : public awt::Button, public awt::ActionListener {
public:
    // extension: the file extension to offer, without dot, or null for all files.
    // mode: FileDialog::OPEN or FileDialog::SAVE.
    FileSelectButton(awt::TextField* field, const wchar_t* extension, int mode);
    // noexcept: awt::ActionListener's destructor does not throw, so this one may not either.
    ~FileSelectButton() noexcept override;

    void actionPerformed(awt::ActionEvent* event) override;

private:
    awt::TextField* field;   // not owned
    const wchar_t* extension;
    int mode;
};
