// What every fuzz target shares: a log sink that drops the parsers' complaints (a fuzzer feeds
// them nothing else), the check that stops the run when a parser breaks a promise, and the check
// of a parser's error message against the text it was given; and the standard headers they use.
#pragma once

#include "platform/log.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Aborts (a crash to libFuzzer, which keeps the input) when `condition` does not hold.
#define FUZZ_REQUIRE(condition)                                                                              \
    ((condition) ? static_cast<void>(0) : ::kel::FuzzPromiseBroken(#condition, __FILE__, __LINE__))

namespace kel {

inline void SilenceLog() {
    static struct : LogSink {
        void Write(const char*) override {}
    } silent;
    SetLogSink(&silent);
}

[[noreturn]] inline void FuzzPromiseBroken(const char* what, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: promise broken: %s\n", file, line, what);
    std::abort();
}

// False for NaN.
template <class T, class Low, class High> bool Within(T v, Low low, High high) {
    return v >= low && v <= high;
}

// An error reads "<prefix>N: ..." and names a line N the text has.
inline void RequireErrorNamesALine(const std::string& error, std::string_view prefix, std::string_view text) {
    FUZZ_REQUIRE(error.rfind(prefix, 0) == 0);
    char* end = nullptr;
    const long line = std::strtol(error.c_str() + prefix.size(), &end, 10);
    FUZZ_REQUIRE(*end == ':' && line >= 1 && line <= std::count(text.begin(), text.end(), '\n') + 1);
}

} // namespace kel
