#include "design_storage.h"

#include "file_reading.h"

#include <QDir>
#include <QFileInfo>

namespace venturon {

namespace {

QByteArrayView view(std::string_view text) {
    return QByteArrayView(text.data(), qsizetype(text.size()));
}

// The recent list is a list of paths: a few kilobytes at most.
constexpr qint64 recent_designs_read_limit = qint64{64} * 1024;

} // namespace

std::variant<Design, DesignProblem> read_design_file(const QString& path) {
    const LimitedRead read = read_limited_file(path, design_file_read_limit);
    if (!read.bytes) {
        return DesignProblem{read_problem_text(read, "design file", design_file_read_limit)};
    }
    return parse_design(std::string_view(read.bytes->constData(), read.bytes->size()));
}

FileWrite write_design_file(const QString& path, const Design& design) {
    const std::string text = serialise_design(design);
    return write_file(path, QByteArray(text.data(), qsizetype(text.size())), view(design_filler));
}

std::string design_file_message(const QString& path, const DesignProblem& problem) {
    return QFileInfo(path).fileName().toStdString() + ": " + problem.message;
}

QString recent_designs_file_path(const QString& directory) {
    const QString name = QStringLiteral("venturon-recent-designs.txt");
    return directory.isEmpty() ? name : QDir(directory).filePath(name);
}

RecentDesigns read_recent_designs(const QString& directory) {
    const LimitedRead read =
        read_limited_file(recent_designs_file_path(directory), recent_designs_read_limit);
    if (!read.bytes) {
        return RecentDesigns{};
    }
    return RecentDesigns::parse(std::string_view(read.bytes->constData(), read.bytes->size()));
}

bool write_recent_designs(const QString& directory, const RecentDesigns& recent) {
    const std::string text = recent.serialise();
    return write_file(recent_designs_file_path(directory),
                      QByteArray(text.data(), qsizetype(text.size())), "\n")
        .written;
}

std::vector<QString> recent_designs(const QString& directory) {
    RecentDesigns recent = read_recent_designs(directory);
    const RecentDesigns before = recent;
    recent.drop_missing(
        [](const std::string& path) { return QFileInfo(QString::fromStdString(path)).isFile(); });
    if (!(recent == before)) {
        write_recent_designs(directory, recent);
    }
    std::vector<QString> out;
    for (const std::string& path : recent.paths()) {
        out.push_back(QString::fromStdString(path));
    }
    return out;
}

bool remember_design(const QString& directory, const QString& path) {
    RecentDesigns recent = read_recent_designs(directory);
    return recent.add(path.toStdString()) && write_recent_designs(directory, recent);
}

} // namespace venturon
