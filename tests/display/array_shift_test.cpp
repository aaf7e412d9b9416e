// The history's copy and shift routines: status codes and shifting an array onto itself.

#include "display/array_shift.h"

#include <gtest/gtest.h>

#include <array>

namespace qrix {
namespace {

TEST(ArrayShift, RejectsEmptyArraysAndShiftsOfTheWholeLength) {
  struct Case {
    int n, shifts, status;
  };
  double a[4] = {1, 2, 3, 4};
  for (Case c :
       {Case{0, 0, kErrArrayLength}, Case{-1, 1, kErrArrayLength}, Case{4, 4, kErrShiftLength},
        Case{4, -4, kErrShiftLength}, Case{4, 3, kArrayOk}, Case{4, -3, kArrayOk}}) {
    double out[4] = {9, 9, 9, 9};
    EXPECT_EQ(Shift(a, c.n, c.shifts, out), c.status) << c.n << " " << c.shifts;
  }
  double out[1] = {9};
  EXPECT_EQ(Copy1D(a, 0, out), kErrArrayLength);
  EXPECT_EQ(out[0], 9);
}

TEST(ArrayShift, ShiftsInPlaceInEitherDirection) {
  struct Case {
    int shifts;
    std::array<double, 5> expected;
  };
  for (Case c : {Case{-2, {3, 4, 5, 0, 0}}, Case{2, {0, 0, 1, 2, 3}}, Case{0, {1, 2, 3, 4, 5}}}) {
    std::array<double, 5> a{1, 2, 3, 4, 5};
    ASSERT_EQ(Shift(a.data(), 5, c.shifts, a.data()), kArrayOk);
    EXPECT_EQ(a, c.expected) << c.shifts;
  }
}

}  // namespace
}  // namespace qrix
