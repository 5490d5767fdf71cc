#include "platform/linux/FreedesktopNotifier.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QSystemTrayIcon>
#include <QVariantMap>

namespace wv {

namespace {
const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
} // namespace

FreedesktopNotifier::FreedesktopNotifier(FallbackFn fallback, QObject* parent)
    : QObject(parent), fallback_(std::move(fallback)) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected()) {
        // Any sender: the service may start, stop or change hands while the program runs.
        connected_ = bus.connect(QString(), kPath, kInterface, QStringLiteral("ActionInvoked"),
                                 this, SLOT(onActionInvoked(uint, QString))) &&
                     bus.connect(QString(), kPath, kInterface, QStringLiteral("NotificationClosed"),
                                 this, SLOT(onNotificationClosed(uint, uint)));
    }
}

QSystemTrayIcon* FreedesktopNotifier::fallbackIcon() {
    QSystemTrayIcon* icon = fallback_ ? fallback_() : nullptr;
    if (icon && icon != watched_) {
        watched_ = icon;
        connect(icon, &QSystemTrayIcon::messageClicked, this, [this] { clicked(); });
    }
    return icon;
}

bool FreedesktopNotifier::serviceAvailable() const {
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface())
        return false;
    return bus.interface()->isServiceRegistered(kService).value();
}

bool FreedesktopNotifier::Notify(const QString& summary, const QString& body) {
    if (serviceAvailable()) {
        QDBusMessage call =
            QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Notify"));
        call << QStringLiteral("Wirevane") << uint(0) << QStringLiteral("network-wired") << summary
             << body << QStringList{QStringLiteral("default"), QStringLiteral("Show")}
             << QVariantMap{} << int(-1);
        // Asynchronous: a slow or hung service never stalls the monitor.
        auto* watcher =
            new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), this);
        connect(watcher, &QDBusPendingCallWatcher::finished, this,
                [this](QDBusPendingCallWatcher* w) {
                    const QDBusPendingReply<uint> reply = *w;
                    if (reply.isValid())
                        shown_.insert(reply.value());
                    w->deleteLater();
                });
        return true;
    }
    QSystemTrayIcon* icon = fallbackIcon();
    if (icon && icon->isVisible() && QSystemTrayIcon::supportsMessages()) {
        icon->showMessage(summary, body, QSystemTrayIcon::Information);
        return true;
    }
    return false;
}

void FreedesktopNotifier::onActionInvoked(uint id, const QString& /*action*/) {
    if (shown_.contains(id))
        clicked();
}

void FreedesktopNotifier::onNotificationClosed(uint id, uint /*reason*/) {
    shown_.remove(id);
}

void FreedesktopNotifier::clicked() {
    if (OnClicked)
        OnClicked();
}

} // namespace wv
