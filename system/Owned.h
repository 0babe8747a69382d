#pragma once
// One owner for every kind of handle the program opens (kernel handles, icons, GDI
// objects, DCs): released on every way out of the scope that holds it, movable, never
// copied. A traits type says how to release the handle, which values mean "none", and
// optionally counts the live ones.
#include <utility>

template <typename Traits>
class Owned {
public:
    using Raw = typename Traits::Raw;

    Owned() = default;
    explicit Owned(Raw raw) : raw_(raw) {
        if constexpr (requires { Traits::Live(); })
            if (*this)
                ++Traits::Live();
    }
    ~Owned() { Close(); }
    Owned(Owned&& other) noexcept : raw_(std::exchange(other.raw_, Raw())) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other) {
            Close();
            raw_ = std::exchange(other.raw_, Raw());
        }
        return *this;
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;

    Raw get() const { return raw_; }
    explicit operator bool() const { return Traits::Valid(raw_); }
    void Close() {
        if (*this) {
            Traits::Release(raw_);
            if constexpr (requires { Traits::Live(); })
                --Traits::Live();
        }
        raw_ = Raw();
    }

private:
    Raw raw_ = Raw();
};
