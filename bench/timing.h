#pragma once
// Wall-clock timing of a piece of work, repeated, with its median and 99th percentile.

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

namespace tavuro::bench {

struct Timing {
  std::vector<double> ms;  // one entry per repetition
  double median() const { return at(0.5); }
  double p99() const { return at(0.99); }
  double at(double quantile) const {
    if (ms.empty()) return 0;
    std::vector<double> sorted = ms;
    std::sort(sorted.begin(), sorted.end());
    const auto index = static_cast<size_t>(quantile * static_cast<double>(sorted.size() - 1) + 0.5);
    return sorted[std::min(index, sorted.size() - 1)];
  }
};

inline double time_ms(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// Runs the program's work and the baseline alternately, so that both see the same machine.
inline void alternate(int repetitions, Timing& program, const std::function<void()>& program_work, Timing& baseline,
                      const std::function<void()>& baseline_work) {
  for (int i = 0; i < repetitions; ++i) {
    program.ms.push_back(time_ms(program_work));
    baseline.ms.push_back(time_ms(baseline_work));
  }
}

}  // namespace tavuro::bench
