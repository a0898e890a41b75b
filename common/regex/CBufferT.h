#pragma once

// Growable arrays of the regular-expression engine: a read-only view
// (pointer and count) and an owning buffer derived from it. The engine keeps
// its backtracking and capture state in these, never on the C++ stack, so
// long texts cost memory, not recursion depth.

#include <cstddef>
#include <vector>

template <class T>
class CBufferRefT
{
public:
    CBufferRefT(const T* pRef = nullptr, int nSize = 0) : m_pRef(pRef), m_nSize(nSize) {}
    virtual ~CBufferRefT() = default;

    const T* GetBuffer() const { return m_pRef; }
    int GetSize() const { return m_nSize; }
    const T& operator[](int nIndex) const { return m_pRef[nIndex]; }

protected:
    const T* m_pRef;
    int m_nSize;
};

template <class T>
class CBufferT : public CBufferRefT<T>
{
public:
    CBufferT() = default;
    CBufferT(const CBufferT& other) : CBufferRefT<T>(), m_data(other.m_data) { Sync(); }
    CBufferT(CBufferT&& other) noexcept : CBufferRefT<T>(), m_data(std::move(other.m_data)) { Sync(); other.Sync(); }
    CBufferT& operator=(const CBufferT& other)
    {
        m_data = other.m_data;
        Sync();
        return *this;
    }
    CBufferT& operator=(CBufferT&& other) noexcept
    {
        m_data = std::move(other.m_data);
        Sync();
        other.Sync();
        return *this;
    }

    // Appends one element; the capacity doubles when full (at least 8).
    void Push(const T& value)
    {
        if (m_data.size() == m_data.capacity())
            m_data.reserve(m_data.capacity() < 8 ? 8 : m_data.capacity() * 2);
        m_data.push_back(value);
        Sync();
    }

    // Removes the last element into value; 0 when the buffer was empty.
    int Pop(T& value)
    {
        if (m_data.empty())
            return 0;
        value = m_data.back();
        m_data.pop_back();
        Sync();
        return 1;
    }

    // Pops and returns the last element; T() on an empty buffer.
    T Pop()
    {
        T value{};
        Pop(value);
        return value;
    }

    // Makes nIndex a valid element; every new element gets fill.
    void Prepare(int nIndex, const T& fill = T())
    {
        if (nIndex >= 0 && static_cast<std::size_t>(nIndex) >= m_data.size()) {
            m_data.resize(static_cast<std::size_t>(nIndex) + 1, fill);
            Sync();
        }
    }

    // Cuts the buffer back to nSize elements (no-op when already shorter).
    void Restore(int nSize)
    {
        if (nSize >= 0 && static_cast<std::size_t>(nSize) < m_data.size()) {
            m_data.resize(static_cast<std::size_t>(nSize));
            Sync();
        }
    }

    void Clear() { Restore(0); }

    T& operator[](int nIndex) { return m_data[static_cast<std::size_t>(nIndex)]; }
    const T& operator[](int nIndex) const { return m_data[static_cast<std::size_t>(nIndex)]; }

private:
    void Sync()
    {
        this->m_pRef = m_data.data();
        this->m_nSize = static_cast<int>(m_data.size());
    }

    std::vector<T> m_data;
};
