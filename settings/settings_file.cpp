#include "settings_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

namespace venturon {

namespace {

const QString file_name = QStringLiteral("venturon.ini");

bool ends_in_separator(const QString& directory) {
#ifdef Q_OS_WIN
    return directory.endsWith(u'/') || directory.endsWith(u'\\');
#else
    return directory.endsWith(u'/');
#endif
}

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
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    // QSaveFile buffers: write() may accept every byte that a full disk then refuses,
    // and commit() would still rename the short file into place. Flush first and
    // cancel on any shortfall, so commit() keeps the old file.
    const bool complete =
        file.write(bytes) == bytes.size() && file.flush() && file.error() == QFileDevice::NoError;
    if (!complete) {
        file.cancelWriting();
    }
    return file.commit() && complete;
}

QString settings_file_path(const QString& directory) {
    if (directory.isEmpty()) {
        return file_name;
    }
    return ends_in_separator(directory) ? directory + file_name : directory + u'/' + file_name;
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

bool installed_program(const QString& program_dir, const QString& desktop_file_name) {
    return !program_dir.isEmpty() &&
           QFileInfo(QDir(program_dir)
                         .filePath(QStringLiteral("../share/applications/") + desktop_file_name))
               .isFile();
}

} // namespace venturon
