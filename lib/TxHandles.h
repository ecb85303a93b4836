#pragma once

#include <windows.h>

// Small owning wrappers for the system's handle kinds, so that no path of the
// logic code closes a handle by hand or leaks one.
template <class Traits> class TxUniqueResource
{
public:
    using Type = typename Traits::Type;

    TxUniqueResource() : m_h(Traits::Invalid()) {}
    explicit TxUniqueResource(Type h) : m_h(h) {}
    TxUniqueResource(const TxUniqueResource&) = delete;
    TxUniqueResource& operator=(const TxUniqueResource&) = delete;
    TxUniqueResource(TxUniqueResource&& other) noexcept : m_h(other.Release()) {}
    TxUniqueResource& operator=(TxUniqueResource&& other) noexcept
    {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    ~TxUniqueResource() { Reset(); }

    Type Get() const { return m_h; }
    bool IsValid() const { return m_h != Traits::Invalid(); }
    // Gives up ownership; the caller closes the returned handle.
    Type Release()
    {
        Type h = m_h;
        m_h = Traits::Invalid();
        return h;
    }
    void Reset(Type h = Traits::Invalid())
    {
        if (m_h != Traits::Invalid())
            Traits::Close(m_h);
        m_h = h;
    }
    // For APIs that return the handle through an out parameter.
    Type* Receive()
    {
        Reset();
        return &m_h;
    }

private:
    Type m_h;
};

struct TxFileHandleTraits
{
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) { CloseHandle(h); }
};

struct TxKernelHandleTraits
{
    using Type = HANDLE;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { CloseHandle(h); }
};

struct TxFindHandleTraits
{
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) { FindClose(h); }
};

struct TxRegKeyTraits
{
    using Type = HKEY;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { RegCloseKey(h); }
};

struct TxLocalMemTraits
{
    using Type = HLOCAL;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { LocalFree(h); }
};

struct TxModuleTraits
{
    using Type = HMODULE;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { FreeLibrary(h); }
};

// File handles from CreateFile (invalid value -1).
using TxFileHandle = TxUniqueResource<TxFileHandleTraits>;
// Events, processes, threads (invalid value null).
using TxKernelHandle = TxUniqueResource<TxKernelHandleTraits>;
using TxFindHandle = TxUniqueResource<TxFindHandleTraits>;
using TxRegKey = TxUniqueResource<TxRegKeyTraits>;
using TxLocalMem = TxUniqueResource<TxLocalMemTraits>;
using TxModule = TxUniqueResource<TxModuleTraits>;

// Owns one reference to a COM interface.
template <class T> class TxComPtr
{
public:
    TxComPtr() : m_p(nullptr) {}
    TxComPtr(const TxComPtr&) = delete;
    TxComPtr& operator=(const TxComPtr&) = delete;
    ~TxComPtr() { Reset(); }

    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    // For the creating call's out parameter.
    void** Receive()
    {
        Reset();
        return reinterpret_cast<void**>(&m_p);
    }
    void Reset()
    {
        if (m_p != nullptr)
            m_p->Release();
        m_p = nullptr;
    }

private:
    T* m_p;
};
