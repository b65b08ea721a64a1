// The objects behind one kind of handle, by handle value: kernel objects
// (handle.h), conversion streams, global memory blocks. Every kind keeps a
// table of its own, so a handle of one kind is never taken for another even
// where their values meet.
//
// Values the table counts out start at the kind's first value and go up by
// 4, as Windows hands them out; they are never reused, so a closed handle
// stays invalid. A kind whose handles are addresses enters them as they are.
// A call holds the object it found even if another thread removes its
// handle meanwhile; the object goes when the last holder lets go of it,
// outside the table's lock. The table sets no last error: each service
// answers a bad handle in its own terms.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <new>

#include "platform/core/types.h"

namespace platform {

template <class Object>
class HandleTable {
public:
    explicit HandleTable(ULONG_PTR first = 4) : m_next(first) {}
    HandleTable(const HandleTable&) = delete;
    HandleTable& operator=(const HandleTable&) = delete;

    // The object's new handle; null when there is no memory for it.
    HANDLE add(std::shared_ptr<Object> object) {
        std::lock_guard<std::mutex> guard(m_lock);
        auto value = reinterpret_cast<HANDLE>(m_next);
        if (!insert(value, object)) return nullptr;
        m_next += 4;
        return value;
    }
    // Enters the object under a handle of the caller's choosing (an address
    // it owns); false when there is no memory for it or the handle is taken.
    bool addAt(HANDLE handle, std::shared_ptr<Object> object) {
        std::lock_guard<std::mutex> guard(m_lock);
        return insert(handle, object);
    }
    // Null for a handle the table does not hold.
    std::shared_ptr<Object> find(HANDLE handle) const {
        std::lock_guard<std::mutex> guard(m_lock);
        auto found = m_objects.find(handle);
        return found == m_objects.end() ? nullptr : found->second;
    }
    // Takes the handle out and answers its object; null for a handle the
    // table does not hold.
    std::shared_ptr<Object> remove(HANDLE handle) {
        std::lock_guard<std::mutex> guard(m_lock);
        auto found = m_objects.find(handle);
        if (found == m_objects.end()) return nullptr;
        std::shared_ptr<Object> object = std::move(found->second);
        m_objects.erase(found);
        return object;
    }

private:
    // The table takes a reference of its own: the caller's outlives the
    // lock, so an object refused (the handle taken, no memory) goes only
    // after the lock is let go, however its destructor uses the table.
    bool insert(HANDLE handle, const std::shared_ptr<Object>& object) {
        try {
            return m_objects.try_emplace(handle, object).second;
        } catch (const std::bad_alloc&) {
            return false;
        }
    }

    mutable std::mutex m_lock;
    std::map<HANDLE, std::shared_ptr<Object>> m_objects;
    ULONG_PTR m_next;
};

}  // namespace platform
