#include "fuzz_support.h"
#include "text/cp1252.h"

// The UTF-8 output is well-formed and decodes to the code points of the input bytes.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quillet;
    const std::string out = convertToUtf8(fuzz::bytes(data, size));
    std::size_t at = 0;
    for (std::size_t i = 0; i < size; ++i) {
        const char32_t expected = cp1252ToUnicode(data[i]);
        fuzz::require(at < out.size(), "output long enough");
        const auto lead = static_cast<unsigned char>(out[at]);
        const std::size_t len = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3 : 0;
        fuzz::require(len != 0 && at + len <= out.size(), "valid lead byte");
        char32_t u = len == 1 ? lead : len == 2 ? (lead & 0x1F) : (lead & 0x0F);
        for (std::size_t k = 1; k < len; ++k) {
            const auto c = static_cast<unsigned char>(out[at + k]);
            fuzz::require((c & 0xC0) == 0x80, "valid continuation byte");
            u = (u << 6) | (c & 0x3F);
        }
        fuzz::require(len == 1 || (len == 2 && u >= 0x80) || (len == 3 && u >= 0x800),
                      "shortest form");
        fuzz::require(u == expected, "decodes to the input's code point");
        at += len;
    }
    fuzz::require(at == out.size(), "nothing more");
    return 0;
}
