#include "awt/StatusBar.h"

#include <algorithm>

#include <commctrl.h>

#include "awt/AWTException.h"
#include "awt/Toolkit.h"
#include "awt/Window.h"
#include "zeno/Exception.h"

namespace awt {

namespace {

constexpr Dimension NOT_COMPUTED{-1, -1};

[[noreturn]] void throwMessageFailure(const wchar_t* messageName) {
    throwLastError(std::wstring(L"::SendMessage(") + messageName + L") failed");
}

void initializeBarClasses() {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_BAR_CLASSES};
    if (!InitCommonControlsEx(&classes)) {
        throw AWTException(L"::InitCommonControlsEx() failed", zeno::Exception::NO_ERROR_CODE);
    }
}

} // namespace

StatusBar::Part::Part(const std::wstring& text, std::uint32_t mode, bool bordered)
    : owner(nullptr),
      text(text),
      bordered(bordered),
      mode(mode),
      preferredCache(NOT_COMPUTED),
      textDirty(false) {}

const std::wstring& StatusBar::Part::getText() const { return text; }

void StatusBar::Part::setText(const std::wstring& newText) {
    if (newText == text) {
        return;
    }
    text = newText;
    textDirty = true;
    if (mode == STRETCH) {
        preferredCache = NOT_COMPUTED;
        if (owner != nullptr) {
            owner->preferredCache = NOT_COMPUTED;
            owner->invalidate();
        }
    } else if (owner != nullptr) {
        owner->updatePart(this);
    }
}

bool StatusBar::Part::isBordered() const { return bordered; }

std::uint32_t StatusBar::Part::getMode() const { return mode; }

StatusBar* StatusBar::Part::getOwner() const { return owner; }

Dimension StatusBar::Part::getPreferredSize() const {
    if (owner == nullptr || owner->getHWND() == nullptr) {
        return Dimension{};
    }
    if (preferredCache.width == -1) {
        const Dimension extent = owner->getTextExtent(text);
        preferredCache.width = extent.width + 2;
        preferredCache.height = extent.height + 4;
        if (bordered) {
            preferredCache.width += 2 * GetSystemMetrics(SM_CXBORDER);
            preferredCache.height += 2 * GetSystemMetrics(SM_CYBORDER);
        }
    }
    return preferredCache;
}

StatusBar::StatusBar(const std::wstring& text, bool sizeGrip)
    : sizeGrip(sizeGrip), preferredCache(NOT_COMPUTED) {
    addPart(new Part(text, Part::STRETCH, true));
}

StatusBar::~StatusBar() noexcept(false) = default;

LPCWSTR StatusBar::getClassName() const { return STATUSCLASSNAMEW; }

DWORD StatusBar::getStyle() const {
    return Component::getStyle() | (sizeGrip ? SBARS_SIZEGRIP : 0) | CCS_NORESIZE |
           CCS_NOPARENTALIGN;
}

HWND StatusBar::createWindow() {
    initializeBarClasses();
    HWND window = Component::createWindow();
    try {
        if (background != DEFAULT_COLOR) {
            SendMessageW(window, SB_SETBKCOLOR, 0, static_cast<LPARAM>(background));
        }
        // The real edges come with the first validate.
        sendParts(window, std::vector<int>(parts.size(), 0));
        for (std::size_t i = 0; i < parts.size(); ++i) {
            sendText(window, i);
        }
    } catch (...) {
        DestroyWindow(window);
        throw;
    }
    return window;
}

StatusBar::Borders StatusBar::getBorders() const {
    int values[3] = {0, 0, 0};
    if (!SendMessageW(hwnd, SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(values))) {
        throwMessageFailure(L"SB_GETBORDERS");
    }
    return Borders{values[0], values[1], values[2]};
}

Dimension StatusBar::getPreferredSize() const {
    if (hwnd == nullptr) {
        return Dimension{};
    }
    if (preferredCache.width != -1) {
        return preferredCache;
    }
    const Borders borders = getBorders();
    Dimension size;
    for (const auto& part : parts) {
        const Dimension partSize = part->getPreferredSize();
        size.width += partSize.width;
        size.height = std::max(size.height, partSize.height);
    }
    if (parts.size() >= 2) {
        size.width += static_cast<int>(parts.size() - 1) * borders.between;
    }
    size.width += 2 * borders.vertical;
    size.height += 2 * borders.horizontal;
    if (sizeGrip) {
        size.width += size.height;
    }
    preferredCache = size;
    return size;
}

bool StatusBar::isGripDrawn() const {
    if (!sizeGrip) {
        return false;
    }
    // The control draws no grip in a maximized window.
    const Window* window = getTopLevelWindow();
    return window == nullptr || !window->isMaximized();
}

void StatusBar::validate() {
    Component::validate();
    if (hwnd == nullptr) {
        return;
    }
    const Borders borders = getBorders();
    const int n = static_cast<int>(parts.size());
    std::vector<int> widths(parts.size());
    std::vector<std::size_t> stretching;
    int total = 2 * borders.vertical;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        widths[i] = parts[i]->getPreferredSize().width;
        total += widths[i];
        if (parts[i]->getMode() == Part::STRETCH) {
            stretching.push_back(i);
        }
    }
    if (n >= 2) {
        total += (n - 1) * borders.between;
    }
    if (!stretching.empty()) {
        int spare = width - total;
        if (isGripDrawn()) {
            spare -= height;
        }
        const int share = spare / static_cast<int>(stretching.size());
        for (std::size_t i : stretching) {
            widths[i] += share;
        }
    }
    // The control starts each part one border gap after the previous edge; leaving that gap
    // after every part keeps every part at its width and ends the row where the total says.
    std::vector<int> edges(parts.size());
    int x = borders.vertical;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        edges[i] = x + widths[i];
        x = edges[i] + borders.between;
    }
    sendParts(hwnd, edges);
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (parts[i]->textDirty) {
            sendText(hwnd, i);
        }
    }
}

void StatusBar::update() {
    validate();
    Component::update();
}

void StatusBar::sendParts(HWND window, const std::vector<int>& edges) {
    if (edges.empty()) {
        return;
    }
    if (!SendMessageW(window, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()))) {
        throwMessageFailure(L"SB_SETPARTS");
    }
}

void StatusBar::sendText(HWND window, std::size_t index) {
    Part& part = *parts[index];
    const WPARAM which = index | (part.bordered ? 0 : SBT_NOBORDERS);
    if (!SendMessageW(window, SB_SETTEXTW, which, reinterpret_cast<LPARAM>(part.text.c_str()))) {
        throwMessageFailure(L"SB_SETTEXT");
    }
    part.textDirty = false;
}

void StatusBar::addPart(Part* part) {
    zeno::checkNotNull(L"part", part);
    if (part->owner != nullptr) {
        throw zeno::IllegalArgumentException(L"specified part on other StatusBar");
    }
    parts.emplace_back(part);
    part->owner = this;
    // The window has not got this part's text yet, and the bar's size changes with it.
    part->textDirty = true;
    preferredCache = NOT_COMPUTED;
    if (hwnd != nullptr) {
        invalidate();
    }
}

int StatusBar::indexOf(const Part* part) const {
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (parts[i].get() == part) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int StatusBar::getPartCount() const { return static_cast<int>(parts.size()); }

StatusBar::Part* StatusBar::getPart(int index) const {
    zeno::checkIndex(L"index", 0, getPartCount(), index);
    return parts[static_cast<std::size_t>(index)].get();
}

void StatusBar::setText(const std::wstring& text) {
    if (parts.empty()) {
        addPart(new Part(text, Part::STRETCH, true));
    } else {
        parts.front()->setText(text);
    }
}

void StatusBar::setText(UINT textId) { setText(Toolkit::loadString(textId)); }

void StatusBar::updatePart(Part* part) {
    if (hwnd == nullptr) {
        return;
    }
    const int index = indexOf(part);
    if (index == -1) {
        throw zeno::IllegalArgumentException(L"specified part is not part of this status bar");
    }
    RECT rect{};
    if (!SendMessageW(hwnd, SB_GETRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect))) {
        throwMessageFailure(L"SB_GETRECT");
    }
    repaint(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

bool StatusBar::hasSizeGrip() const { return sizeGrip; }

} // namespace awt
