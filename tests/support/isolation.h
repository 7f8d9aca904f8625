#pragma once

// Helpers for tests that need a full disk, a read-only mount or a file-size
// limit. The tests run as root, where permission bits stop nothing, so such
// conditions are made in a forked child process: mounts and limits stay there.

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstdio>
#include <functional>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

namespace venturon::testing {

inline constexpr int child_passed = 0;
inline constexpr int child_skipped = 77;

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

// In a child process: a tmpfs of the given size ("64k") at directory, seen by
// that process only.
inline bool mount_private_tmpfs(const QString& directory, const char* size = "64k") {
    const QByteArray options = QByteArray("size=") + size;
    return unshare(CLONE_NEWNS) == 0 &&
           mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
           mount("tmpfs", directory.toLocal8Bit().constData(), "tmpfs", 0, options.constData()) ==
               0;
}

inline QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

inline bool put(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace venturon::testing
