// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#pragma once
// Whole-file reading and crash-safe whole-file writing for the text tables.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace wv {

// Reads the file at `path` whole into `bytes` (replacing its content; the buffer is sized to the
// file, without spare capacity). Throws EFileError "Cannot open file <path>" when the file
// cannot be opened or read.
void readWholeFile(const std::string& path, std::string& bytes);

// True when something (a file, folder, ...) exists at `path`.
bool pathExists(const std::string& path);

// Creates an empty file at `path` if none exists. Throws EFileError "Cannot create file <path>".
void createEmptyFile(const std::string& path);

// True when `name`, a file name without folder, is one that TAtomicFileWriter gives its temporary
// file while it saves the file named `base`: "." base ".tmp" <process id> "-" <number>.
bool isTempFileNameOf(std::string_view name, std::string_view base);

// Removes what interrupted saves of `path` left behind (a kill or a crash during a save keeps its
// temporary file): the regular files in the folder of `path` named as isTempFileNameOf() says.
// A symbolic link at `path` is followed, as the writer does. Nothing else is touched. Meant for a
// program that owns the file, before it writes; returns how many files were removed.
std::size_t removeLeftoverTempFiles(const std::string& path);
// The reason behind a failed read or write in plain words, for the user: "The disk is full.",
// "The disk is read-only.", ... from the system's error number; empty for 0.
std::string fileErrorReason(int code);

// Bytes that an unprivileged writer may still use on the file system holding `path`, or -1
// when that cannot be told.
long long freeBytesAt(const std::string& path);

// Test seam: when set, every atomic write asks it before committing; a non-zero error number
// makes that write fail as if the system had refused it with that code.
using WriteFaultHook = std::function<int(const std::string& target)>;
void setWriteFaultHook(WriteFaultHook hook);

// Writes a file so that it is never seen half-written: the bytes go to a temporary file in the
// same folder, which is flushed to disk and then renamed over the target. If anything fails the
// temporary file is removed, the old file stays as it was and "Cannot create file <path>" is
// thrown, carrying the system's error number. A symbolic link at `path` is written through (its
// target is replaced). The new file keeps the permission bits of the file it replaces, or takes
// `mode` when one is given.
class TAtomicFileWriter {
public:
    explicit TAtomicFileWriter(std::string path, int mode = -1);
    ~TAtomicFileWriter();
    TAtomicFileWriter(const TAtomicFileWriter&) = delete;
    TAtomicFileWriter& operator=(const TAtomicFileWriter&) = delete;

    void write(std::string_view bytes);
    // Flushes, syncs and renames the temporary file over the target. With `syncFolder` the
    // rename itself is made durable too (the old-or-new promise holds either way).
    void commit(bool syncFolder = true);

private:
    // Removes the temporary file and throws, with the error number of the call that failed.
    [[noreturn]] void fail(int code);
    void flushBuffer();

    std::string path_;   // as given, for the message
    std::string target_; // the file that is replaced (symbolic links resolved)
    std::string temp_;
    int fd_ = -1;
    std::string buffer_;
};

} // namespace wv
