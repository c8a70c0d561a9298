#pragma once

#include <QString>

namespace quillet {

// A UTF-8 text of the program's resources; registers them on first use, because a static
// library's resources are not registered by themselves.
QString resourceText(const QString& path);
void ensureResources();

} // namespace quillet
