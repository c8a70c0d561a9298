#pragma once

#include <array>
#include <string_view>

namespace quillet {

// What a hot key does once its check box lets it through.
enum class CaptureAction { Tagged, Date, Untagged, Save, HideShow };

// Where a tagged capture gets its tag name: a fixed name, or one of the two name fields.
enum class TagSource { None, Fixed, Edit4, Edit5 };

// Modifier value of a hot-key registration (the Win32 MOD_CONTROL value).
inline constexpr unsigned ModControl = 2;

// One row of the capture table: identifier, key, check box, action, tag and status text,
// plus how the key is registered with the system.
struct CaptureRow {
    int id;
    std::string_view key;
    std::string_view checkBox;
    std::string_view caption;
    CaptureAction action;
    TagSource tagSource;
    std::string_view tag; // fixed tag name; empty unless tagSource is Fixed
    std::string_view status;
    unsigned modifiers;
    unsigned virtualKey; // Win32 virtual-key code; the X11 backend maps it to a keysym
    bool checkedAtStart;
};

inline constexpr int CaptureRowCount = 16;

// The sixteen rows, ordered by identifier (row i has id i + 1).
const std::array<CaptureRow, CaptureRowCount>& captureTable();

// The row of a hot-key identifier, or nullptr outside 1..16.
const CaptureRow* findCaptureRow(int id);

} // namespace quillet
