#include "platform/shortcut_names.h"

#include "capture/capture_table.h"

#include <array>

namespace quillet {

namespace {

// By identifier.
const std::array<const char*, CaptureRowCount> Descriptions{
    "Obertitel übernehmen (F1)",
    "Titel übernehmen (F2)",
    "Untertitel übernehmen (F3)",
    "Text übernehmen (F4)",
    "Erscheinungsdatum übernehmen (F5)",
    "Aufnahmedatum einfügen (F6)",
    "Thema übernehmen (F7)",
    "Ersten eigenen Tag übernehmen (F8)",
    "Zweiten eigenen Tag übernehmen (F9)",
    "Dokument speichern, neues beginnen (F10)",
    "Text ohne Tag anfügen (0)",
    "AutorIn übernehmen (2)",
    "Quelle übernehmen (1)",
    "Medium übernehmen (3)",
    "Textansicht verbergen / zeigen (Strg+Y)",
    "Seitenzahl übernehmen (4)",
};

} // namespace

const char* shortcutDescription(int id) {
    return id >= 1 && id <= CaptureRowCount ? Descriptions[std::size_t(id - 1)] : "";
}

} // namespace quillet
