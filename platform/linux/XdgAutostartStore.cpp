#include "platform/linux/XdgAutostartStore.h"
#include "platform/IniFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
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

// The text of a stored value: the block's bytes up to its first zero byte.
QByteArray blockText(const RunKeyStore::Block& block) {
    const auto end = std::find(block.begin(), block.end(), '\0');
    return QByteArray(block.data(), static_cast<qsizetype>(end - block.begin()));
}

// The raw Exec= value of the [Desktop Entry] group, if any.
std::optional<QByteArray> execValue(const QByteArray& content) {
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
        if (eq < 0 || line.left(eq).trimmed() != "Exec")
            continue;
        QByteArray value = line.mid(eq + 1);
        while (!value.isEmpty() && (value[0] == ' ' || value[0] == '\t'))
            value.remove(0, 1);
        return value;
    }
    return std::nullopt;
}

} // namespace

XdgAutostartStore::XdgAutostartStore() : folder_(DefaultFolder()) {}

XdgAutostartStore::XdgAutostartStore(QString folder) : folder_(std::move(folder)) {}

QString XdgAutostartStore::DefaultFolder() {
    const QString dirs = qEnvironmentVariable("XDG_CONFIG_DIRS");
    QString base = QStringLiteral("/etc/xdg");
    // Relative entries are not valid there and are skipped.
    for (const QString& entry : dirs.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        if (entry.startsWith(QLatin1Char('/'))) {
            base = entry;
            break;
        }
    }
    while (base.size() > 1 && base.endsWith(QLatin1Char('/')))
        base.chop(1);
    return base + QStringLiteral("/autostart");
}

QString XdgAutostartStore::entryPath(const std::string& valueName) const {
    return folder_ + QLatin1Char('/') + QString::fromStdString(valueName) +
           QStringLiteral(".desktop");
}

bool XdgAutostartStore::CreateKeyAndWrite(const std::string& valueName, const Block& block) {
    const bool existed = QFileInfo(folder_).isDir();
    if (!existed && !QDir().mkpath(folder_))
        return false;
    if (!QFileInfo(folder_).isDir())
        return false;
    // Every user's session reads the entry, whatever umask the writer has.
    if (!existed)
        ::chmod(QFile::encodeName(folder_).constData(), 0755);
    open_ = true;
    if (!validValueName(valueName))
        return false;
    const QByteArray name = escapeString(QByteArray::fromStdString(valueName));
    const QByteArray content = "[Desktop Entry]\nType=Application\nName=" + name +
                               "\nExec=" + EncodeExec(blockText(block)) + "\n";
    return replaceFileAtomically(entryPath(valueName), content, nullptr, 0644);
}

bool XdgAutostartStore::OpenKeyAndDelete(const std::string& valueName) {
    if (!QFileInfo(folder_).isDir())
        return false;
    open_ = true;
    if (!validValueName(valueName))
        return false;
    return ::unlink(QFile::encodeName(entryPath(valueName)).constData()) == 0;
}

bool XdgAutostartStore::OpenKeyAndRead(const std::string& valueName, Block& buffer) {
    if (!QFileInfo(folder_).isDir())
        return false;
    open_ = true;
    if (!validValueName(valueName))
        return false;
    const QString entry = entryPath(valueName);
    if (!QFileInfo(entry).isFile())
        return false;
    QFile file(entry);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray content = file.read(MaxEntryBytes + 1);
    if (content.size() > MaxEntryBytes)
        return false;
    const std::optional<QByteArray> exec = execValue(content);
    if (!exec)
        return false;
    const std::optional<QByteArray> path = DecodeExec(*exec);
    if (!path || static_cast<std::size_t>(path->size()) + 1 > buffer.size())
        return false;
    buffer.fill('\0');
    std::memcpy(buffer.data(), path->constData(), static_cast<std::size_t>(path->size()));
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
