#pragma once
// COM for one operation: the apartment entered and left, and interface pointers
// released, on every path out of it.
#include <windows.h>
#include <objbase.h>

#include <utility>

// Enters a single-threaded apartment for one scope. A thread already in COM keeps its
// apartment (RPC_E_CHANGED_MODE): objects can still be made, and it is not left here.
class ComApartment {
public:
    ComApartment() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComApartment() {
        if (SUCCEEDED(result_))
            CoUninitialize();
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
    explicit operator bool() const { return raw_ != nullptr; }
    // For the calls that hand out a new reference (CoCreateInstance, QueryInterface).
    void** put() {
        reset();
        return reinterpret_cast<void**>(&raw_);
    }
    void reset() {
        if (raw_)
            std::exchange(raw_, nullptr)->Release();
    }

private:
    Interface* raw_ = nullptr;
};
