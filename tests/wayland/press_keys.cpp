// quillet-test-press-keys CHORD...: presses each chord ("F2", "ctrl+y", "1") through the
// compositor's own input path (KWin's fake input, or a virtual keyboard), as a person at
// the keyboard would; prints "pressed CHORD" after each.
#include "platform/key_injector.h"

#include <linux/input-event-codes.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <map>
#include <sstream>
#include <string>
#include <thread>

namespace {

std::vector<std::uint32_t> chordKeys(std::string chord) {
    static const std::map<std::string, std::uint32_t> keys{
        {"ctrl", KEY_LEFTCTRL}, {"shift", KEY_LEFTSHIFT},
        {"a", KEY_A},           {"c", KEY_C},
        {"y", KEY_Y},           {"home", KEY_HOME},
        {"end", KEY_END},       {"0", KEY_0},
        {"return", KEY_ENTER},  {"escape", KEY_ESC},
        {"1", KEY_1},           {"2", KEY_2},
        {"3", KEY_3},           {"4", KEY_4},
        {"f1", KEY_F1},         {"f2", KEY_F2},
        {"f3", KEY_F3},         {"f4", KEY_F4},
        {"f5", KEY_F5},         {"f6", KEY_F6},
        {"f7", KEY_F7},         {"f8", KEY_F8},
        {"f9", KEY_F9},         {"f10", KEY_F10}};
    std::transform(chord.begin(), chord.end(), chord.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    std::vector<std::uint32_t> codes;
    std::istringstream parts(chord);
    for (std::string part; std::getline(parts, part, '+');) {
        const auto key = keys.find(part);
        if (key == keys.end())
            return {};
        codes.push_back(key->second);
    }
    return codes;
}

} // namespace

int main(int argc, char** argv) {
    std::string error;
    const auto injector = quillet::KeyInjector::connect(error);
    if (!injector) {
        std::fprintf(stderr, "press-keys: %s\n", error.c_str());
        return 1;
    }
    for (int i = 1; i < argc; ++i) {
        const auto codes = chordKeys(argv[i]);
        if (codes.empty() || !injector->press(codes)) {
            std::fprintf(stderr, "press-keys: cannot press %s\n", argv[i]);
            return 1;
        }
        std::printf("pressed %s\n", argv[i]);
        std::fflush(stdout);
        if (i + 1 < argc)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return 0;
}
