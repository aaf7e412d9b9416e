#pragma once
// A broken promise found by a harness: says which one and aborts, so that libFuzzer keeps the
// input that broke it.

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition, what)                                                    \
  do {                                                                                 \
    if (!(condition)) {                                                                \
      std::fprintf(stderr, "%s:%d: broken promise: %s\n", __FILE__, __LINE__, (what)); \
      std::abort();                                                                    \
    }                                                                                  \
  } while (0)
