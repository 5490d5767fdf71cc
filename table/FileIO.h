#pragma once
// Whole-file reading and crash-safe whole-file writing for the text tables.
#include <cstddef>
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

// Writes a file so that it is never seen half-written: the bytes go to a temporary file in the
// same folder, which is flushed to disk and then renamed over the target. If anything fails the
// temporary file is removed, the old file stays as it was and "Cannot create file <path>" is
// thrown. A symbolic link at `path` is written through (its target is replaced). The new file
// keeps the permission bits of the file it replaces, or takes `mode` when one is given.
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
    [[noreturn]] void fail();
    void flushBuffer();

    std::string path_;   // as given, for the message
    std::string target_; // the file that is replaced (symbolic links resolved)
    std::string temp_;
    int fd_ = -1;
    std::string buffer_;
};

} // namespace wv
