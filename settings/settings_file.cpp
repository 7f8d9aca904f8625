#include "settings_file.h"

#include "enclosure_inputs.h"
#include "file_writing.h"
#include "settings_format.h"
#include "venturon_version.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <algorithm>
#include <climits>

namespace venturon {

namespace {

const QString file_name = QStringLiteral("venturon.ini");

bool can_create_file_in(const QString& directory) {
    if (directory.isEmpty() || !QFileInfo(directory).isDir()) {
        return false;
    }
    QTemporaryFile probe(QDir(directory).filePath(QStringLiteral("venturon-probe-XXXXXX")));
    return probe.open(); // removed again when probe goes
}

} // namespace

std::optional<QByteArray> read_settings_file(const QString& path) {
    // Only regular files: opening a FIFO or a device could block or never end.
    if (!QFileInfo(path).isFile()) {
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    QByteArray bytes = file.read(settings_read_limit);
    if (file.error() != QFileDevice::NoError) {
        return std::nullopt;
    }
    return bytes;
}

bool write_settings_file(const QString& path, const QByteArray& bytes) {
    return write_file(path, bytes,
                      QByteArrayView(settings_filler.data(), qsizetype(settings_filler.size())))
        .written;
}

bool write_settings_pair(const QString& directory, const QByteArray& settings,
                         const std::optional<QByteArray>& enclosure_inputs,
                         std::chrono::milliseconds wait) {
    // Taken, or not to be had: a lock that cannot be made (a folder that takes no
    // new files) or that another program holds beyond the wait must not cost the
    // user the settings, so they are written all the same. A lock left by a
    // program that ended without freeing it is taken over (QLockFile knows whether
    // its process still runs).
    QLockFile lock(settings_file_path(directory) + QStringLiteral(".lock"));
    const bool locked =
        lock.tryLock(int(std::min<std::chrono::milliseconds::rep>(wait.count(), INT_MAX)));
    bool written = write_settings_file(settings_file_path(directory), settings);
    if (enclosure_inputs) {
        written = write_file(enclosure_file_path(directory), *enclosure_inputs,
                             QByteArrayView(enclosure_inputs_filler.data(),
                                            qsizetype(enclosure_inputs_filler.size())))
                      .written &&
                  written;
    }
    if (locked) {
        lock.unlock();
    }
    return written;
}

QString settings_file_path(const QString& directory) {
    return directory.isEmpty() ? file_name : QDir(directory).filePath(file_name);
}

QString enclosure_file_path(const QString& directory) {
    const QString name = QStringLiteral("venturon-enclosure.ini");
    return directory.isEmpty() ? name : QDir(directory).filePath(name);
}

QString choose_settings_directory(const QString& program_dir, const QString& user_config_dir,
                                  bool installed) {
    if (!installed && !program_dir.isEmpty() &&
        (QFileInfo(settings_file_path(program_dir)).isFile() || can_create_file_in(program_dir))) {
        return program_dir;
    }
    QDir().mkpath(user_config_dir);
    return user_config_dir;
}

QString user_config_directory() {
#if defined(Q_OS_WIN)
    // %APPDATA% (the roaming profile, which follows the user between machines),
    // as QStandardPaths names the application's folder there:
    // <APPDATA>/<organisation>/<application>.
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
#else
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
    const QString base =
        QDir::isAbsolutePath(xdg) ? xdg : QDir::home().filePath(QStringLiteral(".config"));
#else
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
#endif
    return QDir(base).filePath(QString::fromLatin1(application_name));
#endif
}

bool installed_program(const QString& program_dir, const QString& desktop_file_name) {
    if (program_dir.isEmpty()) {
        return false;
    }
    const QDir dir(program_dir);
#ifdef Q_OS_WIN
    if (QFileInfo(dir.filePath(QString::fromLatin1(windows_uninstaller_name))).isFile()) {
        return true;
    }
#endif
    return QFileInfo(dir.filePath(QStringLiteral("../share/applications/") + desktop_file_name))
        .isFile();
}

} // namespace venturon
