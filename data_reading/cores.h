// How many threads long work may run on: every core natively, one in the
// browser edition, which has no threads.
#pragma once

#include <algorithm>
#include <cstddef>
#include <thread>

namespace trolvane {

#if defined(__EMSCRIPTEN__) && !defined(__EMSCRIPTEN_PTHREADS__)
inline constexpr bool kThreadsAvailable = false;
#else
inline constexpr bool kThreadsAvailable = true;
#endif

inline std::size_t AvailableCores() {
    return kThreadsAvailable ? std::max(1u, std::thread::hardware_concurrency()) : 1;
}

}  // namespace trolvane
