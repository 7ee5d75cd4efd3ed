// One sweep of hostile arguments over every export of the ten libraries.
// Model arrays are allocated with exactly NumOsc elements and input spectra
// with exactly their count + 3, so that the sanitizer build catches any read
// beyond them; every output array carries sentinels behind the last element
// the call may write. Each call must return (a hang shows as the test's
// time-out) and write nothing behind element N.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "kelvara_libraries.h"
#include "loss_library_support.h"

namespace {

using losstest::loadEntry;

constexpr float kSentinel = -9191.0f;
constexpr size_t kBeyond = 8;
const float kNaN = std::numeric_limits<float>::quiet_NaN();
const float kInf = std::numeric_limits<float>::infinity();

// An array of exactly n floats on the heap (n = 0 gives a valid address that
// may not be read).
struct Exact {
  explicit Exact(size_t n, float fill = 0.0f) : size(n), data(new float[n]) {
    for (size_t i = 0; i < n; ++i) data[i] = fill;
  }
  size_t size;
  std::unique_ptr<float[]> data;
  float* p() { return data.get(); }
};

// An output array: `bound` elements the call may write, then sentinels.
struct Out {
  explicit Out(size_t bound) : bound(bound), v(bound + kBeyond, kSentinel) {}
  size_t bound;
  std::vector<float> v;
  float* p() { return v.data(); }
  // 1-based element of the first sentinel that was overwritten; 0 when none.
  size_t overrun() const {
    for (size_t k = bound; k < v.size(); ++k)
      if (v[k] != kSentinel) return k + 1;
    return 0;
  }
};

// Points trunc(top/step) (or trunc((top - low)/step + 1)) of a grid, 0 when
// the step is not positive and finite, at most 1000.
size_t GridPoints(float top, float step, float low = 0.0f, bool inclusive = false) {
  if (!(std::isfinite(step) && step > 0.0f)) return 0;
  const double q = (double(top) - double(low)) / double(step) + (inclusive ? 1.0 : 0.0);
  if (!(q >= 1.0)) return 0;
  return q >= 1000.0 ? 1000 : size_t(q);
}

// ---- the oscillator-model libraries

struct GridCase {
  const char* name;
  float ep, estep, emax, length, egap, theta, q;
  int16_t num;
  float modelValue = 1.0f;  // scales the model (NaN and infinity poison it)
  float emin = 0.5f;
  int16_t nIntegr = 10;
  bool fills = false;  // every element up to N must be written
};

const std::vector<GridCase>& GridCases() {
  static const std::vector<GridCase> cases = {
      {"1000-point grid, 20 oscillators", 2000.0f, 1.0f, 1000.0f, 10.0f, 1.5f, 30.0f, 0.5f, 20, 1.0f, 0.5f, 10, true},
      {"losses at and above Ep", 5.0f, 1.0f, 12.0f, 10.0f, 0.0f, 30.0f, 0.5f, 20, 1.0f, 0.5f, 10, true},
      {"more points than the arrays hold", 2000.0f, 0.5f, 1500.0f, 10.0f, 0.0f, 0.0f, 0.0f, 3, 1.0f, 0.5f, 10, true},
      {"zero step", 1000.0f, 0.0f, 10.0f, 10.0f, 0.0f, 0.0f, 0.5f, 20},
      {"negative step", 1000.0f, -0.5f, 10.0f, 10.0f, 1.0f, 0.0f, 0.5f, 20},
      {"negative top", 1000.0f, 0.5f, -10.0f, 10.0f, 1.0f, 0.0f, 0.5f, 20},
      {"NaN step", 1000.0f, kNaN, 10.0f, 10.0f, 1.0f, 0.0f, 0.5f, 20},
      {"infinite step", 1000.0f, kInf, 10.0f, 10.0f, 1.0f, 0.0f, 0.5f, 20},
      {"NaN top", 1000.0f, 1.0f, kNaN, 10.0f, 1.0f, 0.0f, 0.5f, 20},
      {"infinite top", 1000.0f, 1.0f, kInf, 10.0f, 1.0f, 0.0f, 0.5f, 20},
      {"NaN Ep", kNaN, 1.0f, 20.0f, 10.0f, 1.0f, 0.0f, 0.5f, 20},
      {"infinite Ep", kInf, 1.0f, 20.0f, 10.0f, 1.0f, 0.0f, 0.5f, 20},
      {"zero Ep", 0.0f, 1.0f, 20.0f, 10.0f, 1.0f, 0.0f, 0.5f, 20},
      {"negative Ep", -100.0f, 1.0f, 20.0f, 10.0f, 1.0f, 0.0f, 0.5f, 20},
      {"NaN gap", 1000.0f, 1.0f, 20.0f, 10.0f, kNaN, 0.0f, 0.5f, 20},
      {"infinite gap", 1000.0f, 1.0f, 20.0f, 10.0f, kInf, 0.0f, 0.5f, 20},
      {"huge gap, tiny step", 1000.0f, 1e-3f, 2e-3f, 10.0f, 3e38f, 0.0f, 0.5f, 2},
      {"last loss at Ep", 100.0f, 1.0f, 100.0f, 10.0f, 0.0f, 30.0f, 0.5f, 20},
      {"denormal step", 1000.0f, 1e-44f, 1e-42f, 10.0f, 0.0f, 30.0f, 0.5f, 2},
      {"huge Ep", 3e38f, 1.0f, 20.0f, 10.0f, 1.0f, 30.0f, 0.5f, 20},
      {"huge length and angle", 1000.0f, 1.0f, 20.0f, 3e38f, 1.0f, 1e30f, 3e38f, 20},
      {"NaN and infinite lengths, angles, Q", 1000.0f, 1.0f, 20.0f, kNaN, 1.0f, kNaN, kInf, 20},
      {"negative length, angle 90", 1000.0f, 1.0f, 20.0f, -10.0f, 1.0f, 90.0f, -1.0f, 20},
      {"no oscillator", 1000.0f, 1.0f, 20.0f, 10.0f, 1.0f, 30.0f, 0.5f, 0},
      {"negative oscillator count", 1000.0f, 1.0f, 20.0f, 10.0f, 1.0f, 30.0f, 0.5f, -5},
      {"NaN model", 1000.0f, 1.0f, 20.0f, 10.0f, 1.0f, 30.0f, 0.5f, 20, kNaN},
      {"infinite model", 1000.0f, 1.0f, 20.0f, 10.0f, 1.0f, 30.0f, 0.5f, 20, kInf},
      {"photoelectron grid upside down", 1000.0f, 1.0f, 20.0f, 10.0f, 1.0f, 30.0f, 0.5f, 20, 1.0f, 50.0f},
      {"photoelectron NaN lowest loss", 1000.0f, 1.0f, 20.0f, 10.0f, 1.0f, 30.0f, 0.5f, 20, 1.0f, kNaN},
      {"photoelectron no half interval", 1000.0f, 1.0f, 20.0f, 10.0f, 1.0f, 30.0f, 0.5f, 20, 1.0f, 0.5f, 0},
      {"photoelectron negative half intervals", 1000.0f, 1.0f, 20.0f, 10.0f, 1.0f, 30.0f, 0.5f, 20, 1.0f, 0.5f, -7},
      {"photoelectron 32767 half intervals", 1000.0f, 1.0f, 3.0f, 10.0f, 1.0f, 30.0f, 0.5f, 2, 1.0f, 0.5f, 32767},
  };
  return cases;
}

// The model arrays, exactly max(NumOsc, 0) long.
struct ModelArrays {
  explicit ModelArrays(const GridCase& c)
      : n(size_t(std::max<int>(c.num, 0))), w0(n), gamma(n), a0(n), alfa(n) {
    for (size_t i = 0; i < n; ++i) {
      w0.p()[i] = c.modelValue * (5.0f + 3.0f * float(i));
      gamma.p()[i] = c.modelValue * (2.0f + 0.5f * float(i));
      a0.p()[i] = c.modelValue * 40.0f;
      alfa.p()[i] = c.modelValue * 0.1f * float(i % 3);
    }
  }
  size_t n;
  Exact w0, gamma, a0, alfa;
};

struct GridEntry {
  const char* name;
  // Calls the entry; the outputs each with their bound.
  std::function<std::vector<Out>(GridCase c, ModelArrays& m)> call;
};

const std::vector<GridEntry>& GridEntries() {
  static const std::vector<GridEntry> entries = {
      {"orvane",
       [](GridCase c, ModelArrays& m) {
         static auto f = loadEntry<orvane_fn>("orvane.so", "orvane");
         const size_t n = GridPoints(c.emax, c.estep);
         std::vector<Out> o(5, Out(n));
         float theta2 = c.theta, ac = 1, bc = 0, imfpc = 0, imfpv = 0, imfp = 0;
         f(&c.ep, &c.estep, &c.emax, &c.length, &c.theta, &theta2, o[0].p(), o[1].p(), o[2].p(), o[3].p(),
           o[4].p(), &c.egap, m.w0.p(), m.gamma.p(), m.a0.p(), m.alfa.p(), &c.num, &ac, &bc, &imfpc, &imfpv,
           &imfp);
         return o;
       }},
      {"senvik",
       [](GridCase c, ModelArrays& m) {
         static auto f = loadEntry<senvik_fn>("senvik.so", "senvik");
         const size_t n = GridPoints(c.emax, c.estep);
         std::vector<Out> o(4, Out(n));
         f(&c.ep, &c.estep, &c.emax, &c.length, o[0].p(), o[1].p(), &c.egap, m.w0.p(), m.gamma.p(), m.a0.p(),
           m.alfa.p(), &c.num, o[2].p(), o[3].p());
         return o;
       }},
      {"thinfilm",
       [](GridCase c, ModelArrays& m) {
         static auto f = loadEntry<thinfilm_fn>("welbane.so", "thinfilm");
         const size_t n = GridPoints(c.emax, c.estep);
         std::vector<Out> o(3, Out(n));
         f(&c.ep, &c.estep, &c.emax, &c.length, &c.egap, m.w0.p(), m.gamma.p(), m.a0.p(), m.alfa.p(), &c.num,
           o[0].p(), o[1].p(), o[2].p());
         return o;
       }},
      {"infmedium",
       [](GridCase c, ModelArrays& m) {
         static auto f = loadEntry<infmedium_fn>("castrel.so", "infmedium");
         std::vector<Out> o(1, Out(GridPoints(c.emax, c.estep)));
         f(&c.ep, &c.estep, &c.emax, &c.egap, m.w0.p(), m.gamma.p(), m.a0.p(), m.alfa.p(), &c.num, o[0].p());
         return o;
       }},
      {"durmel",
       [](GridCase c, ModelArrays& m) {
         static auto f = loadEntry<durmel_fn>("durmel.so", "durmel");
         std::vector<Out> o(6, Out(GridPoints(c.emax, c.estep, c.emin, true)));
         float hole = 0.5f, ac = 1, bc = 0, imfp = 0, areaHole = 0, areaNoHole = 0;
         f(&c.ep, &c.estep, &c.emin, &c.emax, &c.length, &c.theta, &c.nIntegr, o[0].p(), o[1].p(), o[2].p(),
           o[3].p(), o[4].p(), o[5].p(), &hole, m.w0.p(), m.a0.p(), m.gamma.p(), &c.egap, m.alfa.p(), &c.num, &ac,
           &bc, &imfp, &areaHole, &areaNoHole);
         return o;
       }},
      {"hollenbar",
       [](GridCase c, ModelArrays& m) {
         static auto f = loadEntry<hollenbar_fn>("hollenbar.so", "hollenbar");
         std::vector<Out> o(5, Out(GridPoints(c.emax, c.estep)));
         f(o[0].p(), o[1].p(), o[2].p(), o[3].p(), o[4].p(), &c.estep, &c.emax, &c.egap, m.w0.p(), m.gamma.p(),
           m.a0.p(), m.alfa.p(), &c.num);
         return o;
       }},
      {"EPSILON_Q",
       [](GridCase c, ModelArrays& m) {
         static auto f = loadEntry<EPSILON_Q_fn>("hollenbar.so", "EPSILON_Q");
         std::vector<Out> o(5, Out(GridPoints(c.emax, c.estep)));
         int16_t npts = 0;
         f(&c.emax, &c.estep, &c.q, &c.egap, m.w0.p(), m.gamma.p(), m.a0.p(), m.alfa.p(), &c.num, &npts, o[0].p(),
           o[1].p(), o[2].p(), o[3].p(), o[4].p());
         EXPECT_LE(int(npts), int(o[0].bound)) << "NPts";
         return o;
       }},
      {"GAP_CORRECTION",
       [](GridCase c, ModelArrays& m) {
         static auto f = loadEntry<GAP_CORRECTION_fn>("hollenbar.so", "GAP_CORRECTION");
         std::vector<Out> o(1, Out(1));
         f(m.w0.p(), m.a0.p(), m.gamma.p(), m.alfa.p(), &c.q, &c.num, &c.emax, &c.egap, o[0].p());
         return o;
       }},
  };
  return entries;
}

// ---- the measured-spectrum libraries

struct SpecCase {
  const char* name;
  float count;     // element 1
  float e0, step;  // elements 2 and 3
  size_t values;   // values the array holds (it has exactly values + 3 elements)
  float oddValue;  // put into every seventh value (0: none)
  float a = 2.0f, b = 10.0f, c = 25.0f;  // the three scalar arguments
  bool everyValue = false;               // oddValue in every value (0 too)
};

const std::vector<SpecCase>& SpecCases() {
  static const std::vector<SpecCase> cases = {
      {"5000 points", 5000, 100.0f, 0.1f, 5000, 0},
      {"4997 points", 4997, 100.0f, 0.1f, 4997, 0},
      {"empty", 0, 0, 0, 0, 0},
      {"one point", 1, 100.0f, 0.5f, 1, 0},
      {"count above 5000", 1e9f, 100.0f, 0.5f, 10, 0},
      {"count above the values", 6000, 100.0f, 0.5f, 10, 0},
      {"negative count", -50, 100.0f, 0.5f, 0, 0},
      {"NaN count", kNaN, 100.0f, 0.5f, 0, 0},
      {"infinite count", kInf, 100.0f, 0.5f, 0, 0},
      {"zero step", 200, 100.0f, 0.0f, 200, 0},
      {"negative step", 200, 100.0f, -0.5f, 200, 0},
      {"NaN step", 200, 100.0f, kNaN, 200, 0},
      {"NaN first energy", 200, kNaN, 0.5f, 200, 0},
      {"infinite first energy", 200, kInf, 0.5f, 200, 0},
      {"NaN values", 200, 100.0f, 0.5f, 200, kNaN},
      {"infinite values", 200, 100.0f, 0.5f, 200, kInf},
      {"huge values", 200, 100.0f, 0.5f, 200, 3e38f},
      {"negative values", 200, 100.0f, 0.5f, 200, -1e30f},
      {"NaN scalars", 200, 100.0f, 0.5f, 200, 0, kNaN, kNaN, kNaN},
      {"infinite scalars", 200, 100.0f, 0.5f, 200, 0, kInf, -kInf, kInf},
      {"negative and zero scalars", 200, 100.0f, 0.5f, 200, 0, -5.0f, 0.0f, -1.0f},
      {"huge scalars", 200, 100.0f, 0.5f, 200, 0, 3e38f, 3e38f, 3e38f},
      {"all values zero", 200, 100.0f, 0.5f, 200, 0.0f, 2.0f, 10.0f, 25.0f, true},
      {"all values NaN", 200, 100.0f, 0.5f, 200, kNaN, 2.0f, 10.0f, 25.0f, true},
      {"all values equal", 200, 100.0f, 0.5f, 200, 5.0f, 2.0f, 10.0f, 25.0f, true},
      {"tiny step", 5000, 100.0f, 1e-30f, 5000, 0},
      {"huge step", 200, 100.0f, 3e38f, 200, 0},
      {"huge first energy", 200, 3e38f, 0.5f, 200, 0},
  };
  return cases;
}

// A spectrum of exactly values + 3 elements: a peak near the top end over a
// slowly falling background.
Exact SpectrumOf(const SpecCase& c) {
  Exact s(c.values + 3);
  s.p()[0] = c.count;
  s.p()[1] = c.e0;
  s.p()[2] = c.step;
  for (size_t i = 0; i < c.values; ++i) {
    const double x = double(i) / double(std::max<size_t>(c.values, 1));
    float v = float(1.0 + 0.5 * x + 100.0 * std::exp(-std::pow((x - 0.9) * 40.0, 2)));
    if ((c.oddValue != 0 && i % 7 == 3) || c.everyValue) v = c.oddValue;
    s.p()[i + 3] = v;
  }
  return s;
}

// Elements an output of this spectrum may fill: the header and the values
// the array holds.
size_t SpectrumBound(const SpecCase& c) {
  const bool counted = std::isfinite(c.count) && c.count >= 0 && c.count <= 5000;
  return 3 + (counted ? std::min(size_t(c.count), c.values) : 0);
}

struct SpecEntry {
  const char* name;
  std::function<std::vector<Out>(const SpecCase& c)> call;
};

const std::vector<SpecEntry>& SpecEntries() {
  static const std::vector<SpecEntry> entries = {
      {"LCROSS",
       [](const SpecCase& c) {
         static auto f = loadEntry<LCROSS_fn>("rivmer.so", "LCROSS");
         Exact s = SpectrumOf(c);
         std::vector<Out> o(1, Out(SpectrumBound(c)));
         float a = c.a, b = c.b, m = c.c, area = 0;
         f(s.p(), o[0].p(), &a, &b, &m, &area);
         return o;
       }},
      {"brenmoor",
       [](const SpecCase& c) {
         static auto f = loadEntry<brenmoor_fn>("brenmoor.so", "brenmoor");
         Exact s = SpectrumOf(c);
         std::vector<Out> o(1, Out(SpectrumBound(c)));
         float unused = c.b, area = c.a;
         f(s.p(), o[0].p(), &unused, &area);
         return o;
       }},
      {"quorvel",
       [](const SpecCase& c) {
         static auto f = loadEntry<quorvel_fn>("quorvel.so", "quorvel");
         Exact s = SpectrumOf(c);
         std::vector<Out> o(2, Out(SpectrumBound(c)));
         float area = 0, fraction = 0;
         f(s.p(), o[0].p(), o[1].p(), &area, &fraction);
         return o;
       }},
      {"NormArea",
       [](const SpecCase& c) {
         static auto f = loadEntry<NormArea_fn>("zandrel.so", "NormArea");
         Exact a = SpectrumOf(c), b = SpectrumOf(c);
         std::vector<Out> o(1, Out(5000));  // what a program spectrum array holds
         float join = c.a, hi = c.b, lo = c.c;
         f(a.p(), b.p(), o[0].p(), &join, &hi, &lo);
         // Nothing behind the points it reports.
         const float count = o[0].v[0];
         EXPECT_TRUE(count >= 0 && count <= 4997) << "reported count " << count;
         if (count >= 0 && count <= 4997) o[0].bound = 3 + size_t(count);
         return o;
       }},
  };
  return entries;
}

}  // namespace

TEST(HostileSweep, OscillatorModelLibrariesStayInsideTheirArrays) {
  for (const GridEntry& e : GridEntries()) {
    for (const GridCase& c : GridCases()) {
      SCOPED_TRACE(std::string(e.name) + ": " + c.name);
      ModelArrays m(c);
      const std::vector<Out> outs = e.call(c, m);
      for (size_t k = 0; k < outs.size(); ++k) {
        EXPECT_EQ(outs[k].overrun(), 0u) << "output " << k + 1 << " written behind element " << outs[k].bound;
        if (c.fills && outs[k].bound > 0) {
          EXPECT_NE(outs[k].v[outs[k].bound - 1], kSentinel) << "output " << k + 1 << " not filled";
        }
      }
    }
  }
}

TEST(HostileSweep, MeasuredSpectrumLibrariesStayInsideTheirArrays) {
  for (const SpecEntry& e : SpecEntries()) {
    for (const SpecCase& c : SpecCases()) {
      SCOPED_TRACE(std::string(e.name) + ": " + c.name);
      const std::vector<Out> outs = e.call(c);
      for (size_t k = 0; k < outs.size(); ++k)
        EXPECT_EQ(outs[k].overrun(), 0u) << "output " << k + 1 << " written behind element " << outs[k].bound;
    }
  }
}
