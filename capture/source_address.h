#pragma once

#include "capture/tagged_insertion.h"
#include "text/text_view.h"

#include <optional>
#include <string>
#include <string_view>

namespace quillet {

// A longer address is refused, not cut: a cut address leads nowhere.
inline constexpr std::size_t MaxSourceAddressBytes = 2000;

// The address as the document takes it: an http, https or file address of at most
// MaxSourceAddressBytes as offered (UTF-8), without control characters, in Windows-1252 like
// any captured text. Nothing for any other address.
std::optional<std::string> documentSourceAddress(std::string_view offered);

// Puts the address of the page a captured text came from under QUELLE, as key 1 puts a
// captured text there (the case option included), unless the QUELLE section that key 1
// would add to already holds exactly that address as one of its pieces.
void recordSourceAddress(TextView& view, std::string_view offered, CaseOption option);

} // namespace quillet
