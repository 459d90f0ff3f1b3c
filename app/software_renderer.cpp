#include "app/software_renderer.hpp"

#include <sched.h>
#include <stdlib.h>

#include <string>

int rasterThreadsFor(int cores) {
    // A single core has nothing to share the rasterizing with: the driver
    // then rasterizes on the calling thread, which is right.
    return cores >= 2 ? cores + 1 : 0;
}

void tuneSoftwareRenderer() {
    cpu_set_t usable;
    if (sched_getaffinity(0, sizeof usable, &usable) != 0)
        return;
    const int threads = rasterThreadsFor(CPU_COUNT(&usable));
    if (threads > 0)
        setenv("LP_NUM_THREADS", std::to_string(threads).c_str(), 0);
}
