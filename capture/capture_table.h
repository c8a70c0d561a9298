#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace quillet {

// What a hot key does once its check box lets it through.
enum class CaptureAction { Tagged, Date, Untagged, Save, HideShow };

// Where a tagged capture gets its tag name: a fixed name, or one of the two names the user
// types in.
enum class TagSource { None, Fixed, FirstUserTag, SecondUserTag };

// Modifier value of a hot-key registration (the Win32 MOD_CONTROL value).
inline constexpr unsigned ModControl = 2;

// One row of the capture table: identifier, key, action, tag and status text, plus how
// the key is registered with the system. Whether a row is in force is the user's choice,
// asked for by identifier.
struct CaptureRow {
    int id;
    std::string_view key;
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

// The identifier a user names on the command line: the number itself (1..16), or the key of
// a row that is no digit ("F2", "f10", "Ctrl+Y", "Strg+Y"); nothing for any other text.
std::optional<int> hotKeyIdFromArgument(std::string_view argument);

// The order in which every row's registration is brought in line with the user's choice:
// the order of the boxes on the page, where key 1 (13) comes before key 2 (12).
inline constexpr std::array<int, CaptureRowCount> HotKeyReevaluationOrder{
    1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 13, 12, 14, 15, 16};

} // namespace quillet
