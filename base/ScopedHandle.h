// Owning wrappers for Win32 handles, registry keys, modules, local memory, COM strings, variants and COM pointers.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <utility>

// Owns one resource described by Traits: Traits::Invalid() is the empty value, Traits::Close frees it.
template <class Traits>
class UniqueResource {
public:
    using Type = typename Traits::Type;

    UniqueResource() = default;
    explicit UniqueResource(Type value) : value_(value) {}
    ~UniqueResource() { Reset(); }
    UniqueResource(UniqueResource&& other) noexcept : value_(other.Release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept
    {
        if (this != &other) {
            Reset(other.Release());
        }
        return *this;
    }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;

    Type Get() const { return value_; }
    bool IsValid() const { return !Traits::IsInvalid(value_); }
    explicit operator bool() const { return IsValid(); }

    // Frees the current resource and takes ownership of value.
    void Reset(Type value = Traits::Invalid())
    {
        if (IsValid()) {
            Traits::Close(value_);
        }
        value_ = value;
    }

    // Gives up ownership without freeing.
    Type Release()
    {
        Type value = value_;
        value_ = Traits::Invalid();
        return value;
    }

private:
    Type value_ = Traits::Invalid();
};

struct KernelHandleTraits {
    using Type = HANDLE;
    static Type Invalid() { return nullptr; }
    static bool IsInvalid(Type h) { return h == nullptr || h == INVALID_HANDLE_VALUE; }
    static void Close(Type h) { CloseHandle(h); }
};

struct FindHandleTraits {
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static bool IsInvalid(Type h) { return h == nullptr || h == INVALID_HANDLE_VALUE; }
    static void Close(Type h) { FindClose(h); }
};

struct RegKeyTraits {
    using Type = HKEY;
    static Type Invalid() { return nullptr; }
    static bool IsInvalid(Type h) { return h == nullptr; }
    static void Close(Type h) { RegCloseKey(h); }
};

struct ModuleTraits {
    using Type = HMODULE;
    static Type Invalid() { return nullptr; }
    static bool IsInvalid(Type h) { return h == nullptr; }
    static void Close(Type h) { FreeLibrary(h); }
};

struct LocalMemTraits {
    using Type = HLOCAL;
    static Type Invalid() { return nullptr; }
    static bool IsInvalid(Type h) { return h == nullptr; }
    static void Close(Type h) { LocalFree(h); }
};

struct BstrTraits {
    using Type = BSTR;
    static Type Invalid() { return nullptr; }
    static bool IsInvalid(Type s) { return s == nullptr; }
    static void Close(Type s) { SysFreeString(s); }
};

using UniqueHandle = UniqueResource<KernelHandleTraits>;
using UniqueFindHandle = UniqueResource<FindHandleTraits>;
using UniqueHKey = UniqueResource<RegKeyTraits>;
using UniqueModule = UniqueResource<ModuleTraits>;
using UniqueLocalMem = UniqueResource<LocalMemTraits>;
using UniqueBstr = UniqueResource<BstrTraits>;

// Owns the content of a VARIANT (strings, interfaces), cleared when the scope ends.
class UniqueVariant {
public:
    UniqueVariant() { VariantInit(&value_); }
    ~UniqueVariant() { VariantClear(&value_); }
    UniqueVariant(const UniqueVariant&) = delete;
    UniqueVariant& operator=(const UniqueVariant&) = delete;

    const VARIANT& Get() const { return value_; }

    // Clears the current content and answers the address for an out-parameter.
    VARIANT* Put()
    {
        VariantClear(&value_);
        return &value_;
    }

private:
    VARIANT value_;
};

// A reference-counted COM interface pointer.
template <class T>
class ComPtr {
public:
    ComPtr() = default;
    // Takes a reference of its own to ptr.
    explicit ComPtr(T* ptr) : ptr_(ptr)
    {
        if (ptr_ != nullptr) {
            ptr_->AddRef();
        }
    }
    ~ComPtr() { Reset(); }
    ComPtr(const ComPtr& other) : ptr_(other.ptr_)
    {
        if (ptr_ != nullptr) {
            ptr_->AddRef();
        }
    }
    ComPtr(ComPtr&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
    ComPtr& operator=(ComPtr other) noexcept
    {
        std::swap(ptr_, other.ptr_);
        return *this;
    }

    T* Get() const { return ptr_; }
    T* operator->() const { return ptr_; }
    explicit operator bool() const { return ptr_ != nullptr; }

    void Reset()
    {
        if (ptr_ != nullptr) {
            std::exchange(ptr_, nullptr)->Release();
        }
    }

    // Address for out-parameters of functions that hand back an added reference.
    T** Put()
    {
        Reset();
        return &ptr_;
    }
    void** PutVoid() { return reinterpret_cast<void**>(Put()); }

private:
    T* ptr_ = nullptr;
};

// Runs a callable when the scope ends.
template <class F>
class ScopeExit {
public:
    explicit ScopeExit(F f) : f_(std::move(f)) {}
    ~ScopeExit() { f_(); }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;

private:
    F f_;
};
