#include "app/FileSelectButton.h"

#include "awt/FileDialog.h"
#include "awt/Window.h"
#include "resources/ResourceIds.h"
#include "zeno/Strings.h"

FileSelectButton::FileSelectButton(awt::TextField* field, const wchar_t* extension, int mode)
    : awt::Button(IDS_SELECT), field(field), extension(extension), mode(mode) {
    addActionListener(this);
}

FileSelectButton::~FileSelectButton() noexcept = default;

void FileSelectButton::actionPerformed(awt::ActionEvent*) {
    awt::FileDialog dialog(getTopLevelWindow(), zeno::nilString, mode);
    dialog.setFile(field->getText());
    if (extension != nullptr) {
        dialog.addFilter(nullptr, extension);
    }
    dialog.setVisible(true);
    if (dialog.getFile() != zeno::nilString) {
        field->setText(dialog.getFile());
    }
}
