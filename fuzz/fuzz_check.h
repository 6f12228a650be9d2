// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Invariant checks for the fuzz targets. A broken invariant prints what broke and aborts, which
// libFuzzer reports as a crash and keeps the input that caused it. Header only; each target runs
// on libFuzzer's one thread.
#ifndef PENTARO_FUZZ_FUZZ_CHECK_H_
#define PENTARO_FUZZ_FUZZ_CHECK_H_

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                                \
  do {                                                                                       \
    if (!(condition)) {                                                                      \
      std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                          \
    }                                                                                        \
  } while (false)

#endif  // PENTARO_FUZZ_FUZZ_CHECK_H_
