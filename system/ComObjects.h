#pragma once
// COM for one operation: the apartment entered and left, and interface pointers and
// strings released, on every path out of it.
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include "system/ComLibrary.h"

#include <string>
#include <utility>

// Enters a single-threaded apartment for one scope. A thread already in COM keeps its
// apartment (RPC_E_CHANGED_MODE): objects can still be made, and it is not left here.
// The scope that brought the thread into COM takes it out again, libraries and all:
// the program's memory is then what it was before.
class ComApartment {
public:
    ComApartment() : result_(ComLibrary::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComApartment() {
        if (SUCCEEDED(result_))
            ComLibrary::CoUninitialize();
        if (result_ == S_OK)  // the first entry: nothing else of the thread uses COM
            ComLibrary::Unload();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    bool usable() const { return SUCCEEDED(result_) || result_ == RPC_E_CHANGED_MODE; }
    HRESULT result() const { return result_; }

private:
    HRESULT result_;
};

// Owns one reference to an interface, for the scope of one operation.
template <typename Interface>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    Interface* operator->() const { return raw_; }
    Interface* get() const { return raw_; }
    explicit operator bool() const { return raw_ != nullptr; }
    // For the calls that hand out a new reference (CoCreateInstance, QueryInterface).
    void** put() {
        reset();
        return reinterpret_cast<void**>(&raw_);
    }
    // For the methods that hand out a reference of their own type.
    Interface** out() {
        reset();
        return &raw_;
    }
    void reset() {
        if (raw_)
            std::exchange(raw_, nullptr)->Release();
    }

private:
    Interface* raw_ = nullptr;
};

// Text of the system's ANSI code page as UTF-16, for the calls that take only that.
inline std::wstring WideText(const std::string& text) {
    const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(length > 0 ? length : 1, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), length);
    wide.resize(wide.size() - 1);  // the terminating NUL is the string's own
    return wide;
}

// A BSTR made from a text, freed at the end of the scope; null when out of memory.
class Bstr {
public:
    explicit Bstr(const std::string& text) : raw_(ComLibrary::SysAllocString(WideText(text).c_str())) {}
    ~Bstr() { ComLibrary::SysFreeString(raw_); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    BSTR get() const { return raw_; }

private:
    BSTR raw_;
};
