#include "capture/capture_table.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace quillet {

namespace {

using A = CaptureAction;
using S = TagSource;

// clang-format off
constexpr std::array<CaptureRow, CaptureRowCount> Rows{{
    {1, "F1", A::Tagged, S::Fixed, "OBERTITEL", "Obertitel kopiert..", 0, 0x70, true},
    {2, "F2", A::Tagged, S::Fixed, "TITEL", "Titel kopiert..", 0, 0x71, true},
    {3, "F3", A::Tagged, S::Fixed, "UNTERTITEL", "Untertitel kopiert..", 0, 0x72, true},
    {4, "F4", A::Tagged, S::Fixed, "TEXT", "Text kopiert..", 0, 0x73, true},
    {5, "F5", A::Tagged, S::Fixed, "E_DATUM", "Erscheinungsdatum kopiert..", 0, 0x74, true},
    {6, "F6", A::Date, S::Fixed, "A_DATUM", "Aufnahmedatum eingef\xFCgt..", 0, 0x75, true},
    {7, "F7", A::Tagged, S::Fixed, "THEMA", "Thema kopiert..", 0, 0x76, true},
    {8, "F8", A::Tagged, S::FirstUserTag, "", "Individuellen Tag kopiert..", 0, 0x77, false},
    {9, "F9", A::Tagged, S::SecondUserTag, "", "Individuellen Tag kopiert..", 0, 0x78, false},
    {10, "F10", A::Save, S::None, "", "", 0, 0x79, true},
    {11, "0", A::Untagged, S::None, "", "Reinen Text angef\xFCgt..", 0, 0x30, false},
    {12, "2", A::Tagged, S::Fixed, "AUTOR", "AutorIn kopiert..", 0, 0x32, true},
    {13, "1", A::Tagged, S::Fixed, "QUELLE", "Quelle kopiert..", 0, 0x31, true},
    {14, "3", A::Tagged, S::Fixed, "MEDIUM", "Medium kopiert..", 0, 0x33, true},
    {15, "Ctrl+Y", A::HideShow, S::None, "", "", ModControl, 0x59, true},
    {16, "4", A::Tagged, S::Fixed, "SEITE", "Seitenzahl kopiert..", 0, 0x34, true},
}};
// clang-format on

} // namespace

const std::array<CaptureRow, CaptureRowCount>& captureTable() {
    return Rows;
}

std::optional<int> hotKeyIdFromArgument(std::string_view argument) {
    int id = 0;
    const char* end = argument.data() + argument.size();
    if (const auto [stop, error] = std::from_chars(argument.data(), end, id);
        error == std::errc() && stop == end && !argument.empty())
        return findCaptureRow(id) ? std::optional(id) : std::nullopt;

    const auto sameLetters = [](std::string_view a, std::string_view b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
            return std::tolower(static_cast<unsigned char>(x)) ==
                   std::tolower(static_cast<unsigned char>(y));
        });
    };
    if (sameLetters(argument, "Strg+Y"))
        argument = "Ctrl+Y";
    for (const CaptureRow& row : Rows)
        if (sameLetters(argument, row.key))
            return row.id;
    return std::nullopt;
}

const CaptureRow* findCaptureRow(int id) {
    if (id < 1 || id > CaptureRowCount)
        return nullptr;
    return &Rows[static_cast<std::size_t>(id - 1)];
}

} // namespace quillet
