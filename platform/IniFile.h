// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#pragma once

#include "table/Errors.h"

#include <QByteArray>
#include <QString>

#include <memory>

namespace wv {

// A settings file that could not be read or written, or a name or value that cannot be stored.
class EIniError : public EFileError {
public:
    using EFileError::EFileError;
};

// Replaces the file at `path` with `data` so that a crash, a kill or a full disk leaves either the
// old or the new content, never a mix: the bytes go to a temporary file in the same folder, which
// is flushed to disk and then renamed over the old file. A symbolic link is followed, so the file
// it points at is replaced and the link stays. The file gets the permission bits `mode` when it is
// 0 or more; otherwise an existing file keeps its bits and a new one gets 0666 less the umask.
// Returns false (and leaves `errorText` set) when any step fails; the temporary file is removed
// then.
bool replaceFileAtomically(const QString& path, const QByteArray& data,
                           QString* errorText = nullptr, int mode = -1);

// A small INI reader and writer that behaves like the classic profile functions.
//
// File layout: "[Section]" lines, then "key=value" lines belonging to the last section above
// them. Lines starting with ';' or '#' are comments. Section and key names are matched without
// regard to letter case; the first matching section and, inside it, the first matching key win.
//
// Reading: a missing file, section or key gives the default. Blanks (spaces, tabs) around names
// and values are dropped, and a value enclosed in a matching pair of double or single quotes loses
// that pair. Texts are bytes in UTF-8; a value is read up to 1023 bytes, cut on a character
// boundary. A file that exists but cannot be read raises EIniError.
//
// Writing: each write reads the file, changes one key and replaces the file at once (see
// replaceFileAtomically). An existing key is changed in place; a new key goes after the last
// non-blank line of its section; a missing section is added at the end of the file, after a blank
// line; a missing file is created. Every other line stays byte for byte. Line ends follow the
// file's first line end (CR LF or LF); a new file uses LF. Values are written as given, without
// quotes. Any failure raises EIniError, and the file on disk is then unchanged.
class IniFile {
public:
    explicit IniFile(QString path);

    const QString& FileName() const { return path_; }

    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    // Decimal, or hexadecimal after "0x"/"0X", with an optional sign; the number must fit in an
    // int. Anything else, also a number out of range, gives the default.
    int ReadInteger(const QString& section, const QString& key, int def) const;
    // An integer; any value other than 0 is true.
    bool ReadBool(const QString& section, const QString& key, bool def) const;

    // Section names must not be empty or hold ']'; key names must not be empty, start with '[',
    // ';' or '#', hold '=' or have blanks at either end; no name or value may hold a line break or
    // a NUL byte. Such a write raises EIniError and leaves the file alone.
    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, int value);
    // Written as "1" or "0".
    void WriteBool(const QString& section, const QString& key, bool value);

    static constexpr int MaxValueBytes = 1023;

private:
    QString path_;
};

// One section of a settings file, read once: reads are answered from memory, and writes are
// gathered and saved with one atomic replace. Each read answers as IniFile's read of that key
// would; each write changes the lines exactly as IniFile's write of that key would change the
// file, so Commit() leaves the same content as the same writes made one by one, at the cost of one
// read and one write however many keys change.
//
// A name or value that cannot be stored (see IniFile::WriteString) stops the writes there: that
// write and every later one are skipped, Commit() saves the writes before it and then raises the
// error, as the writes one by one would have left the file.
class IniSection {
public:
    // Reads the file; raises EIniError when it exists but cannot be read.
    IniSection(QString path, const QString& section);
    ~IniSection();
    IniSection(const IniSection&) = delete;
    IniSection& operator=(const IniSection&) = delete;

    QString ReadString(const QString& key, const QString& def) const;
    int ReadInteger(const QString& key, int def) const;
    bool ReadBool(const QString& key, bool def) const;

    void WriteString(const QString& key, const QString& value);
    void WriteInteger(const QString& key, int value);
    void WriteBool(const QString& key, bool value);

    // Replaces the file at once when any write was made; raises EIniError when that fails (the
    // file is then unchanged) or when a write was refused.
    void Commit();

private:
    struct Impl;
    QString path_;
    std::unique_ptr<Impl> d_;
};

} // namespace wv
