#include "text/file_system.h"

#include <unistd.h>

namespace quillet {

bool isTerminal(std::FILE* stream) {
    return isatty(fileno(stream)) != 0;
}

void setBinaryMode(std::FILE*) {
    // POSIX streams never translate line breaks.
}

} // namespace quillet
