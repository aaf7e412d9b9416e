#pragma once
// Array routines of the raw history: copy and shift of double arrays with integer status.

namespace qrix {

inline constexpr int kArrayOk = 0;
inline constexpr int kErrArrayLength = -20003;  // n is 0 or negative
inline constexpr int kErrShiftLength = -20102;  // |shifts| is n or more

// Copies n elements; in and out may overlap.
int Copy1D(const double* in, int n, double* out);
// out[i] = in[i - shifts], the vacated elements 0. shifts < 0 moves towards the start. The copy
// runs in the direction that keeps it correct when in and out are the same array.
int Shift(const double* in, int n, int shifts, double* out);

}  // namespace qrix
