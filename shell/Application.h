// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#pragma once

#include <QFont>
#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>

namespace wv {

// The program's icon by its resource name ("MAINICON", "OFFLINE", "ABOUT"), with every size the
// resources hold (32x32 and 16x16). Loaded once, the same icon after; an unknown name gives a null
// icon.
QIcon LoadIconResource(const QString& name);

// Puts the program's captions and messages, and Qt's own, into the desktop's language
// (QLocale::system()); English, with its plural forms, where no translation exists. Under the C
// locale numbers on screen are still grouped ("504,308"). Call once, after the application
// object exists.
void InstallTranslations();

// The layouts give some controls the least size they were drawn with; where the desktop's font
// needs more, the control's own minimum (its caption in full) wins.
void GrowMinimumsToFit(QWidget* root);

// Makes the program's Qt resources (icons, pictures) reachable; safe to call more than once.
void InitShellResources();

// The application object: title, icon, the main window, and minimizing the whole program with
// the notifications that the tray icon hooks into.
//
// Minimize() marks the application minimized and calls the minimize notification. A handler
// that takes the window into the notification area calls HideMainForm(); otherwise the main
// window is minimized to the taskbar, so the program always stays reachable. Restore() calls
// the restore notification (when minimized) and shows the main window in its normal state.
// The main window's own minimize button leads to Minimize() as well, and restoring the window
// from the taskbar to Restore(): the application watches the main window's state for that.
class TApplication : public QObject {
    Q_OBJECT
public:
    using Notification = std::function<void()>;

    explicit TApplication(QObject* parent = nullptr);
    ~TApplication() override;

    QString Title() const { return title_; }
    void SetTitle(const QString& title);

    QIcon Icon() const { return icon_; }
    void SetIcon(const QIcon& icon);

    QWidget* MainForm() const { return mainForm_; }
    void SetMainForm(QWidget* form);

    void Minimize();
    void Restore();
    bool IsMinimized() const { return minimized_; }

    // Brings the main window to the foreground (raise and activate) when it is shown.
    void BringToFront();

    // For minimize/restore handlers: hide the main window (no taskbar entry) / show it again
    // in its normal state.
    void HideMainForm();
    void ShowMainFormNormal();

    // The program ends only through its own close request. Qt would end the message loop by
    // itself when the last visible window closes while the main window is hidden (a box, About)
    // or when the platform asks it to quit (a session manager's "die"). Once a main form is set,
    // Qt's last-window rule is off and the application's quit events are filtered: one the
    // platform sends goes to the quit-request handler (the session's end), any other is dropped,
    // until AllowQuit() says the close request has run.
    void SetOnQuitRequest(Notification handler);
    void AllowQuit() { quitAllowed_ = true; }
    bool QuitAllowed() const { return quitAllowed_; }

    // Installing replaces the previous handler. Clear* removes a handler only when `owner`
    // installed it, so an object can uninstall itself without touching a later handler.
    void SetOnMinimize(Notification handler, const void* owner = nullptr);
    void SetOnRestore(Notification handler, const void* owner = nullptr);
    void ClearOnMinimize(const void* owner);
    void ClearOnRestore(const void* owner);
    bool HasOnMinimize() const { return static_cast<bool>(onMinimize_); }
    bool HasOnRestore() const { return static_cast<bool>(onRestore_); }
    const void* OnMinimizeOwner() const { return onMinimizeOwner_; }
    const void* OnRestoreOwner() const { return onRestoreOwner_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString title_;
    QIcon icon_;
    QPointer<QWidget> mainForm_;
    bool minimized_ = false;
    bool hiddenByHandler_ = false;
    int busy_ = 0; // inside Minimize/Restore: the window's state changes are our own
    bool filteringQuit_ = false;
    bool quitAllowed_ = false;
    Notification onQuitRequest_;
    Notification onMinimize_;
    Notification onRestore_;
    const void* onMinimizeOwner_ = nullptr;
    const void* onRestoreOwner_ = nullptr;
};

} // namespace wv
