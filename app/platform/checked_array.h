#pragma once
// Fixed-size arrays indexed as the program indexes them (lower bound 0 or 1,
// inclusive upper bound). Every access is checked; an index out of bounds
// raises "Subscript out of range". element1() is the address handed to a
// library (the address of element 1).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/errors.h"

namespace kelvara {

template <typename T>
class CheckedArray {
public:
    // upper = lower - 1 gives an empty array; a smaller upper bound is refused.
    CheckedArray(int lower, int upper)
        : lower_(lower), upper_(upper), data_(checkedSize(lower, upper), T{}) {}

    int lower() const noexcept { return lower_; }
    int upper() const noexcept { return upper_; }
    int size() const noexcept { return upper_ - lower_ + 1; }

    bool inBounds(long long i) const noexcept { return i >= lower_ && i <= upper_; }

    T& operator()(long long i) {
        check(i);
        return data_[static_cast<std::size_t>(i - lower_)];
    }
    const T& operator()(long long i) const {
        check(i);
        return data_[static_cast<std::size_t>(i - lower_)];
    }
    T& operator[](long long i) { return (*this)(i); }
    const T& operator[](long long i) const { return (*this)(i); }

    // Address of element 1, as a library receives it.
    T* element1() { return &(*this)(1); }
    const T* element1() const { return &(*this)(1); }
    T* data() noexcept { return data_.data(); }
    const T* data() const noexcept { return data_.data(); }

    void clear() { std::fill(data_.begin(), data_.end(), T{}); }

private:
    static std::size_t checkedSize(int lower, int upper) {
        const long long n = static_cast<long long>(upper) - lower + 1;
        if (n < 0) raise(ErrorCode::SubscriptOutOfRange);
        return static_cast<std::size_t>(n);
    }
    void check(long long i) const {
        if (i < lower_ || i > upper_) raise(ErrorCode::SubscriptOutOfRange);
    }
    int lower_;
    int upper_;
    std::vector<T> data_;
};

using SingleArray = CheckedArray<float>;
using IntegerArray = CheckedArray<int16_t>;

} // namespace kelvara
