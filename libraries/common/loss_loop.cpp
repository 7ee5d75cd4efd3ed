#include "loss_loop.h"

#include <cstdlib>

namespace kelvara::lib {

int lossWorkerCount(int points) {
  int workers = 0;
  if (const char* text = std::getenv("KELVARA_THREADS")) {
    char* end = nullptr;
    const long v = std::strtol(text, &end, 10);
    if (end != text && *end == '\0' && v >= 1) workers = int(std::min<long>(v, kMaxWorkers));
  }
  if (workers == 0) workers = std::clamp(int(std::thread::hardware_concurrency()), 1, kMaxWorkers);
  return std::clamp(points / kPointsPerWorker, 1, workers);
}

}  // namespace kelvara::lib
