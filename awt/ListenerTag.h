#pragma once

namespace awt {

// Identifies one listener interface in a listener registry; tags are compared by address.
class ListenerTag {
public:
    explicit constexpr ListenerTag(const wchar_t* name) : name(name) {}
    ListenerTag(const ListenerTag&) = delete;
    ListenerTag& operator=(const ListenerTag&) = delete;

    // The interface's name, for example "awt::MouseListener".
    constexpr const wchar_t* getName() const { return name; }

private:
    const wchar_t* name;
};

} // namespace awt
