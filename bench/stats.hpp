#pragma once
// Order statistics of a run of samples, and the split of a timeline into
// named parts by the marks that end them.
#include <array>
#include <cstddef>
#include <vector>

// The value below which the given fraction of the samples lie, by the
// nearest-rank rule (q = 0.5 is the median, 0.95 the 95th percentile).
// Zero for no samples.
double quantile(std::vector<double> samples, double q);

inline double median(const std::vector<double>& samples) {
    return quantile(samples, 0.5);
}

// Time between marks, credited to the part each mark ends. A part may end
// several times in one round (the scene ends before and after the ring).
template <std::size_t Parts> class PhaseClock {
  public:
    void start(double now) {
        last = now;
        spent.fill(0.0);
    }
    void mark(std::size_t part, double now) {
        if (part < Parts)
            spent[part] += now - last;
        last = now;
    }
    double operator[](std::size_t part) const { return spent[part]; }

  private:
    double last = 0.0;
    std::array<double, Parts> spent{};
};
