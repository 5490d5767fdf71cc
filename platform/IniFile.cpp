// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#include "platform/IniFile.h"
#include "base/Bytes.h"

#include "table/FileIO.h"

#include <QFile>
#include <QHash>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace wv {

namespace {

QString errnoText(int err) {
    return QString::fromLocal8Bit(std::strerror(err));
}

void setError(QString* errorText, const QString& text) {
    if (errorText)
        *errorText = text;
}

// Reads the whole file. Returns nothing when the file does not exist (also when a folder on its
// path is missing or is not a folder); raises EIniError when it exists but cannot be read.
std::optional<QByteArray> readWholeFile(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        const int err = errno;
        if (err == ENOENT || err == ENOTDIR)
            return std::nullopt;
        throw EIniError(("Cannot open settings file " + path + ": " + errnoText(err))
                            .toLocal8Bit()
                            .toStdString());
    }
    QByteArray data;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int err = errno;
            ::close(fd);
            throw EIniError(("Cannot read settings file " + path + ": " + errnoText(err))
                                .toLocal8Bit()
                                .toStdString());
        }
        if (n == 0)
            break;
        data.append(buffer, n);
    }
    ::close(fd);
    return data;
}

struct Line {
    QByteArray text; // without its line end
    QByteArray eol;  // "\r\n", "\n" or empty for a last line without a line end
};

std::vector<Line> splitLines(const QByteArray& data) {
    std::vector<Line> lines;
    qsizetype start = 0;
    while (start < data.size()) {
        const qsizetype nl = data.indexOf('\n', start);
        if (nl < 0) {
            lines.push_back({data.mid(start), QByteArray()});
            break;
        }
        qsizetype end = nl;
        QByteArray eol("\n");
        if (end > start && data[end - 1] == '\r') {
            --end;
            eol = "\r\n";
        }
        lines.push_back({data.mid(start, end - start), eol});
        start = nl + 1;
    }
    return lines;
}

QByteArray joinLines(const std::vector<Line>& lines) {
    QByteArray out;
    for (const Line& l : lines) {
        out += l.text;
        out += l.eol;
    }
    return out;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

QByteArray trimBlanks(const QByteArray& s) {
    qsizetype b = 0;
    qsizetype e = s.size();
    while (b < e && isBlank(s[b]))
        ++b;
    while (e > b && isBlank(s[e - 1]))
        --e;
    return s.mid(b, e - b);
}

enum class Kind { Other, Comment, Section, Key };

struct Parsed {
    Kind kind = Kind::Other;
    QByteArray name;  // section or key name, trimmed
    QByteArray value; // key value, trimmed
    qsizetype eq = -1;
};

Parsed parseLine(const QByteArray& text) {
    Parsed p;
    const QByteArray t = trimBlanks(text);
    if (t.isEmpty())
        return p;
    if (t[0] == ';' || t[0] == '#') {
        p.kind = Kind::Comment;
        return p;
    }
    if (t[0] == '[') {
        // A header without its closing bracket still starts a section, so that the keys below
        // it never count as keys of the section above.
        const qsizetype close = t.indexOf(']');
        p.kind = Kind::Section;
        p.name = trimBlanks(close < 0 ? t.mid(1) : t.mid(1, close - 1));
        return p;
    }
    const qsizetype eq = text.indexOf('=');
    if (eq < 0)
        return p;
    p.kind = Kind::Key;
    p.eq = eq;
    p.name = trimBlanks(text.left(eq));
    p.value = trimBlanks(text.mid(eq + 1));
    return p;
}

bool sameName(const QByteArray& fileName, const QString& wanted) {
    return QString::fromUtf8(fileName).compare(wanted, Qt::CaseInsensitive) == 0;
}

// Index of the first header line of `section`, or -1.
qsizetype findSection(const std::vector<Line>& lines, const QString& section) {
    for (size_t i = 0; i < lines.size(); ++i) {
        const Parsed p = parseLine(lines[i].text);
        if (p.kind == Kind::Section && sameName(p.name, section))
            return static_cast<qsizetype>(i);
    }
    return -1;
}

std::optional<int> parseInteger(const QByteArray& s) {
    qsizetype i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    int base = 10;
    if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= s.size())
        return std::nullopt;
    const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    long long value = 0;
    for (; i < s.size(); ++i) {
        const char c = s[i];
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return std::nullopt;
        value = value * base + digit;
        if (value > limit)
            return std::nullopt;
    }
    return static_cast<int>(negative ? -value : value);
}

bool hasLineBreakOrNul(const QByteArray& s) {
    return s.contains('\n') || s.contains('\r') || s.contains('\0');
}

void checkNames(const QByteArray& section, const QByteArray& key, const QByteArray& value) {
    if (section.isEmpty() || section.contains(']') || hasLineBreakOrNul(section))
        throw EIniError("Invalid section name in settings file: '" + section.toStdString() + "'");
    if (key.isEmpty() || key.contains('=') || key[0] == '[' || key[0] == ';' || key[0] == '#' ||
        isBlank(key[0]) || isBlank(key[key.size() - 1]) || hasLineBreakOrNul(key))
        throw EIniError("Invalid key name in settings file: '" + key.toStdString() + "'");
    if (hasLineBreakOrNul(value))
        throw EIniError("Invalid value for key '" + key.toStdString() + "' in settings file");
}

} // namespace

bool replaceFileAtomically(const QString& path, const QByteArray& data, QString* errorText,
                           int wantedMode) {
    if (path.isEmpty()) {
        setError(errorText, QStringLiteral("empty file name"));
        return false;
    }
    try {
        TAtomicFileWriter writer(QFile::encodeName(path).toStdString(), wantedMode);
        writer.write(std::string_view(data.constData(), static_cast<size_t>(data.size())));
        // No folder sync: the data is on disk before the rename, so after a crash the name
        // shows either the old or the new content; a folder sync per key would cost ten times
        // as much.
        writer.commit(false);
        return true;
    } catch (const std::exception& e) {
        setError(errorText, QString::fromLocal8Bit(e.what()));
        return false;
    }
}

IniFile::IniFile(QString path) : path_(std::move(path)) {}

QString IniFile::ReadString(const QString& section, const QString& key, const QString& def) const {
    return IniSection(path_, section).ReadString(key, def);
}

int IniFile::ReadInteger(const QString& section, const QString& key, int def) const {
    return IniSection(path_, section).ReadInteger(key, def);
}

bool IniFile::ReadBool(const QString& section, const QString& key, bool def) const {
    return IniSection(path_, section).ReadBool(key, def);
}

void IniFile::WriteString(const QString& section, const QString& key, const QString& value) {
    IniSection update(path_, section);
    update.WriteString(key, value);
    update.Commit();
}

void IniFile::WriteInteger(const QString& section, const QString& key, int value) {
    WriteString(section, key, QString::number(value));
}

void IniFile::WriteBool(const QString& section, const QString& key, bool value) {
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

struct IniSection::Impl {
    QString section;
    QByteArray sec;
    std::vector<Line> lines;
    QByteArray eol = "\n";
    qsizetype header = -1;      // the section's first header line, -1 while it is missing
    qsizetype lastContent = -1; // the section's last non-blank line; new keys go after it
    std::vector<Line> added;    // new keys, in the order written
    // Key name (case-folded) -> its first line: an index into `lines`, or -(k + 1) for added[k].
    QHash<QString, qsizetype> keys;
    bool changed = false;
    std::optional<std::string> refused;

    Line& lineOf(qsizetype ref) {
        return ref >= 0 ? lines[static_cast<size_t>(ref)] : added[static_cast<size_t>(-ref - 1)];
    }

    // Indexes the keys of the section that starts at `header`.
    void indexSection() {
        lastContent = header;
        for (size_t i = static_cast<size_t>(header) + 1; i < lines.size(); ++i) {
            const Parsed p = parseLine(lines[i].text);
            if (p.kind == Kind::Section)
                break;
            if (p.kind == Kind::Key) {
                // The first of keys with the same name is the one read and written.
                const QString folded = QString::fromUtf8(p.name).toCaseFolded();
                if (!keys.contains(folded))
                    keys.insert(folded, static_cast<qsizetype>(i));
            }
            if (!trimBlanks(lines[i].text).isEmpty())
                lastContent = static_cast<qsizetype>(i);
        }
    }

    void write(const QByteArray& k, const QByteArray& v) {
        const QString folded = QString::fromUtf8(k).toCaseFolded();
        const auto it = keys.constFind(folded);
        if (it != keys.constEnd()) {
            // Keep the key as the file spells it (and its indentation); replace the value.
            Line& line = lineOf(*it);
            QByteArray left = line.text.left(line.text.indexOf('='));
            while (!left.isEmpty() && isBlank(left[left.size() - 1]))
                left.chop(1);
            line.text = left + "=" + v;
        } else if (header >= 0) {
            if (added.empty() && lines[static_cast<size_t>(lastContent)].eol.isEmpty())
                lines[static_cast<size_t>(lastContent)].eol = eol;
            added.push_back(Line{k + "=" + v, eol});
            keys.insert(folded, -static_cast<qsizetype>(added.size()));
        } else {
            // A missing section is added at the end, after a blank line.
            if (!lines.empty()) {
                if (lines.back().eol.isEmpty())
                    lines.back().eol = eol;
                if (!trimBlanks(lines.back().text).isEmpty())
                    lines.push_back(Line{QByteArray(), eol});
            }
            lines.push_back(Line{"[" + sec + "]", eol});
            lines.push_back(Line{k + "=" + v, eol});
            header = static_cast<qsizetype>(lines.size()) - 2;
            lastContent = header + 1;
            keys.insert(folded, lastContent);
        }
        changed = true;
    }

    QByteArray join() const {
        if (added.empty())
            return joinLines(lines);
        std::vector<Line> all;
        all.reserve(lines.size() + added.size());
        const auto split = lines.begin() + lastContent + 1;
        all.insert(all.end(), lines.begin(), split);
        all.insert(all.end(), added.begin(), added.end());
        all.insert(all.end(), split, lines.end());
        return joinLines(all);
    }
};

IniSection::IniSection(QString path, const QString& section)
    : path_(std::move(path)), d_(std::make_unique<Impl>()) {
    d_->section = section;
    d_->sec = section.toUtf8();
    const std::optional<QByteArray> data = readWholeFile(path_);
    if (data)
        d_->lines = splitLines(*data);
    for (const Line& l : d_->lines) {
        if (!l.eol.isEmpty()) {
            d_->eol = l.eol;
            break;
        }
    }
    d_->header = findSection(d_->lines, section);
    if (d_->header >= 0)
        d_->indexSection();
}

IniSection::~IniSection() = default;

QString IniSection::ReadString(const QString& key, const QString& def) const {
    const auto it = d_->keys.constFind(key.toCaseFolded());
    if (it == d_->keys.constEnd())
        return def;
    const Line& line = d_->lineOf(*it);
    QByteArray v = trimBlanks(line.text.mid(line.text.indexOf('=') + 1));
    if (v.size() >= 2 && (v[0] == '"' || v[0] == '\'') && v[v.size() - 1] == v[0])
        v = v.mid(1, v.size() - 2);
    return QString::fromUtf8(CutUtf8(v, IniFile::MaxValueBytes));
}

int IniSection::ReadInteger(const QString& key, int def) const {
    return parseInteger(ReadString(key, QString()).toUtf8()).value_or(def);
}

bool IniSection::ReadBool(const QString& key, bool def) const {
    return ReadInteger(key, def ? 1 : 0) != 0;
}

void IniSection::WriteString(const QString& key, const QString& value) {
    if (d_->refused)
        return;
    const QByteArray k = key.toUtf8();
    const QByteArray v = value.toUtf8();
    try {
        checkNames(d_->sec, k, v);
    } catch (const EIniError& e) {
        d_->refused = e.what();
        return;
    }
    d_->write(k, v);
}

void IniSection::WriteInteger(const QString& key, int value) {
    WriteString(key, QString::number(value));
}

void IniSection::WriteBool(const QString& key, bool value) {
    WriteString(key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void IniSection::Commit() {
    if (d_->changed) {
        QString error;
        if (!replaceFileAtomically(path_, d_->join(), &error))
            throw EIniError(
                ("Cannot write settings file " + path_ + ": " + error).toLocal8Bit().toStdString());
        d_->changed = false;
    }
    if (d_->refused)
        throw EIniError(*d_->refused);
}

} // namespace wv
