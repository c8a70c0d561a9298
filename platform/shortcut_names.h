#pragma once

namespace quillet {

// What the desktop's shortcut settings show for hot key `id` (1..16), in UTF-8: what the
// key does, and the key, e.g. "Titel übernehmen (F2)".
const char* shortcutDescription(int id);

} // namespace quillet
