#include "text/file_system.h"

#include <fcntl.h>
#include <io.h>

namespace quillet {

bool isTerminal(std::FILE* stream) {
    return _isatty(_fileno(stream)) != 0;
}

void setBinaryMode(std::FILE* stream) {
    _setmode(_fileno(stream), _O_BINARY);
}

} // namespace quillet
