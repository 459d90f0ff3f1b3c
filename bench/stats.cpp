#include "stats.hpp"

#include <algorithm>
#include <cmath>

double quantile(std::vector<double> samples, double q) {
    if (samples.empty())
        return 0.0;
    q = std::clamp(q, 0.0, 1.0);
    // Nearest rank: the smallest sample with at least q of them at or below.
    std::size_t rank = static_cast<std::size_t>(std::ceil(q * static_cast<double>(samples.size())));
    if (rank > 0)
        --rank;
    std::nth_element(samples.begin(), samples.begin() + static_cast<std::ptrdiff_t>(rank),
                     samples.end());
    return samples[rank];
}
