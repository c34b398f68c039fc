#include "app/Configure.h"

#include "awt/BorderedPanel.h"
#include "awt/Button.h"
#include "awt/DefaultGaps.h"
#include "awt/FileDialog.h"
#include "awt/Label.h"
#include "awt/Panel.h"
#include "codes/Configuration.h"
#include "resources/ResourceIds.h"
#include "zeno/Strings.h"

namespace {

const int PATH_COLUMNS = 64;

}  // namespace

Configure::Configure(awt::Window* owner, const std::wstring& configPath)
    : awt::Dialog(owner, zeno::nilString, true),
      configPath(configPath),
      ntStatusPathField(nullptr),
      ntStatusBrowseButton(nullptr),
      win32PathField(nullptr),
      win32BrowseButton(nullptr),
      accepted(false) {
    setTitle(IDS_CONFIGURE_TITLE);
    setDefaultCloseOperation(awt::Window::HIDE);

    // Each control goes into its container as soon as it is made, so that one owner holds it.
    auto group = std::make_unique<awt::BorderedPanel>(IDS_HEADER_FILES);
    int defaultHorizontalGap = 0;
    int defaultVerticalGap = 0;
    awt::getDefaultGaps(defaultHorizontalGap, defaultVerticalGap);
    pathsLayout.setRowsAndCols(2, 3);
    pathsLayout.setVerticalGap(defaultVerticalGap);
    pathsLayout.setCellVerticalAlignment(awt::GridFlowLayout::CENTER);
    group->setLayout(&pathsLayout);
    awt::LayoutManager::Constraints cell;
    group->add(new awt::Label(IDS_NTSTATUS_H, SS_LEFT), cell);
    group->add(ntStatusPathField = new awt::TextField(PATH_COLUMNS), cell);
    group->add(ntStatusBrowseButton = new FileSelectButton(ntStatusPathField, L"h", awt::FileDialog::OPEN), cell);
    group->add(new awt::Label(IDS_WINERROR_H, SS_LEFT), cell);
    group->add(win32PathField = new awt::TextField(PATH_COLUMNS), cell);
    group->add(win32BrowseButton = new FileSelectButton(win32PathField, L"h", awt::FileDialog::OPEN), cell);

    auto buttonRow = std::make_unique<awt::Panel>();
    buttonRow->setLayout(&buttonsLayout);
    auto* okButton = new awt::Button(IDS_OK);
    buttonRow->add(okButton, cell);
    actionAdapters.push_back(std::make_unique<awt::ActionListener_mem_fun_t<Configure>>(this, &Configure::onOK));
    okButton->addActionListener(actionAdapters.back().get());
    auto* cancelButton = new awt::Button(IDS_CANCEL);
    buttonRow->add(cancelButton, cell);
    actionAdapters.push_back(
        std::make_unique<awt::ActionListener_mem_fun_t<Configure>>(this, &Configure::onCancel));
    cancelButton->addActionListener(actionAdapters.back().get());

    dialogLayout.setDefaultGaps();
    setLayout(&dialogLayout);
    add(new awt::Label(configPath, SS_LEFT), awt::BorderLayout::NORTH);
    add(group.release(), awt::BorderLayout::CENTER);
    add(buttonRow.release(), awt::BorderLayout::SOUTH);

    setResizable(false);
    pack();
    center();
}

Configure::~Configure() {
    actionAdapters.clear();
}

awt::Insets Configure::getInsets() const {
    awt::Insets insets = awt::Dialog::getInsets();
    int horizontalGap = 0;
    int verticalGap = 0;
    awt::getDefaultGaps(horizontalGap, verticalGap);
    insets.top += verticalGap;
    insets.bottom += verticalGap;
    insets.left += horizontalGap;
    insets.right += horizontalGap;
    return insets;
}

bool Configure::isAccepted() const {
    if (writeFailure) {
        std::rethrow_exception(writeFailure);
    }
    return accepted;
}

void Configure::onOK() {
    try {
        writeConfiguration(ntStatusPathField->getText(), win32PathField->getText(), configPath);
    } catch (...) {
        writeFailure = std::current_exception();
        setVisible(false);
        return;
    }
    accepted = true;
    setVisible(false);
}

void Configure::onCancel() {
    setVisible(false);
}

void Configure::writeConfiguration(const std::wstring& ntStatusPath, const std::wstring& win32Path,
                                   const std::wstring& path) {
    ::writeConfiguration(ntStatusPath, win32Path, path);
}
