#include "plots/array_shift.h"

#include <cstring>

namespace qrix {

int Copy1D(const double* in, int n, double* out) {
  if (n <= 0) {
    return kErrArrayLength;
  }
  std::memmove(out, in, static_cast<std::size_t>(n) * sizeof(double));
  return kArrayOk;
}

int Shift(const double* in, int n, int shifts, double* out) {
  if (n <= 0) {
    return kErrArrayLength;
  }
  if (shifts >= n || shifts <= -n) {
    return kErrShiftLength;
  }
  if (shifts == 0) {
    return Copy1D(in, n, out);
  }
  if (shifts < 0) {
    for (int i = 0; i < n + shifts; ++i) {
      out[i] = in[i - shifts];
    }
    for (int i = n + shifts; i < n; ++i) {
      out[i] = 0.0;
    }
  } else {
    for (int i = n - 1; i >= shifts; --i) {
      out[i] = in[i - shifts];
    }
    for (int i = 0; i < shifts; ++i) {
      out[i] = 0.0;
    }
  }
  return kArrayOk;
}

}  // namespace qrix
