#include "file_writing.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QThread>

#include <algorithm>
#include <optional>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <clocale>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace venturon {

namespace {

FileWrite written() {
    return {true, {}};
}

FileWrite failed(const QString& why) {
    return {false, why};
}

#ifdef Q_OS_UNIX

// The system's text for an error, in English whatever the locale says, like every
// other message of the programs.
QString system_error(int error) {
    static const locale_t c_locale = ::newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    return QString::fromLocal8Bit(c_locale ? ::strerror_l(error, c_locale) : std::strerror(error));
}

// Writes all of bytes, going on after a short write; 0, or the error that stopped it.
int write_fully(int fd, QByteArrayView bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, std::size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return n < 0 ? errno : EIO;
        }
        done += n;
    }
    return 0;
}

// Writes all of bytes at the file's position through its descriptor. Qt's own write
// reports a write that a full disk cuts short without a reason ("Unknown error");
// going on after the short write gets the system's (ENOSPC).
std::optional<QString> write_all(QFileDevice& file, QByteArrayView bytes) {
    if (const int error = write_fully(file.handle(), bytes); error != 0) {
        return system_error(error);
    }
    return std::nullopt;
}

// Into a character device or FIFO, without ever waiting for it: a FIFO that no
// one reads refuses at once.
FileWrite write_into_device(const QByteArray& path, const QByteArray& bytes) {
    const int fd = ::open(path.constData(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return failed(errno == ENXIO ? QStringLiteral("nothing is reading from this pipe")
                                     : system_error(errno));
    }
    const int error = write_fully(fd, bytes);
    ::close(fd);
    if (error != 0) {
        return failed(error == EAGAIN ? QStringLiteral("it does not take the whole file at once")
                                      : system_error(error));
    }
    return written();
}

#else

// A full write, then the flush, all checked: QSaveFile buffers, so write() may
// accept every byte that a full disk then refuses.
std::optional<QString> write_all(QFileDevice& file, QByteArrayView bytes) {
    if (file.write(bytes.data(), bytes.size()) == bytes.size() && file.flush() &&
        file.error() == QFileDevice::NoError) {
        return std::nullopt;
    }
    return file.errorString();
}

#endif

// Writes over the file where it stands, then cuts it to the new length: for a file
// whose folder takes no new files. The content is first padded with filler up to
// the file's old length, so that the file holds one well-formed whole at every
// moment, even when the program is stopped between the write and the cut. Should
// the write fail, the old bytes go back.
FileWrite rewrite_in_place(const QString& path, const QByteArray& bytes, QByteArrayView filler) {
    QByteArray old;
    if (QFile reader(path); reader.open(QIODevice::ReadOnly)) {
        old = reader.readAll();
    } else {
        return failed(reader.errorString());
    }
    const auto overwrite = [&path, filler](const QByteArray& content) -> std::optional<QString> {
        QFile file(path);
        if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered)) {
            return file.errorString();
        }
        if (auto problem = write_all(file, padded_content(content, file.size(), filler))) {
            return problem;
        }
        if (!file.resize(content.size())) {
            return file.errorString();
        }
        return std::nullopt;
    };
    const auto problem = overwrite(bytes);
    if (!problem) {
        return written();
    }
    overwrite(old);
    return failed(*problem);
}

// What a replaced file keeps of the old one.
struct Ownership {
    unsigned owner = 0;
    unsigned group = 0;
    unsigned mode = 0; // permission bits
};

// The atomic replacement. `keep` is the old file's ownership when it exists.
// `in_place` is set when the folder refuses the temporary file, or when the old
// owner cannot be given to the new file. `renaming_failed` is set when all was
// written but the new file could not take the old one's place (on Windows: the
// old file is held open by another program).
FileWrite replace(const QString& path, const QByteArray& bytes,
                  const std::optional<Ownership>& keep, bool& in_place,
                  bool* renaming_failed = nullptr) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        in_place = keep.has_value();
        return failed(file.errorString());
    }
#ifdef Q_OS_UNIX
    if (keep) {
        const int fd = file.handle();
        if ((keep->owner != ::geteuid() || keep->group != ::getegid()) &&
            ::fchown(fd, keep->owner, keep->group) != 0) {
            const int error = errno;
            file.cancelWriting();
            file.commit();
            in_place = true;
            return failed(system_error(error));
        }
        ::fchmod(fd, keep->mode);
    }
#endif
    if (const auto why = write_all(file, bytes)) {
        file.cancelWriting();
        file.commit(); // cancelled: keeps the old file and removes the new one
        return failed(*why);
    }
    if (!file.commit()) { // the new file is removed again, the old one untouched
        if (renaming_failed) {
            *renaming_failed = true;
        }
        return failed(file.errorString());
    }
    return written();
}

} // namespace

QByteArray padded_content(const QByteArray& bytes, qint64 old_size, QByteArrayView filler) {
    QByteArray out = bytes;
    if (filler.isEmpty() || old_size <= bytes.size()) {
        return out;
    }
    out.reserve(qsizetype(old_size));
    while (out.size() < old_size) {
        out.append(filler.first(std::min(filler.size(), qsizetype(old_size) - out.size())));
    }
    return out;
}

FileWrite write_file(const QString& path, const QByteArray& bytes, QByteArrayView filler) {
    bool in_place = false;
#ifdef Q_OS_UNIX
    const QByteArray native = QFile::encodeName(path);
    struct stat target {};
    if (::stat(native.constData(), &target) != 0) {
        if (errno != ENOENT) {
            return failed(system_error(errno));
        }
        return replace(path, bytes, std::nullopt, in_place); // a new file
    }
    if (S_ISCHR(target.st_mode) || S_ISFIFO(target.st_mode)) {
        return write_into_device(native, bytes);
    }
    if (!S_ISREG(target.st_mode)) {
        return failed(QStringLiteral("it is not a regular file"));
    }
    // The file a link points to is replaced, so that the link stays a link.
    const QString file = QFileInfo(path).canonicalFilePath();
    const Ownership old{target.st_uid, target.st_gid, target.st_mode & 07777u};
    const FileWrite atomic = replace(file, bytes, old, in_place);
    if (atomic.written || !in_place || ::access(QFile::encodeName(file).constData(), W_OK) != 0) {
        return atomic;
    }
    return rewrite_in_place(file, bytes, filler);
#else
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        return failed(QStringLiteral("it is not a regular file"));
    }
    // A file with the read-only attribute is refused, as Windows programs do
    // (QSaveFile will not open for it), and keeps its bytes and attribute.
    const auto keep =
        info.exists() ? std::optional<Ownership>(Ownership{}) : std::optional<Ownership>();
    bool renaming_failed = false;
    FileWrite atomic = replace(path, bytes, keep, in_place, &renaming_failed);
    // Windows renames nothing over a file that another program holds open. A
    // virus scanner or an indexer lets go within moments: try again twice.
    // After that, the file is rewritten in place, which works where the holder
    // shares it for writing (most do); where it does not, the file keeps its
    // old bytes and the write fails.
    for (int retry = 0; !atomic.written && renaming_failed && retry < 2; ++retry) {
        QThread::msleep(100);
        renaming_failed = false;
        atomic = replace(path, bytes, keep, in_place, &renaming_failed);
    }
    const bool may_rewrite = keep && (in_place || renaming_failed) && info.isWritable();
    return atomic.written || !may_rewrite ? atomic : rewrite_in_place(path, bytes, filler);
#endif
}

} // namespace venturon
