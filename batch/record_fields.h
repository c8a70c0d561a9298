#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace quillet {

// One exported tag: its markers and the element that holds its content.
struct XmlField {
    std::string_view opening;
    std::string_view closing;
    std::string_view element;
};

// The exported tags in the order of the elements of every record. Every export format
// names its fields after these elements.
inline constexpr std::array<XmlField, 11> XmlFields{{
    {"{MEDIUM}", "{/MEDIUM}", "Medium"},
    {"{OBERTITEL}", "{/OBERTITEL}", "FirstTitel"},
    {"{TITEL}", "{/TITEL}", "MainTitel"},
    {"{UNTERTITEL}", "{/UNTERTITEL}", "SecondTitel"},
    {"{E_DATUM}", "{/E_DATUM}", "TextDate"},
    {"{A_DATUM}", "{/A_DATUM}", "CurrentDate"},
    {"{THEMA}", "{/THEMA}", "Subject"},
    {"{QUELLE}", "{/QUELLE}", "Source"},
    {"{AUTOR}", "{/AUTOR}", "Author"},
    {"{SEITE}", "{/SEITE}", "Page"},
    {"{TEXT}", "{/TEXT}", "MainText"},
}};

// The record element of the XML, and the table of the database.
inline constexpr std::string_view RecordName = "Daten";

// What each field of one file's record holds, in the order of XmlFields: nothing when the
// tag's opening marker does not occur in the text; otherwise the bytes between the end of
// its first opening marker and the start of its first closing marker, empty when that
// closing marker does not stand behind the opening one. The views point into the text.
using FieldContents = std::array<std::optional<std::string_view>, XmlFields.size()>;
FieldContents findFieldContents(std::string_view fileText);

} // namespace quillet
