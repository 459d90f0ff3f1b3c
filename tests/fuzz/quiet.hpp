#pragma once
// The loaders report failures on standard output, one line each. A fuzzer
// makes millions of failures; their lines would drown its own report.
#include <iostream>

inline void silenceConsole() {
    static const bool silenced = [] {
        std::cout.setstate(std::ios::badbit);
        return true;
    }();
    (void)silenced;
}
