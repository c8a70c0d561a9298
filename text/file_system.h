#pragma once

#include <cstdio>

namespace quillet {

// The few file calls that differ between POSIX systems and Windows. Each system has its
// own implementation file; CMake builds the one that fits.

// Whether a stream is a terminal that someone watches.
bool isTerminal(std::FILE* stream);

// Puts a stream into binary mode where the system would translate line breaks, so that
// every byte passes as it is.
void setBinaryMode(std::FILE* stream);

} // namespace quillet
