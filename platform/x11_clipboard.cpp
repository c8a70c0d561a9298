#include "platform/x11_clipboard.h"

#include "platform/address_offer.h"
#include "platform/event_wait.h"
#include "platform/qt_text.h"

#include <QDeadlineTimer>
#include <QString>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>
#undef Status // Xlib's macro would hide ClipboardText::Status

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

namespace quillet {

namespace {

// An owner that sends nothing for this long is stuck (stopped, busy, or gone without a
// word): the read fails instead of freezing the capture.
constexpr int AnswerBoundMs = 1000;
// However steadily an owner sends the pieces of a large text, the read ends by then.
constexpr int TransferBoundMs = 10000;
// Without XFixes nothing tells of a copy: the old fixed wait, and the copy unconfirmed.
constexpr int BlindCopyWaitMs = 300;
// In 32-bit units: more than any clipboard text.
constexpr long WholeProperty = 0x1fffffff;

using Text = ClipboardText::Status;

class X11Clipboard final : public Clipboard {
public:
    explicit X11Clipboard(const char* displayName) : display_(XOpenDisplay(displayName)) {
        if (!display_)
            return;
        // An unmapped window to receive the text in, and the owner notices.
        window_ = XCreateSimpleWindow(display_, DefaultRootWindow(display_), -1, -1, 1, 1, 0, 0, 0);
        XSelectInput(display_, window_, PropertyChangeMask);
        clipboard_ = XInternAtom(display_, "CLIPBOARD", False);
        targets_ = XInternAtom(display_, "TARGETS", False);
        incr_ = XInternAtom(display_, "INCR", False);
        property_ = XInternAtom(display_, "QUILLET_CLIPBOARD", False);
        // The text forms, the best first; STRING is Latin-1, the others UTF-8.
        textTargets_ = {XInternAtom(display_, "UTF8_STRING", False),
                        XInternAtom(display_, "text/plain;charset=utf-8", False),
                        XInternAtom(display_, "text/plain", False), XA_STRING};
        for (std::size_t i = 0; i < AddressTypes.size(); ++i)
            addressTargets_[i] = XInternAtom(display_, std::string(AddressTypes[i]).c_str(), False);
        int error = 0;
        hasFixes_ = XFixesQueryExtension(display_, &fixesEvent_, &error);
        if (hasFixes_) {
            int major = 5, minor = 0;
            XFixesQueryVersion(display_, &major, &minor);
            XFixesSelectSelectionInput(display_, window_, clipboard_,
                                       XFixesSetSelectionOwnerNotifyMask);
            XFixesSelectSelectionInput(display_, window_, XA_PRIMARY,
                                       XFixesSetSelectionOwnerNotifyMask);
        }
        XSync(display_, False);
    }
    ~X11Clipboard() override {
        if (!display_)
            return;
        XDestroyWindow(display_, window_);
        XCloseDisplay(display_);
    }
    X11Clipboard(const X11Clipboard&) = delete;
    X11Clipboard& operator=(const X11Clipboard&) = delete;

    ChangeMark changeMark() override {
        if (display_) {
            // Every owner change the server made so far is counted before the mark.
            XSync(display_, False);
            handleEvents();
        }
        return changes_;
    }

    bool waitForChange(ChangeMark mark, int timeoutMs) override {
        if (!display_ || !hasFixes_) {
            waitProcessingEvents(std::min(timeoutMs, BlindCopyWaitMs), [] { return false; });
            return false;
        }
        return waitProcessingEvents(
            timeoutMs,
            [&] {
                handleEvents();
                return changes_ != mark;
            },
            ConnectionNumber(display_));
    }

    ClipboardText readText() override { return readSelection(clipboard_); }

    // Counted like the clipboard's changes; a program that takes the selection again for
    // each new highlight (xterm does) makes each a change.
    ChangeMark highlightMark() override {
        changeMark();
        return highlights_;
    }

    ClipboardText readHighlight() override { return readSelection(XA_PRIMARY); }

private:
    enum class Outcome { Done, Refused, NoAnswer };
    enum class Stage { Idle, Asked, Pieces, Done, Refused };

    ClipboardText readSelection(Atom selection) {
        if (!display_)
            return {Text::CannotOpen, {}};
        if (XGetSelectionOwner(display_, selection) == None)
            return {Text::NoText, {}};
        Atom target = textTargets_.front(); // for an owner that lists no targets
        std::size_t address = AddressTypes.size();
        switch (fetch(selection, targets_)) {
        case Outcome::NoAnswer:
            return {Text::CannotOpen, {}};
        case Outcome::Refused:
            break;
        case Outcome::Done: {
            const std::vector<Atom> offered = offeredTargets();
            const std::size_t text = firstOffered(textTargets_, offered);
            if (text == textTargets_.size())
                return {Text::NoText, {}};
            target = textTargets_[text];
            address = firstOffered(addressTargets_, offered);
            break;
        }
        }
        switch (fetch(selection, target)) {
        case Outcome::NoAnswer:
            return {Text::CannotOpen, {}};
        case Outcome::Refused:
            return {Text::NoText, {}};
        case Outcome::Done:
            break;
        }
        const auto size = static_cast<qsizetype>(transfer_.data.size());
        const QString text = transfer_.type == XA_STRING
                                 ? QString::fromLatin1(transfer_.data.data(), size)
                                 : QString::fromUtf8(transfer_.data.data(), size);
        ClipboardText read{Text::Text, toDocumentText(text)};
        // The text stands without it when the owner does not hand the address over.
        if (address < AddressTypes.size() &&
            fetch(selection, addressTargets_[address]) == Outcome::Done)
            read.sourceAddress = addressFromOffer(AddressTypes[address], transfer_.data);
        return read;
    }

    // One conversion of the selection into property_ on window_.
    struct Transfer {
        Stage stage = Stage::Idle;
        Atom selection = None;
        Atom target = None;
        Atom type = None;
        std::string data;
        unsigned long steps = 0; // answers and pieces so far: the owner is alive
    };

    // Asks the owner of `selection` for it as `target` and collects the answer, in pieces
    // when the owner sends it incrementally.
    Outcome fetch(Atom selection, Atom target) {
        XDeleteProperty(display_, window_, property_);
        XConvertSelection(display_, selection, target, property_, window_, CurrentTime);
        XFlush(display_);
        transfer_ = Transfer{Stage::Asked, selection, target, None, {}, 0};
        const QDeadlineTimer whole(TransferBoundMs);
        for (;;) {
            const unsigned long before = transfer_.steps;
            const bool moved = waitProcessingEvents(
                static_cast<int>(std::min<qint64>(AnswerBoundMs, whole.remainingTime())),
                [&] {
                    handleEvents();
                    return transfer_.steps != before;
                },
                ConnectionNumber(display_));
            if (transfer_.stage == Stage::Done)
                return Outcome::Done;
            if (transfer_.stage == Stage::Refused)
                return Outcome::Refused;
            if (!moved || whole.hasExpired()) {
                transfer_ = {}; // whatever comes late is not taken for the next read
                return Outcome::NoAnswer;
            }
        }
    }

    // The targets the owner listed in answer to TARGETS.
    std::vector<Atom> offeredTargets() const {
        if (transfer_.type != XA_ATOM && transfer_.type != targets_)
            return {};
        std::vector<Atom> offered(transfer_.data.size() / sizeof(Atom));
        std::memcpy(offered.data(), transfer_.data.data(), offered.size() * sizeof(Atom));
        return offered;
    }

    // The index of the first of `wanted` that is offered; N when none is.
    template <std::size_t N>
    static std::size_t firstOffered(const std::array<Atom, N>& wanted,
                                    const std::vector<Atom>& offered) {
        for (std::size_t i = 0; i < N; ++i)
            if (std::find(offered.begin(), offered.end(), wanted[i]) != offered.end())
                return i;
        return N;
    }

    void handleEvents() {
        while (XPending(display_)) {
            XEvent event;
            XNextEvent(display_, &event);
            if (hasFixes_ && event.type == fixesEvent_ + XFixesSelectionNotify) {
                const auto& notice = reinterpret_cast<const XFixesSelectionNotifyEvent&>(event);
                if (notice.selection == clipboard_ && notice.owner != None)
                    ++changes_;
                else if (notice.selection == XA_PRIMARY && notice.owner != None)
                    ++highlights_;
            } else if (event.type == SelectionNotify) {
                takeAnswer(event.xselection);
            } else if (event.type == PropertyNotify) {
                takePiece(event.xproperty);
            }
        }
    }

    void takeAnswer(const XSelectionEvent& answer) {
        if (transfer_.stage != Stage::Asked || answer.requestor != window_ ||
            answer.selection != transfer_.selection || answer.target != transfer_.target)
            return;
        ++transfer_.steps;
        if (answer.property == None || !takeProperty()) {
            transfer_.stage = Stage::Refused;
            return;
        }
        // Reading deleted the property, which asks an incremental owner for the first piece.
        if (transfer_.type == incr_) {
            transfer_.stage = Stage::Pieces;
            transfer_.data.clear();
        } else {
            transfer_.stage = Stage::Done;
        }
    }

    void takePiece(const XPropertyEvent& change) {
        if (transfer_.stage != Stage::Pieces || change.window != window_ ||
            change.atom != property_ || change.state != PropertyNewValue)
            return;
        ++transfer_.steps;
        std::string text = std::move(transfer_.data);
        if (!takeProperty()) {
            transfer_.stage = Stage::Refused;
            return;
        }
        if (transfer_.data.empty()) // an empty piece ends the text
            transfer_.stage = Stage::Done;
        text += transfer_.data;
        transfer_.data = std::move(text);
    }

    // Reads property_ whole into transfer_.data and .type, and deletes it; false when
    // there is no such property.
    bool takeProperty() {
        Atom type = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* value = nullptr;
        const bool exists = XGetWindowProperty(display_, window_, property_, 0, WholeProperty, True,
                                               AnyPropertyType, &type, &format, &count, &after,
                                               &value) == Success &&
                            type != None;
        if (exists) {
            // Xlib hands 16- and 32-bit items over as short and long.
            const std::size_t itemSize = format == 32   ? sizeof(long)
                                         : format == 16 ? sizeof(short)
                                                        : 1;
            transfer_.type = type;
            transfer_.data.assign(reinterpret_cast<const char*>(value),
                                  value ? count * itemSize : 0);
        }
        if (value)
            XFree(value);
        return exists;
    }

    Display* display_;
    Window window_ = None;
    Atom clipboard_ = None, targets_ = None, incr_ = None, property_ = None;
    std::array<Atom, 4> textTargets_{};
    std::array<Atom, AddressTypes.size()> addressTargets_{};
    bool hasFixes_ = false;
    int fixesEvent_ = 0;
    ChangeMark changes_ = 0;
    ChangeMark highlights_ = 0; // a highlight made before the start counts as none
    Transfer transfer_;
};

} // namespace

std::unique_ptr<Clipboard> openX11Clipboard(const char* displayName) {
    return std::make_unique<X11Clipboard>(displayName);
}

} // namespace quillet
