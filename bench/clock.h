#pragma once
// Elapsed time from QueryPerformanceCounter, the finest clock a Win32 program has.

#include <windows.h>

#include <cstdint>

namespace korvanta::bench {

class Stopwatch {
public:
    Stopwatch() { Restart(); }
    void Restart() { QueryPerformanceCounter(&start_); }
    double Milliseconds() const {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        return static_cast<double>(now.QuadPart - start_.QuadPart) * 1000.0 /
               static_cast<double>(Frequency());
    }

private:
    static int64_t Frequency() {
        static const int64_t frequency = [] {
            LARGE_INTEGER f;
            QueryPerformanceFrequency(&f);
            return f.QuadPart;
        }();
        return frequency;
    }

    LARGE_INTEGER start_{};
};

} // namespace korvanta::bench
