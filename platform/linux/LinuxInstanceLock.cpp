// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
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
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace wv {

namespace {

// The requests a later start may send, each a word and a line feed.
const QByteArray kShow = QByteArrayLiteral("show");
const QByteArray kQuit = QByteArrayLiteral("quit");
const QByteArray kOk = QByteArrayLiteral("ok\n");
const QByteArray kEnding = QByteArrayLiteral("ending\n");
constexpr int kMaxRequest = 16;
// Connections being read at once; more are closed at once.
constexpr int kMaxConnections = 8;
// A socket's path must fit in sockaddr_un (108 bytes with its terminating zero).
constexpr int kMaxSocketPath = 100;

QString systemError(int err) {
    return QString::fromLocal8Bit(std::strerror(err));
}

[[noreturn]] void failLock(const QString& lockPath, const QString& why) {
    throw EFileError(QStringLiteral("Wirevane does not run on this log: its lock file %1 %2.")
                         .arg(lockPath, why)
                         .toLocal8Bit()
                         .toStdString());
}

QString userName(uid_t uid) {
    if (const passwd* pw = ::getpwuid(uid))
        return QString::fromLocal8Bit(pw->pw_name);
    return QString::number(uid);
}

QString foreignOwner(const QString& lockPath, uid_t owner) {
    return QStringLiteral(
               "belongs to the user %1, not to you: the folder %2 is shared with another "
               "user. Keep the log in a folder of your own")
        .arg(userName(owner), QFileInfo(lockPath).absolutePath());
}

bool peerIsThisUser(qintptr fd) {
    ucred cred{};
    socklen_t len = sizeof cred;
    return fd >= 0 && ::getsockopt(int(fd), SOL_SOCKET, SO_PEERCRED, &cred, &len) == 0 &&
           cred.uid == ::geteuid();
}

void drop(QLocalSocket* socket) {
    socket->abort();
    socket->deleteLater();
}

// The socket's server, on the listening thread: answers each well-formed request and tells the
// GUI thread through the request's handler, which it calls on this thread.
class Listener : public QObject {
public:
    Listener(QString name, std::function<void()> onShow, std::function<void()> onQuit,
             std::function<bool()> ending)
        : name_(std::move(name)), ending_(std::move(ending)) {
        // Word -> what it does. Each handler only queues its work for the GUI thread.
        requests_.push_back({kShow, std::move(onShow)});
        if (onQuit)
            requests_.push_back({kQuit, std::move(onQuit)});
    }

    void start() {
        // The folder is checked again right before the name is taken.
        if (name_.isEmpty() || !LinuxInstanceLock::PrivateFolder(QFileInfo(name_).absolutePath())) {
            std::fprintf(stderr, "Wirevane: later starts cannot reach this copy (no private "
                                 "folder for its socket)\n");
            return;
        }
        server_ = new QLocalServer(this);
        server_->setSocketOptions(QLocalServer::UserAccessOption);
        connect(server_, &QLocalServer::newConnection, this, &Listener::accept);
        if (server_->listen(name_))
            return;
        // The lock is ours and so is the folder: a socket still there was left by a copy that
        // was killed.
        QLocalServer::removeServer(name_);
        if (!server_->listen(name_))
            std::fprintf(stderr, "Wirevane: later starts cannot reach this copy (%s: %s)\n",
                         qPrintable(name_), qPrintable(server_->errorString()));
    }

private:
    void accept() {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            // Only this user's own programs are answered.
            if (server_->findChildren<QLocalSocket*>().size() > kMaxConnections ||
                !peerIsThisUser(socket->socketDescriptor())) {
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

    const std::function<void()>* handler(const QByteArray& word) const {
        for (const auto& [w, fn] : requests_)
            if (w == word)
                return &fn;
        return nullptr;
    }

    bool prefixOfARequest(const QByteArray& head) const {
        return std::any_of(requests_.begin(), requests_.end(),
                           [&](const auto& r) { return (r.first + '\n').startsWith(head); });
    }

    void read(QLocalSocket* socket) {
        if (socket->state() != QLocalSocket::ConnectedState)
            return;
        // One byte more than the longest request, so that a longer message is seen as what it is.
        const QByteArray head = socket->peek(kMaxRequest + 1);
        const qsizetype end = head.indexOf('\n');
        if (end < 0) {
            if (!prefixOfARequest(head))
                drop(socket);
            return; // the rest is on its way
        }
        const std::function<void()>* fn = handler(head.left(end));
        // One request per connection, and nothing after it.
        if (!fn || head.size() != end + 1) {
            drop(socket);
            return;
        }
        socket->disconnect(this);
        QByteArray answer = kEnding;
        if (!ending_()) {
            (*fn)(); // queued for the GUI thread before the later start hears "ok"
            answer = kOk;
        }
        socket->write(answer);
        socket->flush();
        socket->disconnectFromServer();
    }

    QString name_;
    std::function<bool()> ending_;
    std::vector<std::pair<QByteArray, std::function<void()>>> requests_;
    QLocalServer* server_ = nullptr;
};

} // namespace

LinuxInstanceLock::LinuxInstanceLock(std::function<bool()> endingElsewhere)
    : endingElsewhere_(std::move(endingElsewhere)) {}

LinuxInstanceLock::~LinuxInstanceLock() {
    if (thread_) {
        // The server goes on its own thread, then the thread ends; only then is the lock let go
        // of, so the next copy never finds this one's socket in its way.
        QMetaObject::invokeMethod(
            listener_, [this] { delete listener_; }, Qt::BlockingQueuedConnection);
        thread_->quit();
        thread_->wait();
        delete thread_;
    }
    if (fd_ >= 0)
        ::close(fd_); // releases the lock; the file stays, so no other start races its removal
}

QString LinuxInstanceLock::RealLogPath(const QString& logPath) {
    const QFileInfo info(logPath);
    char resolved[PATH_MAX];
    if (::realpath(QFile::encodeName(info.absoluteFilePath()).constData(), resolved))
        return QFile::decodeName(resolved);
    // Not there yet (or a link to nowhere, which a save replaces): its folder's real path.
    QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    if (folder.isEmpty())
        folder = info.absolutePath();
    return (folder == QLatin1String("/") ? QString() : folder) + QLatin1Char('/') + info.fileName();
}

QString LinuxInstanceLock::LockFilePath(const QString& logPath) {
    const QFileInfo info(RealLogPath(logPath));
    return info.absolutePath() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".lock");
}

bool LinuxInstanceLock::PrivateFolder(const QString& path) {
    struct stat st {};
    return path.startsWith(QLatin1Char('/')) &&
           ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISDIR(st.st_mode) &&
           st.st_uid == ::geteuid() && (st.st_mode & 077) == 0 && (st.st_mode & S_IRWXU) == S_IRWXU;
}

bool LinuxInstanceLock::TrustedSocket(const QString& path) {
    struct stat st {};
    return PrivateFolder(QFileInfo(path).absolutePath()) &&
           ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISSOCK(st.st_mode) &&
           st.st_uid == ::geteuid();
}

QString LinuxInstanceLock::SocketFolder(bool make) {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (PrivateFolder(runtime) && QFile::encodeName(runtime).size() + 34 <= kMaxSocketPath)
        return QDir::cleanPath(runtime);
    QString temp = QDir::tempPath();
    if (!temp.startsWith(QLatin1Char('/')) || QFile::encodeName(temp).size() + 64 > kMaxSocketPath)
        temp = QStringLiteral("/tmp");
    const QString own = QStringLiteral("%1/wirevane-%2").arg(temp).arg(::geteuid());
    if (make)
        ::mkdir(QFile::encodeName(own).constData(), 0700);
    if (PrivateFolder(own))
        return own;
    if (!make)
        return QString();
    // Somebody else took that name (or it is not private): a folder of a new name, which later
    // starts learn from the lock file.
    QByteArray pattern = QFile::encodeName(own) + "-XXXXXX";
    if (::mkdtemp(pattern.data()) && PrivateFolder(QFile::decodeName(pattern)))
        return QFile::decodeName(pattern);
    return QString();
}

QString LinuxInstanceLock::ServerName(const QString& logPath, bool make) {
    const QString folder = SocketFolder(make);
    if (folder.isEmpty())
        return QString();
    const QByteArray hash =
        QCryptographicHash::hash(RealLogPath(logPath).toUtf8(), QCryptographicHash::Sha256)
            .toHex()
            .left(24);
    return folder + QStringLiteral("/wirevane-") + QString::fromLatin1(hash);
}

int LinuxInstanceLock::openLockFile() const {
    const QByteArray native = QFile::encodeName(lockPath_);
    // Held open read-only: a file kept open for writing would keep the folder's file system from
    // being remounted read-only. Never through a link, never blocking on a pipe put there.
    const int fd =
        ::open(native.constData(), O_RDONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
    if (fd < 0) {
        const int err = errno;
        struct stat st {};
        if (::lstat(native.constData(), &st) == 0) {
            if (S_ISLNK(st.st_mode))
                failLock(lockPath_, QStringLiteral("is a symbolic link; it is never followed"));
            if (st.st_uid != ::geteuid())
                failLock(lockPath_, foreignOwner(lockPath_, st.st_uid));
            if (!S_ISREG(st.st_mode))
                failLock(lockPath_, QStringLiteral("is not an ordinary file"));
        }
        failLock(lockPath_, QStringLiteral("cannot be opened (%1)").arg(systemError(err)));
    }
    struct stat st {};
    QString why;
    if (::fstat(fd, &st) != 0)
        why = QStringLiteral("cannot be read (%1)").arg(systemError(errno));
    else if (!S_ISREG(st.st_mode))
        why = QStringLiteral("is not an ordinary file");
    else if (st.st_uid != ::geteuid())
        why = foreignOwner(lockPath_, st.st_uid);
    if (!why.isEmpty()) {
        ::close(fd);
        failLock(lockPath_, why);
    }
    // The user's own file, made more open by an older version: nobody else may open it now.
    if ((st.st_mode & 07777) != 0600)
        ::fchmod(fd, 0600);
    return fd;
}

bool LinuxInstanceLock::lockOnce() {
    const int fd = openLockFile();
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            break;
        const int err = errno;
        if (err == EINTR)
            continue;
        ::close(fd);
        if (err == EWOULDBLOCK)
            return false;
        failLock(lockPath_, QStringLiteral("cannot be locked (%1)").arg(systemError(err)));
    }
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = fd;
    serverName_ = ServerName(logPath_, true);
    // Tell later starts where this copy listens, whatever their environment. Written through a
    // second descriptor of the very same file.
    const int out = ::open(QFile::encodeName(lockPath_).constData(),
                           O_WRONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (out >= 0) {
        struct stat held {
        }, written{};
        if (::fstat(fd_, &held) == 0 && ::fstat(out, &written) == 0 &&
            held.st_dev == written.st_dev && held.st_ino == written.st_ino &&
            ::ftruncate(out, 0) == 0) {
            const QByteArray record = QFile::encodeName(serverName_) + '\n';
            (void)!::write(out, record.constData(), record.size());
        }
        ::close(out);
    }
    return true;
}

bool LinuxInstanceLock::TryLock(const QString& logPath) {
    // The log's folder may not be there yet (a first start with per-user folders).
    QDir().mkpath(QFileInfo(logPath).absolutePath());
    logPath_ = RealLogPath(logPath);
    lockPath_ = LockFilePath(logPath_);
    return lockOnce();
}

bool LinuxInstanceLock::WaitForLock(int timeoutMs) {
    if (lockPath_.isEmpty())
        return false;
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        if (lockOnce())
            return true;
        if (clock.elapsed() >= timeoutMs)
            return false;
        QThread::msleep(50);
    }
}

QString LinuxInstanceLock::nameToAsk() const {
    const int fd = ::open(QFile::encodeName(lockPath_).constData(),
                          O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd >= 0) {
        struct stat st {};
        char buffer[512];
        ssize_t n = -1;
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid())
            n = ::pread(fd, buffer, sizeof buffer, 0);
        ::close(fd);
        if (n > 0 && n < ssize_t(sizeof buffer) && buffer[n - 1] == '\n') {
            const QString recorded = QFile::decodeName(QByteArray(buffer, int(n - 1)));
            if (!recorded.contains(QLatin1Char('\n')) && TrustedSocket(recorded))
                return recorded;
        }
    }
    const QString own = ServerName(logPath_);
    return TrustedSocket(own) ? own : QString();
}

void LinuxInstanceLock::Listen(std::function<void()> onShow) {
    onShow_ = std::move(onShow);
    if (fd_ < 0 || thread_)
        return;
    thread_ = new QThread;
    thread_->setObjectName(QStringLiteral("wirevane-instance"));
    auto* listener = new Listener(
        serverName_,
        [this] {
            // Back to the GUI thread, whose event loop shows the window.
            QMetaObject::invokeMethod(
                this,
                [this] {
                    if (onShow_)
                        onShow_();
                },
                Qt::QueuedConnection);
        },
        !onQuit_ ? std::function<void()>()
                 : [this] {
                       // `wirevane --quit`: the GUI thread ends the program as a signal would.
                       QMetaObject::invokeMethod(
                           this,
                           [this] {
                               if (onQuit_)
                                   onQuit_();
                           },
                           Qt::QueuedConnection);
                   },
        [this] { return ending_.load() || (endingElsewhere_ && endingElsewhere_()); });
    listener->moveToThread(thread_);
    listener_ = listener;
    thread_->start();
    // Listening before this returns: a later start from now on is answered.
    QMetaObject::invokeMethod(
        listener, [listener] { listener->start(); }, Qt::BlockingQueuedConnection);
}

void LinuxInstanceLock::BeginEnding() {
    ending_ = true;
}

InstanceLock::Answer LinuxInstanceLock::AskToShow(int timeoutMs) {
    return Ask(kShow, timeoutMs);
}

InstanceLock::Answer LinuxInstanceLock::Ask(const QByteArray& word, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    const auto remaining = [&] { return int(std::max<qint64>(0, timeoutMs - clock.elapsed())); };
    const QByteArray request = word + '\n';
    while (remaining() > 0) {
        // Checked before every try: the running copy may not have written its name yet.
        const QString name = lockPath_.isEmpty() ? QString() : nameToAsk();
        QLocalSocket socket;
        if (!name.isEmpty())
            socket.connectToServer(name);
        if (!name.isEmpty() && socket.waitForConnected(remaining()) &&
            peerIsThisUser(socket.socketDescriptor())) {
            socket.write(request);
            socket.waitForBytesWritten(remaining());
            QByteArray reply = socket.readAll();
            while (!reply.contains('\n') && remaining() > 0 && socket.waitForReadyRead(remaining()))
                reply += socket.readAll();
            reply += socket.readAll();
            if (reply == kOk)
                return Answer::Shown;
            if (reply == kEnding)
                return Answer::Ending;
        }
        socket.abort();
        // Not listening yet (the copy is still starting) or busy: try again shortly.
        QThread::msleep(static_cast<unsigned long>(std::min(50, remaining())));
    }
    return Answer::NoAnswer;
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
    LinuxInstanceLock asker;
    asker.logPath_ = RealLogPath(logPath);
    asker.lockPath_ = LockFilePath(asker.logPath_);
    // Only looked at, never made: a log that never had a copy running has no lock file.
    const int fd = ::open(QFile::encodeName(asker.lockPath_).constData(),
                          O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0)
        return QuitResult::NotRunning;
    QuitResult result = QuitResult::NotRunning;
    if (heldElsewhere(fd)) {
        result = QuitResult::NoAnswer;
        // "ending": it is on its way out already; either way it has ended once the lock is free.
        if (asker.Ask(kQuit, answerTimeoutMs) != Answer::NoAnswer) {
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

} // namespace wv
