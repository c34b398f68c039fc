#include "awt/ListenerRegistry.h"

#include <algorithm>

#include "zeno/Exception.h"

namespace awt {

void ListenerRegistry::add(const ListenerTag* tag, void* listener) {
    zeno::checkNotNull(L"listener", listener);
    if (!contains(tag, listener)) {
        entries.emplace_back(tag, listener);
    }
}

void ListenerRegistry::remove(const ListenerTag* tag, void* listener) {
    auto found = std::find(entries.begin(), entries.end(), Entry(tag, listener));
    if (found != entries.end()) {
        entries.erase(found);
    }
}

bool ListenerRegistry::contains(const ListenerTag* tag, const void* listener) const {
    return std::any_of(entries.begin(), entries.end(), [&](const Entry& entry) {
        return entry.first == tag && entry.second == listener;
    });
}

std::size_t ListenerRegistry::count(const ListenerTag* tag) const {
    return static_cast<std::size_t>(std::count_if(
        entries.begin(), entries.end(), [&](const Entry& entry) { return entry.first == tag; }));
}

std::size_t ListenerRegistry::size() const {
    return entries.size();
}

} // namespace awt
