#include "tools/posix_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

constexpr int kMostLinks = 40;  // as the system allows: more is a loop

bool WriteAll(int fd, const std::string& bytes)
{
    for (size_t done = 0; done < bytes.size();) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

std::string FolderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

class PosixTarget {
public:
    explicit PosixTarget(std::string path) : path_(std::move(path)) {}

    // Follows links to the file they name, which may not exist yet.
    TargetKind Inspect(bool& inspected)
    {
        std::string p = path_;
        for (int hop = 0; hop <= kMostLinks; ++hop) {
            if (lstat(p.c_str(), &status_) != 0) {
                inspected = errno == ENOENT;
                final_ = p;
                return TargetKind::Missing;
            }
            if (!S_ISLNK(status_.st_mode)) {
                final_ = p;
                existed_ = true;
                if (S_ISREG(status_.st_mode)) return TargetKind::Regular;
                return S_ISDIR(status_.st_mode) ? TargetKind::Directory : TargetKind::Special;
            }
            std::vector<char> link(static_cast<size_t>(status_.st_size > 0 ? status_.st_size : 255) + 1);
            const ssize_t n = readlink(p.c_str(), link.data(), link.size());
            if (n < 0 || static_cast<size_t>(n) >= link.size()) break;
            const std::string to(link.data(), static_cast<size_t>(n));
            p = to[0] == '/' ? to : FolderOf(p) + "/" + to;
        }
        errno = ELOOP;
        inspected = false;
        return TargetKind::Missing;
    }

    // No write bit for anyone, or no right to write: as the editor, refuse.
    bool ReadOnly() const { return (status_.st_mode & 0222) == 0 || access(final_.c_str(), W_OK) != 0; }

    bool WriteDirect(const std::string& bytes)
    {
        const int fd = open(final_.c_str(), O_WRONLY | O_NOCTTY);
        if (fd < 0) return false;
        const bool ok = WriteAll(fd, bytes);
        return close(fd) == 0 && ok;
    }

    bool WriteTemp(const std::string& bytes)
    {
        temp_ = FolderOf(final_) + "/.vexa-XXXXXX";
        const int fd = mkstemp(&temp_[0]);
        if (fd < 0) {
            temp_.clear();
            return false;
        }
        // The file keeps the mode and, where allowed, the owner of the one it
        // replaces; a new one gets what any new file would.
        if (existed_) {
            fchmod(fd, status_.st_mode & 07777);
            if (fchown(fd, status_.st_uid, status_.st_gid) != 0) errno = 0;
        } else {
            const mode_t mask = umask(0);
            umask(mask);
            fchmod(fd, 0666 & ~mask);
        }
        bool ok = WriteAll(fd, bytes);
        ok = fsync(fd) == 0 && ok;
        return close(fd) == 0 && ok;
    }

    bool Replace() { return rename(temp_.c_str(), final_.c_str()) == 0; }

    void RemoveTemp()
    {
        const int saved = errno;
        if (!temp_.empty()) unlink(temp_.c_str());
        errno = saved;
    }

private:
    std::string path_, final_, temp_;
    struct stat status_ = {};
    bool existed_ = false;
};

}  // namespace

bool ReadFileLimited(const std::string& path, size_t limit, std::vector<char>& out)
{
    const int fd = open(path.c_str(), O_RDONLY);
    if (fd < 0) return false;
    out.clear();
    char chunk[65536];
    bool ok = true;
    while (ok) {
        const ssize_t n = read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        if (out.size() + static_cast<size_t>(n) > limit) {
            errno = EFBIG;
            ok = false;
            break;
        }
        out.insert(out.end(), chunk, chunk + n);
    }
    const int saved = errno;
    close(fd);
    errno = saved;
    return ok;
}

SafeWriteResult WriteFileSafely(const std::string& path, const std::string& bytes, std::string& why)
{
    errno = 0;
    SafeWriteResult result;
    if (path == "-") {
        result = WriteAll(STDOUT_FILENO, bytes) ? SafeWriteResult::Written : SafeWriteResult::Failed;
    } else {
        PosixTarget target(path);
        result = SafeWrite(target, bytes);
    }
    why = errno ? std::strerror(errno) : "";
    return result;
}
