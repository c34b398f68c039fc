#include "awt/Container.h"

#include <algorithm>
#include <exception>

#include "zeno/Exception.h"

#include "awt/Event.h"
#include "awt/Listener.h"
#include "awt/NullLayout.h"

namespace awt {

Container::Container() : layout(&NullLayout::instance), containerFlags(0) {}

Container::~Container() noexcept(false) {
    // While the children still hang below this container, the window can tell which are gone.
    forgetInTopLevel();
    std::exception_ptr failure;
    while (!children.empty()) {
        Component* child = children.back();
        children.pop_back();
        // Already out of the list: the child must not look for itself in it.
        child->parent = nullptr;
        try {
            delete child;
        } catch (...) {
            if (!failure) {
                failure = std::current_exception();
            }
        }
    }
    if (failure && std::uncaught_exceptions() == 0) {
        std::rethrow_exception(failure);
    }
}

void Container::setLayout(LayoutManager* newLayout) {
    zeno::checkNotNull(L"layout", newLayout);
    if (newLayout != layout) {
        layout = newLayout;
        invalidate();
    }
}

Insets Container::getInsets() const {
    return Insets{};
}

void Container::addImpl(Component* child, int index,
                        const LayoutManager::Constraints& constraints) {
    zeno::checkNotNull(L"child", child);
    if (child->parent == this) {
        return;
    }
    if (child->parent != nullptr) {
        throw zeno::IllegalArgumentException(L"child already added to another container");
    }
    if (!child->isChild()) {
        throw zeno::IllegalArgumentException(L"can't add top level window");
    }
    zeno::checkIndex(L"index", 0, getComponentCount() + 1, index);
    children.insert(children.begin() + index, child);
    child->parent = this;
    if (hwnd != nullptr) {
        child->createPeer();
    }
    layout->addLayoutComponent(child, constraints);
    fireContainerEvent(ContainerEvent::ADDED, child);
    invalidate();
}

void Container::remove(int index, Component* child) {
    zeno::checkIndex(L"index", 0, getComponentCount(), index);
    if (children[static_cast<std::size_t>(index)] != child) {
        throw zeno::IllegalArgumentException(L"child is not at the given position");
    }
    if (hwnd != nullptr) {
        child->destroyPeer();
    }
    children.erase(children.begin() + index);
    child->parent = nullptr;
    child->toolkit = nullptr;
    layout->removeLayoutComponent(child);
    fireContainerEvent(ContainerEvent::REMOVED, child);
    invalidate();
}

void Container::createPeer() {
    Component::createPeer();
    for (std::size_t i = 0; i < children.size(); ++i) {
        children[i]->createPeer();
    }
}

void Container::destroyPeer() {
    for (std::size_t i = children.size(); i-- > 0;) {
        children[i]->destroyPeer();
    }
    Component::destroyPeer();
}

LRESULT Container::windowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    bool handled = false;
    LRESULT result = 0;
    switch (message) {
    case WM_COMMAND:
        if (Component* target = fromHandle<Component>(reinterpret_cast<HWND>(lParam))) {
            result = target->processCommand(HIWORD(wParam), wParam, &handled);
        }
        break;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header != nullptr) {
            if (Component* target = fromHandle<Component>(header->hwndFrom)) {
                result = target->processNotify(header->code, header, &handled);
            }
        }
        break;
    }
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (Component* target = fromHandle<Component>(reinterpret_cast<HWND>(lParam))) {
            result = target->processScroll(wParam, HIWORD(wParam), &handled);
        }
        break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        if (Component* target = fromHandle<Component>(reinterpret_cast<HWND>(lParam))) {
            result = target->processControlColor(message, reinterpret_cast<HDC>(wParam), &handled);
        }
        break;
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
        for (std::size_t i = 0; i < children.size(); ++i) {
            if (HWND childWindow = children[i]->getHWND()) {
                SendMessageW(childWindow, message, wParam, lParam);
            }
        }
        break;
    default:
        break;
    }
    if (handled) {
        return result;
    }
    return Component::windowProc(message, wParam, lParam);
}

DWORD Container::getStyle() const {
    DWORD style = Component::getStyle() | WS_CLIPCHILDREN;
    if (isGroup()) {
        style |= WS_GROUP;
    }
    return style;
}

DWORD Container::getExStyle() const {
    return Component::getExStyle() | WS_EX_CONTROLPARENT;
}

Dimension Container::getPreferredSize() const {
    return layout->preferredLayoutSize(this);
}

void Container::setTreeEnabled(bool enabled) {
    for (std::size_t i = 0; i < children.size(); ++i) {
        children[i]->setTreeEnabled(enabled);
    }
    setEnabled(enabled);
}

void Container::requestFocus() {
    if (isFocusable()) {
        Component::requestFocus();
        return;
    }
    if (Component* candidate = findCandidateInside(this, true)) {
        candidate->requestFocus();
    }
}

void Container::validate() {
    Component::validate();
    if (hwnd != nullptr) {
        layout->layoutContainer(this);
    }
}

void Container::repaint(int left, int top, int w, int h) {
    if (hwnd == nullptr || !isVisible()) {
        return;
    }
    Component::repaint(left, top, w, h);
    const int right = left + w;
    const int bottom = top + h;
    for (std::size_t i = 0; i < children.size(); ++i) {
        Component* child = children[i];
        const Rectangle bounds = child->getBounds();
        const int ix0 = std::max(left, bounds.x);
        const int iy0 = std::max(top, bounds.y);
        const int ix1 = std::min(right, bounds.x + bounds.width);
        const int iy1 = std::min(bottom, bounds.y + bounds.height);
        if (ix0 < ix1 && iy0 < iy1) {
            child->repaint(ix0 - bounds.x, iy0 - bounds.y, ix1 - ix0, iy1 - iy0);
        }
    }
}

void Container::add(Component* child, const LayoutManager::Constraints& constraints) {
    addImpl(child, getComponentCount(), constraints);
}

void Container::add(Component* child) {
    LayoutManager::Constraints none;
    addImpl(child, getComponentCount(), none);
}

int Container::getComponentCount() const {
    return static_cast<int>(children.size());
}

Component* Container::getComponent(int index) const {
    zeno::checkIndex(L"index", 0, getComponentCount(), index);
    return children[static_cast<std::size_t>(index)];
}

const std::vector<Component*>& Container::getComponents() const {
    return children;
}

int Container::indexOf(const Component* component) const {
    auto found = std::find(children.begin(), children.end(), component);
    if (found == children.end()) {
        return -1;
    }
    return static_cast<int>(found - children.begin());
}

LayoutManager* Container::getLayout() const {
    return layout;
}

bool Container::isGroup() const {
    return (containerFlags & GROUP) != 0;
}

void Container::setGroup(bool group) {
    if (group) {
        containerFlags |= GROUP;
    } else {
        containerFlags &= static_cast<std::uint8_t>(~GROUP);
    }
}

void Container::addContainerListener(ContainerListener* listener) {
    listeners.add(listener);
}

void Container::removeContainerListener(ContainerListener* listener) {
    listeners.remove(listener);
}

void Container::fireContainerEvent(std::int32_t id, Component* child) {
    ContainerEvent event;
    event.source = this;
    event.id = id;
    event.child = child;
    if (id == ContainerEvent::ADDED) {
        listeners.fire(&ContainerListener::componentAdded, &event);
    } else {
        listeners.fire(&ContainerListener::componentRemoved, &event);
    }
}

void Container::forgetChild(Component* child) {
    auto found = std::find(children.begin(), children.end(), child);
    if (found == children.end()) {
        return;
    }
    children.erase(found);
    layout->removeLayoutComponent(child);
}

} // namespace awt
