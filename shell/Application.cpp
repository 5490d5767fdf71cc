// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#include "shell/Application.h"

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QHash>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <QWidget>

// Q_INIT_RESOURCE must be used outside any namespace.
static void initWirevaneResources() {
    Q_INIT_RESOURCE(wirevane);
}

namespace wv {

void InstallTranslations() {
    const QLocale locale = QLocale::system();
    if (locale.language() == QLocale::C) {
        QLocale plain = QLocale::c();
        plain.setNumberOptions(QLocale::DefaultNumberOptions);
        QLocale::setDefault(plain);
    }
    auto* qt = new QTranslator(qApp);
    if (qt->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt);
    auto* own = new QTranslator(qApp);
    if (own->load(locale, QStringLiteral("wirevane"), QStringLiteral("_"),
                  QStringLiteral(":/i18n")) ||
        own->load(QStringLiteral(":/i18n/wirevane_en.qm")))
        QCoreApplication::installTranslator(own);
}

void GrowMinimumsToFit(QWidget* root) {
    for (QWidget* w : root->findChildren<QWidget*>()) {
        const QSize drawn = w->minimumSize();
        if (drawn.isNull() || w->isWindow())
            continue;
        const QSize need = drawn.expandedTo(w->minimumSizeHint());
        w->setMaximumSize(w->maximumSize().expandedTo(need));
        w->setMinimumSize(need);
    }
}

void InitShellResources() {
    static const bool done = (initWirevaneResources(), true);
    (void)done;
}

QIcon LoadIconResource(const QString& name) {
    // Made once per name and shared after: the status changes the icons all the time, and a new
    // icon each time would leave a new set of cached pictures behind each time.
    // Kept to the end of the process: pictures may not go after the application object.
    static auto* const made = new QHash<QString, QIcon>;
    if (const auto it = made->constFind(name); it != made->constEnd())
        return *it;
    InitShellResources();
    QIcon icon;
    for (const int size : {32, 16}) {
        const QString path = QStringLiteral(":/icons/%1-%2.png").arg(name).arg(size);
        if (QFile::exists(path))
            icon.addFile(path, QSize(size, size));
    }
    made->insert(name, icon);
    return icon;
}

TApplication::TApplication(QObject* parent) : QObject(parent) {}

TApplication::~TApplication() {
    if (mainForm_)
        mainForm_->removeEventFilter(this);
}

void TApplication::SetTitle(const QString& title) {
    title_ = title;
    // The application name titles message boxes. The display name stays unset: Qt would append
    // it to every window caption ("Help - Wirevane").
    QApplication::setApplicationName(title);
}

void TApplication::SetIcon(const QIcon& icon) {
    icon_ = icon;
    QApplication::setWindowIcon(icon);
    if (mainForm_)
        mainForm_->setWindowIcon(icon);
}

void TApplication::SetMainForm(QWidget* form) {
    if (mainForm_)
        mainForm_->removeEventFilter(this);
    mainForm_ = form;
    if (form) {
        QGuiApplication::setQuitOnLastWindowClosed(false);
        if (!filteringQuit_ && QCoreApplication::instance()) {
            QCoreApplication::instance()->installEventFilter(this);
            filteringQuit_ = true;
        }
        form->installEventFilter(this);
        if (!icon_.isNull())
            form->setWindowIcon(icon_);
    }
}

void TApplication::Minimize() {
    ++busy_;
    minimized_ = true;
    hiddenByHandler_ = false;
    if (onMinimize_) {
        // Keep the handler alive while it runs, even if it installs another one.
        const Notification handler = onMinimize_;
        handler();
    }
    if (mainForm_ && !hiddenByHandler_)
        mainForm_->showMinimized();
    --busy_;
}

void TApplication::Restore() {
    ++busy_;
    const bool wasMinimized = minimized_;
    minimized_ = false;
    if (wasMinimized && onRestore_) {
        const Notification handler = onRestore_;
        handler();
    }
    ShowMainFormNormal();
    --busy_;
}

void TApplication::BringToFront() {
    if (mainForm_ && mainForm_->isVisible()) {
        mainForm_->raise();
        mainForm_->activateWindow();
    }
}

void TApplication::HideMainForm() {
    hiddenByHandler_ = true;
    if (mainForm_)
        mainForm_->hide();
}

void TApplication::ShowMainFormNormal() {
    if (!mainForm_)
        return;
    ++busy_;
    // A Wayland client can neither raise nor un-minimize its window, and is not told when the
    // compositor hides it; a window that is not the active one is mapped anew, the one request
    // every compositor honours, so showing it from the tray always brings it back.
    if (mainForm_->isVisible() && !mainForm_->isActiveWindow() &&
        QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        mainForm_->hide();
    mainForm_->setWindowState(mainForm_->windowState() & ~Qt::WindowMinimized);
    mainForm_->show();
    --busy_;
}

void TApplication::SetOnQuitRequest(Notification handler) {
    onQuitRequest_ = std::move(handler);
}

void TApplication::SetOnMinimize(Notification handler, const void* owner) {
    onMinimize_ = std::move(handler);
    onMinimizeOwner_ = owner;
}

void TApplication::SetOnRestore(Notification handler, const void* owner) {
    onRestore_ = std::move(handler);
    onRestoreOwner_ = owner;
}

void TApplication::ClearOnMinimize(const void* owner) {
    if (onMinimizeOwner_ != owner)
        return;
    onMinimize_ = nullptr;
    onMinimizeOwner_ = nullptr;
}

void TApplication::ClearOnRestore(const void* owner) {
    if (onRestoreOwner_ != owner)
        return;
    onRestore_ = nullptr;
    onRestoreOwner_ = nullptr;
}

bool TApplication::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Quit && watched == QCoreApplication::instance() && mainForm_ &&
        !quitAllowed_) {
        // Qt's own quit after the last window closed is posted; a quit the platform asks for
        // arrives as a spontaneous event. Only the latter may end the program, and only through
        // the close request the handler runs.
        event->ignore();
        if (event->spontaneous() && onQuitRequest_) {
            const Notification handler = onQuitRequest_;
            handler();
        }
        return true;
    }
    if (watched == mainForm_ && event->type() == QEvent::WindowStateChange && busy_ == 0) {
        const bool nowMinimized = mainForm_->windowState() & Qt::WindowMinimized;
        if (nowMinimized && !minimized_)
            Minimize(); // the window's minimize button: minimize the whole application
        else if (!nowMinimized && minimized_ && mainForm_->isVisible())
            Restore(); // restored from the taskbar
    }
    return QObject::eventFilter(watched, event);
}

} // namespace wv
