#include "platform/front_window.h"

#include "platform/terminals.h"

#include <QByteArray>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVirtualObject>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryFile>

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace quillet {

namespace {

// --- sway --------------------------------------------------------------------------------

// sway answers at once; a compositor that does not is no reason to hold up a capture long.
constexpr auto SwayAnswerBound = std::chrono::milliseconds(500);
constexpr char IpcMagic[] = {'i', '3', '-', 'i', 'p', 'c'};
constexpr std::uint32_t GetTree = 4;
constexpr std::size_t HeaderSize = sizeof(IpcMagic) + 2 * sizeof(std::uint32_t);
// Far more than the window tree of any desktop.
constexpr std::uint32_t LargestAnswer = 64u << 20;

using Clock = std::chrono::steady_clock;

class Socket {
public:
    Socket() : fd_(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0)) {}
    ~Socket() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    int fd() const { return fd_; }

private:
    int fd_;
};

// Reads exactly `size` bytes before the deadline.
bool readAll(int fd, char* data, std::size_t size, Clock::time_point deadline) {
    while (size > 0) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd readable{fd, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&readable, 1, static_cast<int>(left.count())) <= 0)
            return false;
        const ssize_t got = ::read(fd, data, size);
        if (got <= 0)
            return false;
        data += got;
        size -= static_cast<std::size_t>(got);
    }
    return true;
}

// The node with the focus, searched depth first; an empty object when there is none.
QJsonObject focusedNode(const QJsonObject& node) {
    if (node.value(QLatin1String("focused")).toBool())
        return node;
    for (const char* children : {"nodes", "floating_nodes"})
        for (const QJsonValue child : node.value(QLatin1String(children)).toArray()) {
            QJsonObject found = focusedNode(child.toObject());
            if (!found.isEmpty())
                return found;
        }
    return {};
}

class SwayFrontWindow final : public FrontWindow {
public:
    explicit SwayFrontWindow(std::string socketPath) : path_(std::move(socketPath)) {}

    std::optional<bool> isTerminal() override {
        const std::optional<QByteArray> tree = ask(GetTree);
        if (!tree)
            return std::nullopt;
        const QJsonDocument document = QJsonDocument::fromJson(*tree);
        if (!document.isObject())
            return std::nullopt;
        const QJsonObject node = focusedNode(document.object());
        // A Wayland window has an application id, an Xwayland one its WM_CLASS.
        const QJsonObject x11 = node.value(QLatin1String("window_properties")).toObject();
        const QByteArray appId = node.value(QLatin1String("app_id")).toString().toUtf8();
        const QByteArray x11Class = x11.value(QLatin1String("class")).toString().toUtf8();
        const QByteArray instance = x11.value(QLatin1String("instance")).toString().toUtf8();
        const QByteArray& windowClass = appId.isEmpty() ? x11Class : appId;
        return isTerminalWindow({std::string_view(windowClass.constData(), windowClass.size()),
                                 std::string_view(instance.constData(), instance.size())},
                                userTerminalNames());
    }

private:
    // One request of sway's IPC and its answer's payload.
    std::optional<QByteArray> ask(std::uint32_t type) const {
        const Clock::time_point deadline = Clock::now() + SwayAnswerBound;
        Socket socket;
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        if (socket.fd() < 0 || path_.size() >= sizeof(address.sun_path))
            return std::nullopt;
        std::memcpy(address.sun_path, path_.data(), path_.size());
        if (::connect(socket.fd(), reinterpret_cast<const sockaddr*>(&address), sizeof(address)) !=
            0)
            return std::nullopt;
        char header[HeaderSize];
        const std::uint32_t empty = 0;
        std::memcpy(header, IpcMagic, sizeof(IpcMagic));
        std::memcpy(header + sizeof(IpcMagic), &empty, sizeof(empty));
        std::memcpy(header + sizeof(IpcMagic) + sizeof(empty), &type, sizeof(type));
        if (::send(socket.fd(), header, sizeof(header), MSG_NOSIGNAL) !=
                static_cast<ssize_t>(sizeof(header)) ||
            !readAll(socket.fd(), header, sizeof(header), deadline) ||
            std::memcmp(header, IpcMagic, sizeof(IpcMagic)) != 0)
            return std::nullopt;
        std::uint32_t size = 0, answerType = 0;
        std::memcpy(&size, header + sizeof(IpcMagic), sizeof(size));
        std::memcpy(&answerType, header + sizeof(IpcMagic) + sizeof(size), sizeof(answerType));
        if (answerType != type || size > LargestAnswer)
            return std::nullopt;
        QByteArray payload(static_cast<qsizetype>(size), Qt::Uninitialized);
        if (!readAll(socket.fd(), payload.data(), size, deadline))
            return std::nullopt;
        return payload;
    }

    std::string path_;
};

// --- KWin --------------------------------------------------------------------------------

const QString KWinService = QStringLiteral("org.kde.KWin");
constexpr int UnloadWaitMs = 500;
const QString ReportPath = QStringLiteral("/org/quillet/FrontWindow");
const QString ReportInterface = QStringLiteral("org.quillet.FrontWindow");
const QString ReportMethod = QStringLiteral("Activated");

// Tells this program the active window's class and name now and at every activation. KWin 6
// calls the client a window.
constexpr char ReportScript[] = R"(function report() {
    var w = workspace.activeWindow !== undefined ? workspace.activeWindow : workspace.activeClient;
    callDBus("%1", "%2", "%3", "%4", w ? String(w.resourceClass) : "",
             w ? String(w.resourceName) : "");
}
(workspace.windowActivated || workspace.clientActivated).connect(report);
report();
)";

class KWinFrontWindow final : public FrontWindow, public QDBusVirtualObject {
public:
    KWinFrontWindow(QDBusConnection bus, QString kwin)
        : bus_(std::move(bus)), kwin_(std::move(kwin)),
          plugin_(QStringLiteral("quillet-front-window-") +
                  QString(bus_.baseService())
                      .replace(QLatin1Char(':'), QString())
                      .replace(QLatin1Char('.'), QLatin1Char('_'))),
          script_(QDir::tempPath() + QStringLiteral("/quillet-front-window-XXXXXX.js")) {}

    ~KWinFrontWindow() override {
        if (!loaded_)
            return;
        // Waited for: the program may end right after.
        bus_.call(QDBusMessage::createMethodCall(KWinService, QStringLiteral("/Scripting"),
                                                 QStringLiteral("org.kde.kwin.Scripting"),
                                                 QStringLiteral("unloadScript"))
                      << plugin_,
                  QDBus::Block, UnloadWaitMs);
        bus_.unregisterObject(ReportPath);
    }
    KWinFrontWindow(const KWinFrontWindow&) = delete;
    KWinFrontWindow& operator=(const KWinFrontWindow&) = delete;

    // Loads the script; KWin answers later, and the first report follows.
    bool start() {
        if (!script_.open() ||
            script_.write(QString::fromLatin1(ReportScript)
                              .arg(bus_.baseService(), ReportPath, ReportInterface, ReportMethod)
                              .toUtf8()) < 0 ||
            !script_.flush() || !bus_.registerVirtualObject(ReportPath, this))
            return false;
        loaded_ = true;
        const QDBusMessage load =
            QDBusMessage::createMethodCall(KWinService, QStringLiteral("/Scripting"),
                                           QStringLiteral("org.kde.kwin.Scripting"),
                                           QStringLiteral("loadScript"))
            << script_.fileName() << plugin_;
        auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(load), this);
        QObject::connect(watcher, &QDBusPendingCallWatcher::finished, this,
                         [this](QDBusPendingCallWatcher* answer) {
                             answer->deleteLater();
                             const QDBusPendingReply<int> id = *answer;
                             if (!id.isError() && id.value() >= 0)
                                 run(id.value());
                         });
        return true;
    }

    std::optional<bool> isTerminal() override { return terminal_; }

    QString introspect(const QString&) const override {
        return QStringLiteral("<interface name=\"%1\"><method name=\"%2\">"
                              "<arg name=\"resourceClass\" type=\"s\" direction=\"in\"/>"
                              "<arg name=\"resourceName\" type=\"s\" direction=\"in\"/>"
                              "</method></interface>")
            .arg(ReportInterface, ReportMethod);
    }

    // Only KWin's reports count.
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (message.interface() != ReportInterface || message.member() != ReportMethod ||
            message.signature() != QLatin1String("ss") || message.service() != kwin_)
            return false;
        const QByteArray windowClass = message.arguments().at(0).toString().toUtf8();
        const QByteArray name = message.arguments().at(1).toString().toUtf8();
        terminal_ = isTerminalWindow({std::string_view(windowClass.constData(), windowClass.size()),
                                      std::string_view(name.constData(), name.size())},
                                     userTerminalNames());
        connection.send(message.createReply());
        // KWin has read the script once it reports.
        if (script_.exists())
            script_.remove();
        return true;
    }

private:
    // KWin 5 names a loaded script's object by its number alone, KWin 6 under /Scripting;
    // the call to the other path fails harmlessly.
    void run(int id) {
        for (const QString& path :
             {QStringLiteral("/%1").arg(id), QStringLiteral("/Scripting/Script%1").arg(id)})
            bus_.send(QDBusMessage::createMethodCall(
                KWinService, path, QStringLiteral("org.kde.kwin.Script"), QStringLiteral("run")));
    }

    QDBusConnection bus_;
    QString kwin_; // KWin's unique name on the bus
    QString plugin_;
    QTemporaryFile script_;
    bool loaded_ = false;
    std::optional<bool> terminal_;
};

} // namespace

std::unique_ptr<FrontWindow> askSwayForFrontWindow() {
    const char* socket = std::getenv("SWAYSOCK");
    if (!socket || !*socket)
        return nullptr;
    return std::make_unique<SwayFrontWindow>(socket);
}

std::unique_ptr<FrontWindow> watchKWinFrontWindow() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface())
        return nullptr;
    const QString kwin = bus.interface()->serviceOwner(KWinService).value();
    if (kwin.isEmpty())
        return nullptr;
    auto front = std::make_unique<KWinFrontWindow>(bus, kwin);
    if (!front->start())
        return nullptr;
    return front;
}

} // namespace quillet
