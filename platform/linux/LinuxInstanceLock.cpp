#include "platform/linux/LinuxInstanceLock.h"

#include "table/Errors.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace wv {

namespace {

const QByteArray kRequest = QByteArrayLiteral("show\n");
const QByteArray kQuit = QByteArrayLiteral("quit\n");
const QByteArray kAnswer = QByteArrayLiteral("ok\n");
// Connections being read at once; more are closed at once.
constexpr int kMaxConnections = 8;
// A socket's path must fit in sockaddr_un (108 bytes with its terminating zero).
constexpr int kMaxSocketPath = 100;

[[noreturn]] void failLock(const QString& lockPath, int err) {
    throw EFileError(
        ("Cannot create lock file " + lockPath + ": " + QString::fromLocal8Bit(std::strerror(err)))
            .toLocal8Bit()
            .toStdString());
}

// The socket name the running copy wrote into the lock file: a later start started with another
// environment (no XDG_RUNTIME_DIR under su or cron, say) still finds the copy that runs.
QString recordedServerName(int fd) {
    char buffer[512];
    const ssize_t n = ::pread(fd, buffer, sizeof buffer - 1, 0);
    if (n <= 0)
        return {};
    const QString name = QString::fromLocal8Bit(buffer, n).trimmed();
    // Only a name of ours: anything else in the file is not followed.
    if (!QFileInfo(name).fileName().startsWith(QStringLiteral("wirevane-")) ||
        name.contains(QLatin1Char('\n')))
        return {};
    return name;
}

// Sends `request` to the copy listening on `serverName`; true once it answered "ok".
bool ask(const QString& serverName, const QByteArray& request, int timeoutMs);

void drop(QLocalSocket* socket) {
    socket->abort();
    socket->deleteLater();
}

// The socket's server, on the listening thread: answers each well-formed request and tells the
// GUI thread through `onRequest`, which it calls on this thread.
class Listener : public QObject {
public:
    Listener(QString name, std::function<void(const QByteArray&)> onRequest, bool takesQuit)
        : name_(std::move(name)), onRequest_(std::move(onRequest)), takesQuit_(takesQuit) {}

    void start() {
        server_ = new QLocalServer(this);
        server_->setSocketOptions(QLocalServer::UserAccessOption);
        connect(server_, &QLocalServer::newConnection, this, &Listener::accept);
        if (server_->listen(name_))
            return;
        // The lock is ours, so a socket still there was left by a copy that was killed.
        QLocalServer::removeServer(name_);
        if (!server_->listen(name_))
            std::fprintf(stderr, "Wirevane: later starts cannot reach this copy (%s: %s)\n",
                         qPrintable(name_), qPrintable(server_->errorString()));
    }

private:
    void accept() {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            if (server_->findChildren<QLocalSocket*>().size() > kMaxConnections) {
                drop(socket);
                continue;
            }
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] { read(socket); });
            QTimer::singleShot(LinuxInstanceLock::kConnectionTimeoutMs, socket,
                               [socket] { drop(socket); });
            if (socket->bytesAvailable() > 0)
                read(socket);
        }
    }

    void read(QLocalSocket* socket) {
        if (socket->state() != QLocalSocket::ConnectedState)
            return;
        // One byte more than the request, so that a longer message is seen as what it is.
        const QByteArray head = socket->peek(kRequest.size() + 1);
        const QByteArray& request = takesQuit_ && kQuit.startsWith(head) ? kQuit : kRequest;
        if (!request.startsWith(head)) {
            drop(socket);
            return;
        }
        if (head.size() < request.size())
            return;               // the rest is on its way
        socket->disconnect(this); // one request per connection
        onRequest_(request);      // queued for the GUI thread before the later start hears "ok"
        socket->write(kAnswer);
        socket->flush();
        socket->disconnectFromServer();
    }

    QString name_;
    std::function<void(const QByteArray&)> onRequest_;
    bool takesQuit_;
    QLocalServer* server_ = nullptr;
};

} // namespace

LinuxInstanceLock::LinuxInstanceLock() = default;

LinuxInstanceLock::~LinuxInstanceLock() {
    if (thread_) {
        // The server goes on its own thread, then the thread ends.
        QMetaObject::invokeMethod(
            listener_, [this] { delete listener_; }, Qt::BlockingQueuedConnection);
        thread_->quit();
        thread_->wait();
        delete thread_;
    }
    if (fd_ >= 0)
        ::close(fd_); // releases the lock; the file stays, so no other start races its removal
}

QString LinuxInstanceLock::LockFilePath(const QString& logPath) {
    const QFileInfo info(logPath);
    return info.absolutePath() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".lock");
}

QString LinuxInstanceLock::ServerName(const QString& logPath) {
    const QFileInfo info(logPath);
    QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    if (folder.isEmpty())
        folder = info.absolutePath();
    const QByteArray hash =
        QCryptographicHash::hash((folder + QLatin1Char('/') + info.fileName()).toUtf8(),
                                 QCryptographicHash::Sha256)
            .toHex()
            .left(24);
    const QString name = QStringLiteral("wirevane-") + QString::fromLatin1(hash);
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir()) {
        const QString path = QDir(runtime).absoluteFilePath(name);
        if (QFile::encodeName(path).size() <= kMaxSocketPath)
            return path;
    }
    // In the shared temporary folder: the user's id keeps users apart, the access option keeps
    // others out.
    return QStringLiteral("wirevane-%1-%2").arg(::getuid()).arg(QString::fromLatin1(hash));
}

bool LinuxInstanceLock::TryLock(const QString& logPath) {
    const QString lockPath = LockFilePath(logPath);
    // The log's folder may not be there yet (a first start with per-user folders).
    QDir().mkpath(QFileInfo(lockPath).absolutePath());
    // Held open read-only: a file kept open for writing would keep the folder's file system from
    // being remounted read-only.
    const int fd = ::open(QFile::encodeName(lockPath).constData(),
                          O_RDONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0)
        failLock(lockPath, errno);
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            break;
        const int err = errno;
        if (err == EINTR)
            continue;
        ::close(fd);
        if (err == EWOULDBLOCK) {
            const int probe =
                ::open(QFile::encodeName(lockPath).constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
            serverName_ = probe >= 0 ? recordedServerName(probe) : QString();
            if (probe >= 0)
                ::close(probe);
            if (serverName_.isEmpty())
                serverName_ = ServerName(logPath);
            return false;
        }
        failLock(lockPath, err);
    }
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = fd;
    serverName_ = ServerName(logPath);
    // Tell later starts where this copy listens, whatever their environment.
    QString full = serverName_;
    if (!QFileInfo(full).isAbsolute())
        full = QDir(QDir::tempPath()).absoluteFilePath(full);
    const QByteArray record = QFile::encodeName(full) + '\n';
    // A lock file the user may read but not write still locks; it just cannot record the name.
    const int out = ::open(QFile::encodeName(lockPath).constData(),
                           O_WRONLY | O_TRUNC | O_CLOEXEC | O_NOFOLLOW);
    if (out >= 0) {
        (void)!::write(out, record.constData(), record.size());
        ::close(out);
    }
    return true;
}

void LinuxInstanceLock::Listen(std::function<void()> onShow) {
    onShow_ = std::move(onShow);
    if (fd_ < 0 || thread_)
        return;
    thread_ = new QThread;
    thread_->setObjectName(QStringLiteral("wirevane-instance"));
    auto* listener = new Listener(
        serverName_,
        [this](const QByteArray& request) {
            // Back to the GUI thread, whose event loop shows the window or ends the program.
            const bool quit = request == kQuit;
            QMetaObject::invokeMethod(
                this,
                [this, quit] {
                    const std::function<void()>& handler = quit ? onQuit_ : onShow_;
                    if (handler)
                        handler();
                },
                Qt::QueuedConnection);
        },
        static_cast<bool>(onQuit_));
    listener->moveToThread(thread_);
    listener_ = listener;
    thread_->start();
    // Listening before this returns: a later start from now on is answered.
    QMetaObject::invokeMethod(
        listener, [listener] { listener->start(); }, Qt::BlockingQueuedConnection);
}

bool LinuxInstanceLock::AskToShow(int timeoutMs) {
    return !serverName_.isEmpty() && ask(serverName_, kRequest, timeoutMs);
}

namespace {
// Whether another process holds the lock on the open lock file `fd`.
bool heldElsewhere(int fd) {
    for (;;) {
        if (::flock(fd, LOCK_SH | LOCK_NB) == 0) {
            ::flock(fd, LOCK_UN);
            return false;
        }
        if (errno != EINTR)
            return errno == EWOULDBLOCK;
    }
}
} // namespace

LinuxInstanceLock::QuitResult LinuxInstanceLock::AskToQuit(const QString& logPath,
                                                           int answerTimeoutMs, int endTimeoutMs) {
    const int fd = ::open(QFile::encodeName(LockFilePath(logPath)).constData(),
                          O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return QuitResult::NotRunning; // never started on this log
    QuitResult result = QuitResult::NotRunning;
    if (heldElsewhere(fd)) {
        QString name = recordedServerName(fd);
        if (name.isEmpty())
            name = ServerName(logPath);
        result = QuitResult::NoAnswer;
        if (ask(name, kQuit, answerTimeoutMs)) {
            // It answered; it has ended once its lock is free.
            QElapsedTimer clock;
            clock.start();
            bool held = true;
            while ((held = heldElsewhere(fd)) && clock.elapsed() < endTimeoutMs)
                QThread::msleep(20);
            result = held ? QuitResult::StillRunning : QuitResult::Ended;
        }
    }
    ::close(fd);
    return result;
}

namespace {
bool ask(const QString& serverName, const QByteArray& request, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    const auto remaining = [&] { return int(std::max<qint64>(0, timeoutMs - clock.elapsed())); };
    while (remaining() > 0) {
        QLocalSocket socket;
        socket.connectToServer(serverName);
        if (socket.waitForConnected(remaining())) {
            socket.write(request);
            socket.waitForBytesWritten(remaining());
            QByteArray reply = socket.readAll();
            while (reply.size() < kAnswer.size() && remaining() > 0 &&
                   socket.waitForReadyRead(remaining()))
                reply += socket.readAll();
            if (reply.startsWith(kAnswer))
                return true;
        }
        // Not listening yet (the copy is still starting) or busy: try again shortly.
        QThread::msleep(static_cast<unsigned long>(std::min(50, remaining())));
    }
    return false;
}
} // namespace

} // namespace wv
