// Per-thread maps from handles to the class library's objects: permanent entries for objects
// that own their handle (Attach), temporary wrappers for handles met through FromHandle.
#pragma once

#include <functional>
#include <map>
#include <typeinfo>
#include <utility>

namespace mfc {

class HandleMap {
public:
    ~HandleMap() { DeleteTemps(); }

    void Add(void* h, void* object) { m_permanent[h] = object; }
    void Remove(void* h, void* object)
    {
        auto it = m_permanent.find(h);
        if (it != m_permanent.end() && it->second == object)
            m_permanent.erase(it);
    }
    void* Permanent(void* h) const
    {
        auto it = m_permanent.find(h);
        return it == m_permanent.end() ? nullptr : it->second;
    }

    // The temporary wrapper of class T for a handle, made on first use.
    // `attach` sets the handle into a new wrapper, `clear` takes it out before the wrapper is
    // deleted, so the handle itself is never destroyed.
    template <class T> T* Temp(void* h, void (*attach)(T&, void*), void (*clear)(T&))
    {
        auto key = std::make_pair(h, &typeid(T));
        auto it = m_temps.find(key);
        if (it != m_temps.end())
            return static_cast<T*>(it->second.object);
        T* t = new T;
        attach(*t, h);
        m_temps[key] = Entry{t, [t, clear] {
                                 clear(*t);
                                 delete t;
                             }};
        return t;
    }
    // Frees the temporary wrappers; their handles stay alive (they belong to someone else).
    void DeleteTemps()
    {
        auto temps = std::move(m_temps);
        m_temps.clear();
        for (auto& [key, e] : temps)
            e.destroy();
    }
    bool IsTemp(void* object) const
    {
        for (auto& [key, e] : m_temps)
            if (e.object == object)
                return true;
        return false;
    }

private:
    struct Entry {
        void* object;
        std::function<void()> destroy;
    };
    std::map<void*, void*> m_permanent;
    std::map<std::pair<void*, const std::type_info*>, Entry> m_temps;
};

} // namespace mfc
