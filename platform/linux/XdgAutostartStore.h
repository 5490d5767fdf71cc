// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#pragma once

#include "platform/RunKeyStore.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace wv {

// The Run key as the user's XDG autostart folder, $XDG_CONFIG_HOME/autostart (default
// ~/.config/autostart), with the system-wide folders of $XDG_CONFIG_DIRS (default /etc/xdg)
// behind it. A value is the file "<value name>.desktop":
//
//   [Desktop Entry]
//   Type=Application
//   Name=<value name>
//   Exec=<the value's text as one quoted program path>
//   Icon=, Terminal=false and the keys that make the desktops start it after their panel
//
// The value is set when the user's entry exists and does not say Hidden=true (nor
// X-GNOME-Autostart-enabled=false), or when there is no user entry and a system folder holds
// one. Deleting removes the user's entry and, when a system entry would still start the
// program, writes a user entry with Hidden=true in its place. Only the user's folder is ever
// written; folders made for it get mode 0700.
class XdgAutostartStore final : public RunKeyStore {
public:
    // Takes the folders from $XDG_CONFIG_HOME, $HOME and $XDG_CONFIG_DIRS as they are now (a HOME
    // that is unset or relative gives way to the home folder of the user database).
    XdgAutostartStore();
    // Uses `folder` as the user's autostart folder and `systemFolders` (most important first)
    // as the system-wide ones.
    explicit XdgAutostartStore(QString folder, QStringList systemFolders = {});

    const QString& Folder() const { return folder_; }
    const QStringList& SystemFolders() const { return systemFolders_; }
    // The user's autostart folder and the system-wide ones that the environment names now; the
    // user's is empty when no home folder can be told (then nothing is written).
    static QString DefaultFolder();
    static QStringList DefaultSystemFolders();

    bool CreateKeyAndWrite(const std::string& valueName, const std::string& text) override;
    bool OpenKeyAndDelete(const std::string& valueName) override;
    bool OpenKeyAndRead(const std::string& valueName, std::string& text) override;
    void CloseKey() override;
    std::string LastError() const override { return lastError_.toStdString(); }

    // True between a successful open and CloseKey().
    bool IsOpen() const { return open_; }

    // The Icon= of the entries: the installed icon's name.
    static constexpr const char* IconName = "io.github.wirevane.Wirevane";

    // The Exec= value that runs the program at `path` with no arguments: the path in double
    // quotes, with '"', '`', '$' and '\' escaped by a backslash and '%' doubled, and then the
    // string escapes of the desktop entry format applied to the whole (a backslash doubled; tab,
    // line feed and carriage return as \t, \n, \r).
    static QByteArray EncodeExec(const QByteArray& path);
    // The program path of an Exec= value as written in the file: the string escapes undone
    // (\s, \n, \t, \r, \\), then the first argument unquoted and "%%" turned into "%". Nothing
    // when there is no program or a quote is not closed.
    static std::optional<QByteArray> DecodeExec(const QByteArray& value);

private:
    QString entryPath(const std::string& valueName) const;
    // The first system entry of that name, or an empty text.
    QString systemEntry(const std::string& valueName) const;
    bool makeFolder();
    bool writeEntry(const std::string& valueName, const QByteArray& content);

    QString folder_;
    QStringList systemFolders_;
    QString lastError_;
    bool open_ = false;
};

} // namespace wv
