#pragma once
// A data file read whole into memory, but only a regular file and only up
// to a size cap: a path that leads to /dev/zero, a FIFO or a file of
// gigabytes would otherwise read without end, block, or exhaust memory
// before any decoder could refuse it.
#include <cstddef>
#include <vector>

// Fills out with the file's bytes and returns true; false (out empty) for
// a file that cannot be opened or read, is not a regular file (links are
// followed), or holds more than cap bytes.
bool readFileBytes(const char* path, std::size_t cap, std::vector<unsigned char>& out);
