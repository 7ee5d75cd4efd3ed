// The loop over the loss grid shared by the libraries that integrate over the
// momentum transfer at every loss T_i = i*Estep, i = 1..N,
// N = trunc(Emax/Estep) from the unrounded quotient (lossPointCount).
//
// The loss points of a call are independent, so the loop spreads them over
// worker threads. Each point is computed by one worker with the same
// operations whatever the number of workers, so the results do not depend on
// it. Every worker has its own work area, one of kMaxWorkers fixed, static
// areas that the library owns; nothing is allocated per call. Workers are
// plain threads started by the call and joined before it returns: the call
// blocks like a single-threaded one, no thread outlives it, and the library is
// still not re-entrant (the work areas are shared by all calls). Small grids
// run on the calling thread alone.
//
// How a library uses it:
//
//   struct Work { GeometricWork<3, 40000> integrands; };   // one worker's storage
//   Work gWork[kMaxWorkers];                               // static, in the library
//
//   const GapRule gap{&model, egap, estep, GapSkip::Exact};
//   const int n = forEachLossPoint(emax, estep, gap, gWork,
//       [&](const LossPoint& p, Work& w) {
//         // p.i (1..N), p.T = i*Estep, p.gapCorr = gapCor(model, T, egap, estep, skip)
//         const DielectricAtLoss eps(model, p.T, egap, p.gapCorr);
//         ... integrate with w.integrands, calling eps.eps(q) per sample ...
//         out[p.i - 1] = ...;    // write only the point's own elements
//       });
//
// A grid the library forms itself (a table of n losses) goes through
// forEachTabledLossPoint the same way; forEachIndex is the bare worker
// mechanism over 1..n.
//
// The per-point callable must write only the outputs of its own point and may
// write the warning line (stdio is thread-safe). Should it throw, on a worker
// or on the calling thread, the remaining points are skipped, every worker is
// joined, and the first exception is rethrown to the caller: no thread is ever
// left running or destroyed while joinable. The worker
// count is KELVARA_THREADS (1..kMaxWorkers) when that is set, otherwise the
// machine's hardware concurrency capped at kMaxWorkers.
#pragma once

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>

#include "loss_numerics.h"

namespace kelvara::lib {

inline constexpr int kMaxWorkers = 16;
// A worker takes at least this many points; smaller grids use fewer workers.
inline constexpr int kPointsPerWorker = 4;

// Workers for a grid of `points` loss points (at least 1).
int lossWorkerCount(int points);

// The gap correction of the loss points: formed once per point with the
// oscillator model `model` (none when model is null; gapCorr is then 0).
struct GapRule {
  const Oscillators* model = nullptr;
  float egap = 0.0f;
  float dw = 0.0f;
  GapSkip skip = GapSkip::Exact;
};

struct LossPoint {
  int i;          // 1..N
  float T;        // i*Estep, rounded to 32 bits
  float gapCorr;  // gap correction of Re(1/eps) at T
};

// Runs task(i, Work&) for i = 1..n (in any order, on up to lossWorkerCount(n)
// workers, worker k using work[k]): the worker mechanism of the loops below.
template <class Work, class TaskFn>
void forEachIndex(int n, Work (&work)[kMaxWorkers], TaskFn&& task) {
  if (n <= 0) return;
  std::atomic<int> next{1};
  // The first exception of any worker; the others then stop taking points.
  std::exception_ptr failure;
  std::mutex failureLock;
  std::atomic<bool> failed{false};
  auto run = [&](Work& area) noexcept {
    try {
      for (int i = next.fetch_add(1, std::memory_order_relaxed); i <= n && !failed.load(std::memory_order_relaxed);
           i = next.fetch_add(1, std::memory_order_relaxed))
        task(i, area);
    } catch (...) {
      const std::lock_guard<std::mutex> hold(failureLock);
      if (!failure) failure = std::current_exception();
      failed.store(true, std::memory_order_relaxed);
    }
  };
  const int workers = lossWorkerCount(n);
  std::thread helpers[kMaxWorkers - 1];
  int started = 0;
  for (int k = 1; k < workers; ++k) {
    try {
      helpers[started] = std::thread(run, std::ref(work[k]));
      ++started;
    } catch (...) {
      break;  // no more threads: the started ones and this one do the rest
    }
  }
  run(work[0]);
  for (int k = 0; k < started; ++k) helpers[k].join();
  if (failure) std::rethrow_exception(failure);
}

// The loss point i at the loss T with its gap correction.
inline LossPoint lossPointAt(int i, float T, const GapRule& gap) {
  LossPoint p{i, T, 0.0f};
  if (gap.model != nullptr) p.gapCorr = gapCor(*gap.model, p.T, gap.egap, gap.dw, gap.skip);
  return p;
}

// Runs point(LossPoint, Work&) for every point of the grid (in any order, on
// up to lossWorkerCount(N) workers, worker k using work[k]); returns N.
template <class Work, class PointFn>
int forEachLossPoint(float emax, float estep, const GapRule& gap, Work (&work)[kMaxWorkers], PointFn&& point) {
  const int n = lossPointCount(emax, estep);
  forEachIndex(n, work, [&](int i, Work& area) {
    point(static_cast<const LossPoint&>(lossPointAt(i, float(i) * estep, gap)), area);
  });
  return n;
}

// The same over a grid the library formed itself: the n losses T[0..n-1]
// (point i at T[i - 1]), for grids that are not i*Estep.
template <class Work, class PointFn>
void forEachTabledLossPoint(int n, const float* T, const GapRule& gap, Work (&work)[kMaxWorkers],
                            PointFn&& point) {
  forEachIndex(n, work, [&](int i, Work& area) {
    point(static_cast<const LossPoint&>(lossPointAt(i, T[i - 1], gap)), area);
  });
}

}  // namespace kelvara::lib
