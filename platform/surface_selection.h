#pragma once

#include "platform/selection_reading.h"

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace quillet {

// Reads the highlighted text (the primary selection) where the compositor offers no
// data-control and hands the selection only to the program that has the keyboard focus
// (GNOME's mutter): for each read a window of one transparent pixel appears, takes the
// focus, reads, and goes, and the compositor gives the focus back to the window that had
// it. A libwayland connection of its own, whatever Qt platform the windows use.
class SurfaceSelectionReader {
public:
    // Connects to $WAYLAND_DISPLAY. Nullptr when there is no compositor or it lacks a
    // piece (a seat, windows, the primary selection); `error` then says which.
    static std::unique_ptr<SurfaceSelectionReader> connect(std::string& error);
    virtual ~SurfaceSelectionReader() = default;

    // Shows the window, reads the selection's text and the `extraTypes` it is offered in,
    // and removes the window; all within `timeout`. NoText when nothing is highlighted or
    // it offers no text; NoAnswer also when the compositor gave no focus in time.
    virtual SelectionRead read(std::chrono::milliseconds timeout,
                               const std::vector<std::string>& extraTypes = {}) = 0;
};

} // namespace quillet
