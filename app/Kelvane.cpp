#include "app/Kelvane.h"

#include "app/Configure.h"
#include "app/CounterGuard.h"
#include "app/Version.h"
#include "awt/Panel.h"
#include "awt/Toolkit.h"
#include "awt/KeyStroke.h"
#include "awt/Window.h"
#include "codes/CodeExceptions.h"
#include "codes/LoadSequence.h"
#include "codes/ReverseMap.h"
#include "codes/NtStatusMapping.h"
#include "resources/ResourceIds.h"
#include "zeno/Exception.h"
#include "zeno/Strings.h"

namespace {

// Forward focus steps from a control of one pane to the same control of the other: each pane
// holds five focusable controls.
const int FOCUS_STEPS_TO_OTHER_PANE = 5;

const UINT MB_ERROR_OK = 16;

}  // namespace

Kelvane::Kelvane(const std::wstring& configPath)
    : awt::Frame(nullptr, zeno::emptyString),
      configPath(configPath),
      ntStatusPane(nullptr),
      win32Pane(nullptr),
      statusBar(nullptr),
      syncing(0) {}

Kelvane::~Kelvane() {
    keyFocusers.clear();
    keyAdapters.clear();
    itemAdapters.clear();
}

int Kelvane::run() {
    for (;;) {
        try {
            load();
            break;
        } catch (const zeno::FileNotFoundException& missing) {
            missing.showMessageBox(nullptr, awt::Toolkit::loadString(IDS_PROGRAM_NAME).c_str(), MB_ERROR_OK);
            if (!configure()) {
                return 0;
            }
        }
    }
    buildUI();
    setVisible(true);
    return getToolkit()->run();
}

void Kelvane::load() {
    setTitle(awt::Toolkit::loadString(IDS_PROGRAM_NAME) + L" - " + configPath);
    LoadSequence(ntStatusTable, win32Table, reverseMap).run(configPath);
}

bool Kelvane::configure() {
    Configure dialog(nullptr, configPath);
    dialog.setVisible(true);
    return dialog.isAccepted();
}

void Kelvane::buildUI() {
    setIcon(IDI_KELVANE);
    setDefaultCloseOperation(awt::Window::EXIT);

    // Each part goes into its container as soon as it is made, so that one owner holds it.
    auto panesPanel = std::make_unique<awt::Panel>();
    panesLayout.setRowsAndCols(1, 2);
    panesLayout.setDefaultGaps();
    panesPanel->setLayout(&panesLayout);
    awt::LayoutManager::Constraints leftCell;
    awt::LayoutManager::Constraints rightCell;
    panesPanel->add(ntStatusPane = new ErrorCodePane(L"NTSTATUS", &ntStatusTable, &ntStatusFormatter), leftCell);
    panesPanel->add(win32Pane = new ErrorCodePane(L"Win32 Error Code", &win32Table, &win32Formatter), rightCell);

    setLayout(&frameLayout);
    add(panesPanel.release(), awt::BorderLayout::CENTER);
    add(statusBar = new awt::StatusBar(programName + L" version " + versionString, true), awt::BorderLayout::SOUTH);

    itemAdapters.push_back(std::make_unique<awt::ItemListener_mem_fun_t<Kelvane>>(this, &Kelvane::onNtStatusChanged));
    ntStatusPane->addItemListener(itemAdapters.back().get());
    itemAdapters.push_back(std::make_unique<awt::ItemListener_mem_fun_t<Kelvane>>(this, &Kelvane::onWin32Changed));
    win32Pane->addItemListener(itemAdapters.back().get());

    bindKey(VK_ESCAPE, keyAdapterOf(&Kelvane::resetPanes));
    bindKey(VK_F1, focuserOf(ntStatusPane->getNameField()));
    bindKey(VK_F2, focuserOf(ntStatusPane->getDecimalField()));
    bindKey(VK_F3, focuserOf(ntStatusPane->getHexField()));
    bindKey(VK_F4, focuserOf(ntStatusPane->getMessageArea()));
    bindKey(VK_F5, focuserOf(win32Pane->getNameField()));
    bindKey(VK_F6, focuserOf(win32Pane->getDecimalField()));
    bindKey(VK_F7, focuserOf(win32Pane->getHexField()));
    bindKey(VK_F8, focuserOf(win32Pane->getMessageArea()));
    bindKey(VK_F9, keyAdapterOf(&Kelvane::focusOtherPane));
}

void Kelvane::bindKey(std::uint32_t keyCode, awt::KeyListener* listener) {
    // Bound without modifiers: with Shift, Ctrl, Alt or the Windows key down the stroke differs.
    addKeyAccelerator(awt::KeyStroke(keyCode, 0), listener);
}

awt::KeyListener* Kelvane::focuserOf(awt::Component* target) {
    keyFocusers.push_back(std::make_unique<KeyFocuser>(target));
    return keyFocusers.back().get();
}

awt::KeyListener* Kelvane::keyAdapterOf(void (Kelvane::*target)()) {
    keyAdapters.push_back(std::make_unique<awt::KeyListener_mem_fun_t<Kelvane>>(this, target));
    return keyAdapters.back().get();
}

void Kelvane::showStatus(unsigned int textId) {
    auto text = statusTexts.find(textId);
    if (text == statusTexts.end()) {
        text = statusTexts.emplace(textId, awt::Toolkit::loadString(textId)).first;
    }
    statusBar->setText(text->second);
}

void Kelvane::onNtStatusChanged() {
    if (syncing >= 1) {
        return;
    }
    CounterGuard guard(syncing);
    std::uint32_t win32Code;
    try {
        win32Code = ntStatusToWin32(ntStatusPane->getCurrentCode());
    } catch (const NotMappedException&) {
        showStatus(IDS_NTSTATUS_NOT_MAPPED);
        win32Pane->clear();
        return;
    }
    showStatus(IDS_NTSTATUS_MAPPED);
    win32Pane->showCode(win32Code);
}

void Kelvane::onWin32Changed() {
    if (syncing >= 1) {
        return;
    }
    CounterGuard guard(syncing);
    const NtStatusList* ntStatusCodes;
    try {
        ntStatusCodes = &win32ToNtStatus(reverseMap, win32Pane->getCurrentCode());
    } catch (const NotMappedException&) {
        showStatus(IDS_WIN32_NO_NTSTATUS);
        ntStatusPane->clear();
        return;
    }
    if (ntStatusCodes->size() == 1) {
        showStatus(IDS_WIN32_ONE_NTSTATUS);
        ntStatusPane->showCode(ntStatusCodes->front());
        return;
    }
    showStatus(IDS_WIN32_SEVERAL_NTSTATUS);
    const std::vector<std::uint32_t> candidates(ntStatusCodes->begin(), ntStatusCodes->end());
    ntStatusPane->setCandidates(candidates);
    ntStatusPane->showCode(candidates.front());
}

void Kelvane::resetPanes() {
    CounterGuard guard(syncing);
    ntStatusPane->showCode(0);
    win32Pane->showCode(0);
    showStatus(IDS_PROGRAM_NAME);
}

void Kelvane::focusOtherPane() {
    awt::Component* focused = awt::Component::getFocusedComponent();
    if (focused == nullptr) {
        return;
    }
    awt::Component* reached = focused;
    for (int step = 0; step < FOCUS_STEPS_TO_OTHER_PANE; ++step) {
        reached = reached->findFocusCandidate(true, true);
        if (reached == nullptr) {
            return;
        }
    }
    reached->requestFocus();
}
