#pragma once

#include <cstddef>
#include <utility>
#include <vector>

#include "awt/ListenerTag.h"

namespace awt {

// The listeners of one component, of all interfaces, as an ordered list of (tag, listener) pairs.
// Listeners are not owned. Dispatch walks the list from the last pair to the first, so the most
// recently added listener is called first; every matching listener is called, also after one of
// them consumed the event.
class ListenerRegistry {
public:
    ListenerRegistry() = default;
    ListenerRegistry(const ListenerRegistry&) = delete;
    ListenerRegistry& operator=(const ListenerRegistry&) = delete;

    // Appends the pair unless exactly that pair is present. A null listener throws
    // zeno::NullPointerException "listener".
    void add(const ListenerTag* tag, void* listener);
    // Erases the first identical pair; an absent pair is ignored.
    void remove(const ListenerTag* tag, void* listener);
    bool contains(const ListenerTag* tag, const void* listener) const;
    // Number of pairs under the tag.
    std::size_t count(const ListenerTag* tag) const;
    std::size_t size() const;

    template <class L>
    void add(L* listener) {
        add(&L::TAG, static_cast<void*>(listener));
    }
    template <class L>
    void remove(L* listener) {
        remove(&L::TAG, static_cast<void*>(listener));
    }
    template <class L>
    bool contains(const L* listener) const {
        return contains(&L::TAG, static_cast<const void*>(listener));
    }

    // Calls the operation of every listener of interface L, last registered first. Listeners may
    // add or remove listeners meanwhile: the walk goes over the pairs registered when it began,
    // each is called at most once, and pairs removed before their turn are not called.
    template <class L, class E>
    void fire(void (L::*operation)(E*), E* event) {
        std::vector<void*> called;
        for (std::size_t i = entries.size(); i-- > 0;) {
            if (entries[i].first == &L::TAG) {
                called.push_back(entries[i].second);
            }
        }
        for (void* listener : called) {
            if (contains(&L::TAG, listener)) {
                (static_cast<L*>(listener)->*operation)(event);
            }
        }
    }

private:
    using Entry = std::pair<const ListenerTag*, void*>;
    std::vector<Entry> entries;
};

} // namespace awt
