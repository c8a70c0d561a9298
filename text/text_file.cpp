#include "text/text_file.h"

#include "text/display_text.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cstring>

namespace quillet {

namespace {

// True when every line break is already CR LF: each LF follows a CR and there are as many
// CRs as LFs. memchr jumps from line to line, where a byte loop would test every byte.
bool onlyCrLf(std::string_view text) {
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    std::size_t lineFeeds = 0;
    for (const char* p = begin; (p = static_cast<const char*>(std::memchr(p, '\n', end - p)));
         ++p, ++lineFeeds)
        if (p == begin || p[-1] != '\r')
            return false;
    std::size_t returns = 0;
    for (const char* p = begin; (p = static_cast<const char*>(std::memchr(p, '\r', end - p))); ++p)
        ++returns;
    return returns == lineFeeds;
}

} // namespace

void normalizeLineBreaks(std::string& text) {
    if (onlyCrLf(text))
        return;
    std::size_t extra = 0;
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (text[i] == '\r') {
            if (i + 1 < n && text[i + 1] == '\n')
                ++i;
            else
                ++extra;
        } else if (text[i] == '\n') {
            ++extra;
        }
    }
    if (extra == 0)
        return;
    std::string out;
    out.reserve(n + extra);
    for (std::size_t i = 0; i < n; ++i) {
        const char c = text[i];
        if (c == '\r') {
            out += "\r\n";
            if (i + 1 < n && text[i + 1] == '\n')
                ++i;
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    text = std::move(out);
}

std::optional<std::string> readTextFile(const QString& path) {
    if (QFileInfo(path).isDir())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return std::nullopt;
    std::string text;
    // The size is only a hint: a file that grows or shrinks while it is read is read to
    // its actual end.
    std::size_t capacity = static_cast<std::size_t>(std::max<qint64>(file.size(), 0)) + 1;
    text.resize(capacity);
    std::size_t filled = 0;
    for (;;) {
        if (filled == text.size())
            text.resize(text.size() * 2);
        const qint64 got =
            file.read(text.data() + filled, static_cast<qint64>(text.size() - filled));
        if (got < 0)
            return std::nullopt;
        if (got == 0)
            break;
        filled += static_cast<std::size_t>(got);
    }
    text.resize(filled);
    normalizeLineBreaks(text);
    return text;
}

bool loadTextFile(const QString& path, TextView& view, FailureReporter& failures) {
    std::optional<std::string> text = readTextFile(path);
    if (!text) {
        failures.showGeneralError(cannotOpenMessage(path));
        return false;
    }
    view.setText(*text);
    return true;
}

namespace {

bool isTakenByFile(const QString& path) {
    const QFileInfo info(path);
    return (info.exists() || info.isSymLink()) && !info.isDir();
}

} // namespace

Creation createNewFile(const QString& path, std::string_view bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return isTakenByFile(path) ? Creation::AlreadyThere : Creation::Failed;
    const bool written = file.write(bytes.data(), static_cast<qint64>(bytes.size())) ==
                         static_cast<qint64>(bytes.size());
    const bool flushed = written && file.flush();
    file.close();
    if (!flushed || file.error() != QFileDevice::NoError) {
        file.remove();
        return Creation::Failed;
    }
    return Creation::Written;
}

bool replaceFile(const QString& path, std::string_view bytes) {
    const QFileInfo existing(path);
    if (existing.exists() && !existing.isWritable())
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
        static_cast<qint64>(bytes.size())) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool writeFile(const QString& path, std::string_view bytes) {
    // Only a file that is there needs the detour through a temporary file; a new one has
    // nothing to lose, and the detour costs a sync to disk per file.
    switch (createNewFile(path, bytes)) {
    case Creation::Written:
        return true;
    case Creation::AlreadyThere:
        return replaceFile(path, bytes);
    case Creation::Failed:
        break;
    }
    return false;
}

std::string cannotOpenMessage(const QString& path) {
    return "Datei " + toDocumentText(path) +
           " kann nicht ge\xF6"
           "ffnet werden";
}

std::string cannotCreateMessage(const QString& path) {
    return "Datei " + toDocumentText(path) + " kann nicht erstellt werden";
}

} // namespace quillet
