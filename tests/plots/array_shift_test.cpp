// The history's shift routine: shifting an array onto itself either way, and the status codes
// of empty arrays and whole-length shifts, which leave the array alone.

#include "plots/array_shift.h"

#include <gtest/gtest.h>

#include <array>

namespace qrix {
namespace {

TEST(ArrayShift, ShiftsInPlaceEitherWayAndRefusesEmptyArraysAndWholeLengthShifts) {
  using A = std::array<double, 5>;
  struct Case {
    int n, shifts, status;
    A expected;
  };
  const A kept{1, 2, 3, 4, 5};
  for (Case c : {Case{5, -2, kArrayOk, {3, 4, 5, 0, 0}}, Case{5, 2, kArrayOk, {0, 0, 1, 2, 3}},
                 Case{5, 0, kArrayOk, kept}, Case{0, 0, kErrArrayLength, kept},
                 Case{-1, 1, kErrArrayLength, kept}, Case{5, 5, kErrShiftLength, kept},
                 Case{5, -5, kErrShiftLength, kept}}) {
    A a = kept;
    EXPECT_EQ(Shift(a.data(), c.n, c.shifts, a.data()), c.status) << c.n << " " << c.shifts;
    EXPECT_EQ(a, c.expected) << c.n << " " << c.shifts;
  }
  double out = 9;
  EXPECT_EQ(Copy1D(kept.data(), 0, &out), kErrArrayLength);
  EXPECT_EQ(out, 9);
}

}  // namespace
}  // namespace qrix
