// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Wirevane developers
#include "table/FileIO.h"

#include "table/Errors.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace wv {

namespace {

constexpr std::size_t kWriteChunk = 1 << 20;

bool writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

WriteFaultHook& writeFaultHook() {
    static WriteFaultHook hook;
    return hook;
}

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

// The file a save of `path` replaces: a symbolic link is followed.
std::string resolveTarget(const std::string& path) {
    struct stat lst {};
    if (::lstat(path.c_str(), &lst) == 0 && S_ISLNK(lst.st_mode)) {
        char resolved[PATH_MAX];
        if (::realpath(path.c_str(), resolved) != nullptr)
            return resolved;
    }
    return path;
}

std::string baseOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string tempPrefix(std::string_view base) {
    return "." + std::string(base) + ".tmp";
}

bool allDigits(std::string_view s) {
    if (s.empty())
        return false;
    for (const char c : s)
        if (c < '0' || c > '9')
            return false;
    return true;
}

} // namespace

bool isTempFileNameOf(std::string_view name, std::string_view base) {
    const std::string prefix = tempPrefix(base);
    if (base.empty() || name.size() <= prefix.size() || name.substr(0, prefix.size()) != prefix)
        return false;
    const std::string_view rest = name.substr(prefix.size());
    const auto dash = rest.find('-');
    return dash != std::string_view::npos && allDigits(rest.substr(0, dash)) &&
           allDigits(rest.substr(dash + 1));
}

std::size_t removeLeftoverTempFiles(const std::string& path) {
    const std::string target = resolveTarget(path);
    const std::string folder = folderOf(target);
    const std::string base = baseOf(target);
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr)
        return 0;
    std::size_t removed = 0;
    while (const dirent* entry = ::readdir(dir)) {
        if (!isTempFileNameOf(entry->d_name, base))
            continue;
        struct stat st {};
        if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(st.st_mode) && ::unlinkat(::dirfd(dir), entry->d_name, 0) == 0)
            ++removed;
    }
    ::closedir(dir);
    return removed;
}

std::string fileErrorReason(int code) {
    switch (code) {
    case 0:
        return {};
    case ENOSPC:
        return "The disk is full.";
    case EDQUOT:
        return "The disk quota is used up.";
    case EROFS:
        return "The disk is read-only.";
    case EACCES:
    case EPERM:
        return "Permission to write there is denied.";
    case EIO:
        return "The disk reported an input/output error.";
    case EFBIG:
        return "The file has grown too large.";
    default:
        break;
    }
    std::string text = std::strerror(code);
    return text.empty() ? text : text + ".";
}

long long freeBytesAt(const std::string& path) {
    struct statvfs vfs {};
    if (::statvfs(path.c_str(), &vfs) != 0)
        return -1;
    return static_cast<long long>(vfs.f_bavail) * static_cast<long long>(vfs.f_frsize);
}

void setWriteFaultHook(WriteFaultHook hook) {
    writeFaultHook() = std::move(hook);
}

void readWholeFile(const std::string& path, std::string& bytes) {
    auto fail = [&]() { throw EFileError("Cannot open file " + path); };
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        fail();
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(fd);
        fail();
    }
    bytes.clear();
    std::size_t expected = st.st_size > 0 ? static_cast<std::size_t>(st.st_size) : 0;
    bytes.resize(expected);
    std::size_t got = 0;
    for (;;) {
        if (got == bytes.size()) {
            // The file may have grown since fstat (or reports no size, like /proc files).
            char probe[4096];
            const ssize_t n = ::read(fd, probe, sizeof probe);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0) {
                ::close(fd);
                fail();
            }
            if (n == 0)
                break;
            bytes.append(probe, static_cast<std::size_t>(n));
            got = bytes.size();
            continue;
        }
        const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            ::close(fd);
            fail();
        }
        if (n == 0) {
            bytes.resize(got); // the file shrank
            break;
        }
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
}

bool pathExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

void createEmptyFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0)
        throw EFileError("Cannot create file " + path, errno);
    ::close(fd);
}

TAtomicFileWriter::TAtomicFileWriter(std::string path, int mode) : path_(std::move(path)) {
    target_ = resolveTarget(path_);
    static std::atomic<unsigned> counter{0};
    const std::string folder = folderOf(target_);
    const std::string base = baseOf(target_);
    for (int attempt = 0; attempt < 100; ++attempt) {
        // Named so that removeLeftoverTempFiles() knows it: see isTempFileNameOf().
        temp_ = folder + "/" + tempPrefix(base) + std::to_string(::getpid()) + "-" +
                std::to_string(counter++);
        fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ >= 0 || errno != EEXIST)
            break;
    }
    if (fd_ < 0) {
        temp_.clear();
        fail(errno);
    }
    struct stat st {};
    if (mode >= 0)
        ::fchmod(fd_, static_cast<mode_t>(mode) & 07777);
    else if (::stat(target_.c_str(), &st) == 0 && S_ISREG(st.st_mode))
        ::fchmod(fd_, st.st_mode & 07777);
    buffer_.reserve(kWriteChunk);
}

TAtomicFileWriter::~TAtomicFileWriter() {
    if (fd_ >= 0)
        ::close(fd_);
    if (!temp_.empty())
        ::unlink(temp_.c_str());
}

void TAtomicFileWriter::fail(int code) {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    if (!temp_.empty())
        ::unlink(temp_.c_str());
    temp_.clear();
    throw EFileError("Cannot create file " + path_, code);
}

void TAtomicFileWriter::flushBuffer() {
    if (!writeAll(fd_, buffer_.data(), buffer_.size()))
        fail(errno);
    buffer_.clear();
}

void TAtomicFileWriter::write(std::string_view bytes) {
    if (fd_ < 0)
        fail(EBADF);
    if (buffer_.size() + bytes.size() > kWriteChunk) {
        flushBuffer();
        if (bytes.size() > kWriteChunk) {
            if (!writeAll(fd_, bytes.data(), bytes.size()))
                fail(errno);
            return;
        }
    }
    buffer_.append(bytes);
}

void TAtomicFileWriter::commit(bool syncFolder) {
    if (fd_ < 0)
        fail(EBADF);
    flushBuffer();
    if (writeFaultHook())
        if (const int code = writeFaultHook()(target_))
            fail(code);
    if (::fsync(fd_) != 0)
        fail(errno);
    if (::close(fd_) != 0) {
        fd_ = -1;
        fail(errno);
    }
    fd_ = -1;
    if (::rename(temp_.c_str(), target_.c_str()) != 0)
        fail(errno);
    temp_.clear();
    if (!syncFolder)
        return;
    // Make the rename itself durable; a failure here no longer endangers the old content.
    const int dir = ::open(folderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

} // namespace wv
