// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#include "platform/linux/XdgAutostartStore.h"
#include "platform/IniFile.h"
#include "platform/linux/XdgFileLocations.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace wv {

namespace {

constexpr qint64 MaxEntryBytes = 1 << 20; // an autostart entry is a few lines

// The string escapes of the desktop entry format.
QByteArray escapeString(const QByteArray& s) {
    QByteArray out;
    out.reserve(s.size());
    for (const char c : s) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
    return out;
}

QByteArray unescapeString(const QByteArray& s) {
    QByteArray out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c != '\\' || i + 1 >= s.size()) {
            out += c;
            continue;
        }
        const char next = s[i + 1];
        switch (next) {
        case 's':
            out += ' ';
            break;
        case 'n':
            out += '\n';
            break;
        case 't':
            out += '\t';
            break;
        case 'r':
            out += '\r';
            break;
        case '\\':
            out += '\\';
            break;
        default:
            // Not a string escape: leave it for the command-line quoting to read.
            out += c;
            out += next;
            break;
        }
        ++i;
    }
    return out;
}

// Characters that take a backslash inside a quoted argument.
bool quotedEscape(char c) {
    return c == '"' || c == '`' || c == '$' || c == '\\';
}

bool validValueName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string("/\0", 2)) == std::string::npos;
}

// The raw value of `key` in the [Desktop Entry] group, if any.
std::optional<QByteArray> entryValue(const QByteArray& content, const QByteArray& key) {
    bool inGroup = false;
    for (QByteArray line : content.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.startsWith('[')) {
            inGroup = line.trimmed() == "[Desktop Entry]";
            continue;
        }
        if (!inGroup || line.startsWith('#'))
            continue;
        const qsizetype eq = line.indexOf('=');
        if (eq < 0 || line.left(eq).trimmed() != key)
            continue;
        QByteArray value = line.mid(eq + 1);
        while (!value.isEmpty() && (value[0] == ' ' || value[0] == '\t'))
            value.remove(0, 1);
        return value.trimmed();
    }
    return std::nullopt;
}

std::optional<QByteArray> readEntry(const QString& path) {
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray content = file.read(MaxEntryBytes + 1);
    if (content.size() > MaxEntryBytes)
        return std::nullopt;
    return content;
}

// Whether an entry that exists keeps the program from starting.
bool switchedOff(const QByteArray& content) {
    return entryValue(content, "Hidden").value_or("") == "true" ||
           entryValue(content, "X-GNOME-Autostart-enabled").value_or("") == "false";
}

QString systemError(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// An XDG base folder list entry counts only when it is absolute.
QString cleanFolder(QString folder) {
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    return folder;
}

} // namespace

XdgAutostartStore::XdgAutostartStore()
    : folder_(DefaultFolder()), systemFolders_(DefaultSystemFolders()) {}

XdgAutostartStore::XdgAutostartStore(QString folder, QStringList systemFolders)
    : folder_(std::move(folder)), systemFolders_(std::move(systemFolders)) {}

QString XdgAutostartStore::DefaultFolder() {
    const QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.startsWith(QLatin1Char('/')))
        return cleanFolder(config) + QStringLiteral("/autostart");
    const QString home = XdgFileLocations::UserHome();
    return home.isEmpty() ? QString() : cleanFolder(home) + QStringLiteral("/.config/autostart");
}

QStringList XdgAutostartStore::DefaultSystemFolders() {
    QStringList folders;
    // Relative entries are not valid there and are skipped.
    for (const QString& entry :
         qEnvironmentVariable("XDG_CONFIG_DIRS").split(QLatin1Char(':'), Qt::SkipEmptyParts))
        if (entry.startsWith(QLatin1Char('/')))
            folders << cleanFolder(entry) + QStringLiteral("/autostart");
    if (folders.isEmpty())
        folders << QStringLiteral("/etc/xdg/autostart");
    return folders;
}

QString XdgAutostartStore::entryPath(const std::string& valueName) const {
    if (!folder_.startsWith(QLatin1Char('/')))
        return QString(); // no user folder: no user entry
    return folder_ + QLatin1Char('/') + QString::fromStdString(valueName) +
           QStringLiteral(".desktop");
}

QString XdgAutostartStore::systemEntry(const std::string& valueName) const {
    const QString file = QString::fromStdString(valueName) + QStringLiteral(".desktop");
    for (const QString& folder : systemFolders_) {
        const QString path = folder + QLatin1Char('/') + file;
        if (QFileInfo(path).isFile())
            return path;
    }
    return QString();
}

bool XdgAutostartStore::makeFolder() {
    // Never a folder relative to wherever the program was started, nor at the root.
    if (!folder_.startsWith(QLatin1Char('/'))) {
        lastError_ = QStringLiteral("the autostart folder is unknown (no home folder)");
        return false;
    }
    // Every missing folder on the way is the user's own: mode 0700.
    QString current;
    for (const QString& part : folder_.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        current += QLatin1Char('/') + part;
        const QByteArray native = QFile::encodeName(current);
        if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST) {
            lastError_ = QStringLiteral("the folder %1 cannot be created (%2)")
                             .arg(current, systemError(errno));
            return false;
        }
    }
    if (!QFileInfo(folder_).isDir()) {
        lastError_ = QStringLiteral("%1 is not a folder").arg(folder_);
        return false;
    }
    return true;
}

bool XdgAutostartStore::writeEntry(const std::string& valueName, const QByteArray& content) {
    if (!makeFolder())
        return false;
    open_ = true;
    QString why;
    if (!replaceFileAtomically(entryPath(valueName), content, &why, 0644)) {
        lastError_ =
            QStringLiteral("the file %1 cannot be written (%2)").arg(entryPath(valueName), why);
        return false;
    }
    return true;
}

bool XdgAutostartStore::CreateKeyAndWrite(const std::string& valueName, const std::string& text) {
    lastError_.clear();
    if (!validValueName(valueName)) {
        lastError_ = QStringLiteral("the name is not valid");
        return false;
    }
    const QByteArray name = escapeString(QByteArray::fromStdString(valueName));
    const QByteArray content = "[Desktop Entry]\nType=Application\nName=" + name +
                               "\nExec=" + EncodeExec(QByteArray::fromStdString(text)) +
                               "\nIcon=" + IconName +
                               "\nTerminal=false\n"
                               "X-GNOME-Autostart-enabled=true\n"
                               "X-GNOME-Autostart-Delay=3\n"
                               "X-KDE-autostart-after=panel\n"
                               "X-LXQt-Need-Tray=true\n";
    return writeEntry(valueName, content);
}

bool XdgAutostartStore::OpenKeyAndDelete(const std::string& valueName) {
    lastError_.clear();
    if (!validValueName(valueName))
        return false;
    const QString entry = entryPath(valueName);
    const bool hadUserEntry = QFileInfo::exists(entry) || QFileInfo(entry).isSymLink();
    if (hadUserEntry) {
        open_ = true;
        if (::unlink(QFile::encodeName(entry).constData()) != 0) {
            lastError_ =
                QStringLiteral("the file %1 cannot be removed (%2)").arg(entry, systemError(errno));
            return false;
        }
    }
    // A system-wide entry would still start the program: the user's entry overrides it.
    const QString system = systemEntry(valueName);
    const std::optional<QByteArray> systemContent =
        system.isEmpty() ? std::nullopt : readEntry(system);
    if (!system.isEmpty() && !(systemContent && switchedOff(*systemContent))) {
        const QByteArray name = escapeString(QByteArray::fromStdString(valueName));
        const QByteArray exec =
            systemContent ? entryValue(*systemContent, "Exec").value_or("") : QByteArray();
        return writeEntry(valueName, "[Desktop Entry]\nType=Application\nName=" + name + "\nExec=" +
                                         (exec.isEmpty() ? name : exec) + "\nHidden=true\n");
    }
    return hadUserEntry;
}

bool XdgAutostartStore::OpenKeyAndRead(const std::string& valueName, std::string& text) {
    if (!validValueName(valueName))
        return false;
    const QString entry = entryPath(valueName);
    std::optional<QByteArray> content;
    if (QFileInfo::exists(entry)) {
        open_ = true;
        content = readEntry(entry);
    } else {
        const QString system = systemEntry(valueName);
        if (system.isEmpty())
            return false;
        open_ = true;
        content = readEntry(system);
    }
    if (!content || switchedOff(*content))
        return false;
    const std::optional<QByteArray> exec = entryValue(*content, "Exec");
    if (!exec)
        return false;
    const std::optional<QByteArray> path = DecodeExec(*exec);
    if (!path)
        return false;
    text = path->toStdString();
    return true;
}

void XdgAutostartStore::CloseKey() {
    open_ = false;
}

QByteArray XdgAutostartStore::EncodeExec(const QByteArray& path) {
    QByteArray quoted("\"");
    for (const char c : path) {
        if (quotedEscape(c))
            quoted += '\\';
        else if (c == '%')
            quoted += '%';
        quoted += c;
    }
    quoted += '"';
    return escapeString(quoted);
}

std::optional<QByteArray> XdgAutostartStore::DecodeExec(const QByteArray& value) {
    const QByteArray line = unescapeString(value);
    qsizetype i = 0;
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
        ++i;
    QByteArray arg;
    if (i < line.size() && line[i] == '"') {
        bool closed = false;
        for (++i; i < line.size(); ++i) {
            const char c = line[i];
            if (c == '"') {
                closed = true;
                break;
            }
            if (c == '\\' && i + 1 < line.size() && quotedEscape(line[i + 1])) {
                arg += line[++i];
                continue;
            }
            arg += c;
        }
        if (!closed)
            return std::nullopt;
    } else {
        while (i < line.size() && line[i] != ' ' && line[i] != '\t')
            arg += line[i++];
    }
    arg.replace("%%", "%");
    if (arg.isEmpty())
        return std::nullopt;
    return arg;
}

} // namespace wv
