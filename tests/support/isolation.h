#pragma once

// Helpers for tests that need a full disk, a read-only mount or a file-size
// limit. The tests run as root, where permission bits stop nothing, so such
// conditions are made in a process of their own: mounts and limits stay there.
// A suite without a QApplication forks one (run_in_child); the window's suite
// starts a helper program instead, since a process holding a QApplication must
// never fork. Windows has none of these: there the conditions cannot be made
// (the functions say so by returning false) and no child is forked.

#include <QByteArray>
#include <QFile>
#include <QString>

#ifndef _WIN32
#include <csignal>
#include <cstdio>
#include <functional>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace venturon::testing {

inline constexpr int child_passed = 0;
inline constexpr int child_skipped = 77;

#ifndef _WIN32

// Runs body in a forked child, which is killed after timeout_s. Returns the
// child's exit code, or -1 when it died.
inline int run_in_child(const std::function<int()>& body, unsigned timeout_s = 30) {
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        alarm(timeout_s);
        _exit(body());
    }
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid) {
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// In a process of its own: a tmpfs of the given size ("64k") at directory, seen
// by that process only.
inline bool mount_private_tmpfs(const QString& directory, const char* size = "64k") {
    const QByteArray options = QByteArray("size=") + size;
    return unshare(CLONE_NEWNS) == 0 &&
           mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
           mount("tmpfs", directory.toLocal8Bit().constData(), "tmpfs", 0, options.constData()) ==
               0;
}

// Mounts the file system at mount_point again, read-only or writable.
inline bool remount(const QString& mount_point, bool read_only) {
    return mount(nullptr, mount_point.toLocal8Bit().constData(), nullptr,
                 MS_REMOUNT | (read_only ? MS_RDONLY : 0), nullptr) == 0;
}

#else

inline bool mount_private_tmpfs(const QString&, const char* = "64k") {
    return false;
}
inline bool remount(const QString&, bool) {
    return false;
}

#endif

// Fills the file system that holds folder to the last byte, with a file named
// "filler" in folder.
inline bool fill_disk(const QString& folder) {
    QFile filler(folder + QStringLiteral("/filler"));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        return false;
    }
    const QByteArray block(4096, 'x');
    while (filler.write(block) > 0) {
    }
    while (filler.write("x", 1) > 0) {
    }
    return true;
}

#ifndef _WIN32
// Files of this process (and of the programs it starts) cannot grow beyond bytes:
// a write beyond fails, as on a full disk, instead of ending the process.
inline bool limit_file_size(rlim_t bytes) {
    std::signal(SIGXFSZ, SIG_IGN); // kept across exec
    const rlimit limit{bytes, bytes};
    return setrlimit(RLIMIT_FSIZE, &limit) == 0;
}
#else
inline bool limit_file_size(unsigned long long) {
    return false;
}
#endif

inline QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

inline bool put(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace venturon::testing
