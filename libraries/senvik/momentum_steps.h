// Step table of the normal-geometry library's momentum sum: the step used
// after the point q (1/A). Each bound belongs to the lower row; between 8 and
// 16 the step is 0.064, coarser than the 0.032 used between 16 and 32.
#pragma once

namespace kelvara::lib {

inline float momentumStep(float q) {
  if (q <= 1.0f) return 0.002f;
  if (q <= 2.0f) return 0.004f;
  if (q <= 4.0f) return 0.008f;
  if (q <= 8.0f) return 0.016f;
  if (q <= 16.0f) return 0.064f;
  if (q <= 32.0f) return 0.032f;
  return 0.064f;
}

}  // namespace kelvara::lib
