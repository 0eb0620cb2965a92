// Shared by the fuzz targets: a fresh core, and a check that stops the run
// with a message when a property fails.
#pragma once
#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                       \
    do {                                                                            \
        if (!(condition)) {                                                         \
            std::fprintf(stderr, "property failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
            std::abort();                                                           \
        }                                                                           \
    } while (0)

// Blank screen, start-of-run Pen, settings and selection, an empty history.
void FreshCore();
// Every cell's code and attribute lie within 0-255.
bool CellsInRange();
