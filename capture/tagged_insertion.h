#pragma once

#include "text/text_view.h"

#include <string>
#include <string_view>

namespace quillet {

// The three radio buttons under "Copy everything as:".
enum class CaseOption { Normal, Upper, Lower };

// Byte-wise ASCII case change; letters above 127 are never touched.
std::string applyCaseOption(std::string_view text, CaseOption option);

// Puts a captured text under a tag: merged directly before the first closing marker of
// the tag when there is one, otherwise appended as a new section and an empty line.
void insertTagged(TextView& view, std::string_view tagName, std::string_view text,
                  CaseOption option);

} // namespace quillet
