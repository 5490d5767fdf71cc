#pragma once

#include "platform/RunKeyStore.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace wv {

// The machine-wide Run key as the system-wide XDG autostart folder: the first absolute entry of
// $XDG_CONFIG_DIRS (or /etc/xdg when there is none) followed by "/autostart". A value is the file
// "<value name>.desktop" in that folder:
//
//   [Desktop Entry]
//   Type=Application
//   Name=<value name>
//   Exec=<the value's text as one quoted program path>
//
// "Creating the key" creates the folder; "opening" it needs the folder to exist. Writing needs
// the right to change that folder (root for /etc/xdg/autostart); any refusal is a false result.
class XdgAutostartStore final : public RunKeyStore {
public:
    // Takes the folder from $XDG_CONFIG_DIRS as it is now.
    XdgAutostartStore();
    // Uses `folder` as the autostart folder itself.
    explicit XdgAutostartStore(QString folder);

    const QString& Folder() const { return folder_; }
    // The autostart folder that $XDG_CONFIG_DIRS names now.
    static QString DefaultFolder();

    bool CreateKeyAndWrite(const std::string& valueName, const Block& block) override;
    bool OpenKeyAndDelete(const std::string& valueName) override;
    bool OpenKeyAndRead(const std::string& valueName, Block& buffer) override;
    void CloseKey() override;

    // True between a successful open and CloseKey().
    bool IsOpen() const { return open_; }

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

    QString folder_;
    bool open_ = false;
};

} // namespace wv
