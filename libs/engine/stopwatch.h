// Time since a starting point, from the performance counter: precise enough to pace frames at
// 60 per second and to measure -quit-after-ms.
#pragma once

#include <windows.h>

class Stopwatch {
 public:
  Stopwatch() {
    QueryPerformanceFrequency(&frequency_);
    Restart();
  }

  void Restart() { QueryPerformanceCounter(&start_); }

  double Seconds() const {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart - start_.QuadPart) /
           static_cast<double>(frequency_.QuadPart);
  }

  unsigned long long Milliseconds() const {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<unsigned long long>(now.QuadPart - start_.QuadPart) * 1000ULL /
           static_cast<unsigned long long>(frequency_.QuadPart);
  }

 private:
  LARGE_INTEGER frequency_;
  LARGE_INTEGER start_;
};
