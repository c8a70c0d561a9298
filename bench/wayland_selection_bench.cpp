// quillet-wayland-selection-bench [COUNT] [--focused]: the Wayland capture's own steps,
// timed in one process on the monotonic clock, inside a Wayland session whose focused program
// holds a selection: Ctrl+C pressed through the compositor until data-control reports the
// new CLIPBOARD, then reading it; and reading PRIMARY. With --focused (GNOME, which has no
// data-control) the read of PRIMARY with a moment of keyboard focus instead: the window that
// takes the focus lives as long as that read. Prints min, median and max in ms.
#include "platform/data_control.h"
#include "platform/key_injector.h"
#include "platform/surface_selection.h"

#include <linux/input-event-codes.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <poll.h>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Dispatches the connection until the CLIPBOARD changed after `before`, as the capture's
// wait does from the event loop.
bool waitForCopy(quillet::DataControlReader& selection, unsigned before,
                 Clock::time_point deadline) {
    while (selection.dispatchPending()) {
        if (selection.changes(quillet::Selection::Clipboard) != before)
            return true;
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            return false;
        pollfd readable{selection.fd(), POLLIN, 0};
        poll(&readable, 1, static_cast<int>(left.count()));
    }
    return false;
}

double msBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

void print(const char* what, std::vector<double> ms) {
    if (ms.empty()) {
        std::printf("%-34s no samples\n", what);
        return;
    }
    std::sort(ms.begin(), ms.end());
    std::printf("%-34s n=%zu  min %6.2f  median %6.2f  max %6.2f ms\n", what, ms.size(), ms.front(),
                ms[ms.size() / 2], ms.back());
}

} // namespace

// GNOME: reads of the highlight, each with a window that takes the focus and goes.
int timeFocusedReads(int count) {
    std::string error;
    auto reader = quillet::SurfaceSelectionReader::connect(error);
    if (!reader) {
        std::fprintf(stderr, "selection bench: %s\n", error.c_str());
        return 1;
    }
    std::vector<double> reads;
    std::size_t bytes = 0;
    for (int i = 0; i < count; ++i) {
        const auto start = Clock::now();
        const quillet::SelectionRead got = reader->read(std::chrono::seconds(1));
        if (got.outcome == quillet::SelectionRead::Outcome::Text) {
            reads.push_back(msBetween(start, Clock::now()));
            bytes = got.text.size();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100)); // the focus goes back
    }
    std::printf("%d tries, %zu reads, %zu bytes each\n", count, reads.size(), bytes);
    print("reading PRIMARY with the focus", reads);
    return reads.size() == static_cast<std::size_t>(count) ? 0 : 1;
}

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 20;
    if (argc > 2 && std::string(argv[2]) == "--focused")
        return timeFocusedReads(count);
    std::string error;
    auto selection = quillet::DataControlReader::connect(error);
    auto keys = selection ? quillet::KeyInjector::connect(error) : nullptr;
    if (!selection || !keys) {
        std::fprintf(stderr, "selection bench: %s\n", error.c_str());
        return 1;
    }
    // A selection by keys, which also makes it the highlighted text (PRIMARY).
    keys->press({KEY_LEFTCTRL, KEY_A});
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    std::vector<double> copied, readClipboard, readPrimary;
    std::size_t bytes = 0;
    for (int i = 0; i < count; ++i) {
        selection->dispatchPending();
        const unsigned before = selection->changes(quillet::Selection::Clipboard);
        const auto start = Clock::now();
        keys->press({KEY_LEFTCTRL, KEY_C});
        if (!waitForCopy(*selection, before, start + std::chrono::seconds(3)))
            continue;
        const auto changed = Clock::now();
        const auto got =
            selection->readText(quillet::Selection::Clipboard, std::chrono::seconds(1));
        if (got.outcome != quillet::DataControlReader::Read::Outcome::Text)
            continue;
        bytes = got.text.size();
        copied.push_back(msBetween(start, changed));
        readClipboard.push_back(msBetween(changed, Clock::now()));

        const auto primaryStart = Clock::now();
        if (selection->readText(quillet::Selection::Primary, std::chrono::seconds(1)).outcome ==
            quillet::DataControlReader::Read::Outcome::Text)
            readPrimary.push_back(msBetween(primaryStart, Clock::now()));
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    std::printf("%d tries, %zu copies seen, %zu bytes each\n", count, copied.size(), bytes);
    print("Ctrl+C to the new CLIPBOARD", copied);
    print("reading the CLIPBOARD", readClipboard);
    print("reading PRIMARY", readPrimary);
    return copied.size() == static_cast<std::size_t>(count) ? 0 : 1;
}
