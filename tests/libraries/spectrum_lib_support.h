// Shared pieces of the measured-spectrum library tests: loading an entry by
// full path, spectrum arrays followed by sentinels, and a cross section whose
// multiple-scattering loss spectrum has a closed form.
#pragma once

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace spectest {

constexpr float kSentinel = -12345.0f;

template <class Fn>
Fn load(const char* file, const char* entry) {
  void* handle = dlopen((std::string(KELVARA_BIN_DIR "/") + file).c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) return nullptr;
  return reinterpret_cast<Fn>(dlsym(handle, entry));
}

// A spectrum array: count, first energy, step, the values, then sentinels up
// to `size` elements.
inline std::vector<float> spectrum(float e0, float step, const std::vector<float>& values, size_t size = 0) {
  std::vector<float> s(std::max(size, values.size() + 3), kSentinel);
  s[0] = static_cast<float>(values.size());
  s[1] = e0;
  s[2] = step;
  std::copy(values.begin(), values.end(), s.begin() + 3);
  return s;
}

inline std::vector<float> sentinels(size_t size) { return std::vector<float>(size, kSentinel); }

// True when every element from index `from` (0-based) still holds the sentinel.
inline bool untouchedFrom(const std::vector<float>& v, size_t from) {
  return std::all_of(v.begin() + static_cast<long>(std::min(from, v.size())), v.end(),
                     [](float x) { return x == kSentinel; });
}

// A spectrum array of exactly count + 3 elements (at least 3) with values
// drawn from `seed`: ordinary numbers mixed with 0, negative, huge, infinite
// and NaN values, and an odd first energy or step now and then.
inline std::vector<float> hostileSpectrum(unsigned seed, int count) {
  const float odd[] = {0.0f, -1.0f, 3e38f, -3e38f, 1e-30f, INFINITY, -INFINITY, NAN};
  std::vector<float> s(static_cast<size_t>(std::max(count, 0)) + 3);
  unsigned x = seed * 2654435761u + 1u;
  auto next = [&x] { return x = x * 1664525u + 1013904223u; };
  for (float& v : s) v = (next() >> 8) % 5 == 0 ? odd[(next() >> 8) % 8] : static_cast<float>((next() >> 8) % 1000) / 10.0f;
  s[0] = static_cast<float>(count);
  s[1] = (next() >> 8) % 4 == 0 ? odd[(next() >> 8) % 8] : 100.0f;
  s[2] = (next() >> 8) % 4 == 0 ? odd[(next() >> 8) % 8] : 0.5f;
  return s;
}

// K(T) = a*T*exp(-b*T). Its n-fold self-convolution is
// a^n*T^(2n-1)*exp(-b*T)/(2n-1)!, so the loss spectrum of an elastic peak of
// area A0 with all orders of scattering, A0*(K + K*K + K*K*K + ...), sums to
// A0*sqrt(a)*sinh(sqrt(a)*T)*exp(-b*T).
struct SeriesModel {
  double a = 1e-3, b = 0.1, a0 = 1.0;
  double K(double t) const { return a * t * std::exp(-b * t); }
  double J(double t) const { return a0 * std::sqrt(a) * std::sinh(std::sqrt(a) * t) * std::exp(-b * t); }
  double areaK(double t) const { return a / (b * b) * (1.0 - std::exp(-b * t) * (1.0 + b * t)); }
  double maxK() const { return K(1.0 / b); }
};

}  // namespace spectest
