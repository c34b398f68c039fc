#pragma once

#include <cstdint>
#include <vector>

#include "awt/Component.h"
#include "awt/LayoutManager.h"

namespace awt {

class ContainerListener;

// A component that owns an ordered list of children and places them with a layout manager.
// Its native window is created before and destroyed after its children's; notifications and
// control-colour requests of child controls are routed to the child that sent them.
class Container : public Component {
public:
    Container();
    // Deletes the children, last first; then the component part (native window last).
    ~Container() noexcept(false) override;

    // Slots 31 to 34. A null layout fails zeno::checkNotNull "layout"; the layout is not owned.
    virtual void setLayout(LayoutManager* layout);
    // All zeros.
    virtual Insets getInsets() const;
    // Inserts the child at the index (0 to the child count), creates its window when this
    // container has one, tells the layout, fires componentAdded and invalidates. Adding a child
    // of this container again does nothing; a child of another container throws
    // zeno::IllegalArgumentException "child already added to another container", a window
    // "can't add top level window".
    virtual void addImpl(Component* child, int index, const LayoutManager::Constraints& constraints);
    // Removes the child at the position (its window is destroyed, the child is not deleted).
    virtual void remove(int index, Component* child);

    // Overrides of Component.
    void createPeer() override;
    void destroyPeer() override;
    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Adds WS_CLIPCHILDREN, and WS_GROUP for a group.
    DWORD getStyle() const override;
    // Adds WS_EX_CONTROLPARENT.
    DWORD getExStyle() const override;
    // The layout's preferred size (not cached).
    Dimension getPreferredSize() const override;
    void setTreeEnabled(bool enabled) override;
    void requestFocus() override;
    // Resets the frame insets and, with a window, lays out the children.
    void validate() override;
    void repaint(int x, int y, int width, int height) override;

    // Appends the child (addImpl at the end).
    void add(Component* child, const LayoutManager::Constraints& constraints);
    // Appends the child with default constraints.
    void add(Component* child);
    int getComponentCount() const;
    // Throws zeno::IndexOutOfBoundsException "index" unless 0 <= index < count.
    Component* getComponent(int index) const;
    const std::vector<Component*>& getComponents() const;
    // Position of the child, or -1.
    int indexOf(const Component* component) const;
    LayoutManager* getLayout() const;

    // A group is a boundary for arrow-key focus traversal; its window gets WS_GROUP.
    bool isGroup() const;
    void setGroup(bool group);

    void addContainerListener(ContainerListener* listener);
    void removeContainerListener(ContainerListener* listener);

private:
    static constexpr std::uint8_t GROUP = 1;

    void fireContainerEvent(std::int32_t id, Component* child);
    // A child that is being deleted leaves the list and the layout without events.
    void forgetChild(Component* child);

    friend class Component;

    std::vector<Component*> children;
    LayoutManager* layout;
    std::uint8_t containerFlags;
};

} // namespace awt
