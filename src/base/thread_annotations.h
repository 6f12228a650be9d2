// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Lock annotations that clang's -Wthread-safety checks (the `clang` preset turns them into errors);
// other compilers see nothing. Mark shared state with PENTARO_GUARDED_BY(mutex_) and functions
// that expect a lock held with PENTARO_REQUIRES(mutex_).
#ifndef PENTARO_BASE_THREAD_ANNOTATIONS_H_
#define PENTARO_BASE_THREAD_ANNOTATIONS_H_

#if defined(__clang__)
#define PENTARO_THREAD_ANNOTATION(x) __attribute__((x))
#else
#define PENTARO_THREAD_ANNOTATION(x)
#endif

#define PENTARO_CAPABILITY(name) PENTARO_THREAD_ANNOTATION(capability(name))
#define PENTARO_SCOPED_CAPABILITY PENTARO_THREAD_ANNOTATION(scoped_lockable)
#define PENTARO_GUARDED_BY(x) PENTARO_THREAD_ANNOTATION(guarded_by(x))
#define PENTARO_PT_GUARDED_BY(x) PENTARO_THREAD_ANNOTATION(pt_guarded_by(x))
#define PENTARO_ACQUIRED_BEFORE(...) PENTARO_THREAD_ANNOTATION(acquired_before(__VA_ARGS__))
#define PENTARO_REQUIRES(...) PENTARO_THREAD_ANNOTATION(requires_capability(__VA_ARGS__))
#define PENTARO_EXCLUDES(...) PENTARO_THREAD_ANNOTATION(locks_excluded(__VA_ARGS__))
#define PENTARO_ACQUIRE(...) PENTARO_THREAD_ANNOTATION(acquire_capability(__VA_ARGS__))
#define PENTARO_RELEASE(...) PENTARO_THREAD_ANNOTATION(release_capability(__VA_ARGS__))
#define PENTARO_TRY_ACQUIRE(...) PENTARO_THREAD_ANNOTATION(try_acquire_capability(__VA_ARGS__))
#define PENTARO_NO_THREAD_SAFETY_ANALYSIS PENTARO_THREAD_ANNOTATION(no_thread_safety_analysis)

#endif  // PENTARO_BASE_THREAD_ANNOTATIONS_H_
