#pragma once

#include <windows.h>

#include <cstddef>
#include <new>
#include <type_traits>

// Process heap memory, aligned for any type, for objects made as T() makes them (a number: 0); empty (false) if none.
template <class T>
class CHeapBlock {
    static_assert(std::is_trivially_destructible_v<T>, "the objects go with the memory, never destroyed");

public:
    CHeapBlock() = default;
    explicit CHeapBlock(std::size_t count) { Allocate(count); }
    CHeapBlock(const CHeapBlock&) = delete;
    CHeapBlock& operator=(const CHeapBlock&) = delete;
    ~CHeapBlock() { HeapFree(GetProcessHeap(), 0, m_data); }

    // Room for `count` objects in place of what it held; false when there is none.
    bool Allocate(std::size_t count)
    {
        HeapFree(GetProcessHeap(), 0, m_data);
        m_data = static_cast<T*>(HeapAlloc(GetProcessHeap(), 0, count ? count * sizeof(T) : 1));
        for (std::size_t i = 0; m_data && i < count; ++i)
            new (m_data + i) T();
        return m_data != nullptr;
    }

    explicit operator bool() const { return m_data != nullptr; }
    T* Get() const { return m_data; }
    T& operator[](std::size_t i) const { return m_data[i]; }

private:
    T* m_data = nullptr;
};
