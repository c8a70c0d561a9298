#include "capture/html_format.h"
#include "capture/source_address.h"
#include "fuzz_support.h"

#include <algorithm>

// Input: a clipboard block of "HTML Format", whatever its bytes.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quillet;
    const std::string_view block = fuzz::bytes(data, size);
    const std::string_view url = htmlFormatSourceUrl(block);
    if (url.empty())
        return 0;
    const auto at = static_cast<std::size_t>(url.data() - block.data());
    fuzz::require(url.data() >= block.data() && at + url.size() <= size, "a piece of the block");
    fuzz::require(at + url.size() <= 8192, "read from the header's first 8 KiB, never the HTML");
    fuzz::require(at >= 10 && block.substr(at - 10, 10) == "SourceURL:",
                  "a SourceURL line's value");
    fuzz::require(url.find_first_of("\r\n") == std::string_view::npos, "one line");
    if (const auto address = documentSourceAddress(url)) {
        fuzz::require(address->size() <= MaxSourceAddressBytes, "no longer than offered");
        fuzz::require(std::none_of(address->begin(), address->end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x20; }),
                      "no line break or control character into the document");
    }
    return 0;
}
