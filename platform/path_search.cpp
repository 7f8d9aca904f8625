#include "system_information.h"

#include <QDir>

namespace venturon {

QStringList system_information_tool_names() {
    return {
        QStringLiteral("hardinfo2"),
        QStringLiteral("hardinfo"),
        QStringLiteral("kinfocenter"),
        QStringLiteral("gnome-system-monitor"),
        QStringLiteral("mate-system-monitor"),
        QStringLiteral("xfce4-taskmanager"),
        QStringLiteral("lxtask"),
    };
}

namespace {

// Where macOS keeps its System Information application (not on PATH).
QStringList fixed_locations() {
    return {
        QStringLiteral("/System/Applications/Utilities/System Information.app/Contents/MacOS/"
                       "System Information"),
        QStringLiteral("/Applications/Utilities/System Information.app/Contents/MacOS/"
                       "System Information"),
    };
}

QStringList search_directories(const QString& path_variable) {
    QStringList directories;
    for (const QString& entry : path_variable.split(QDir::listSeparator())) {
        if (!entry.isEmpty() && QDir::isAbsolutePath(entry)) {
            directories << entry;
        }
    }
    return directories;
}

} // namespace

std::optional<QString> find_system_information_tool(const QString& path_variable,
                                                    const FileExists& file_exists) {
    const QStringList directories = search_directories(path_variable);
    for (const QString& name : system_information_tool_names()) {
        for (const QString& directory : directories) {
            const QString candidate = QDir(directory).filePath(name);
            if (file_exists(candidate)) {
                return candidate;
            }
        }
    }
    for (const QString& location : fixed_locations()) {
        if (file_exists(location)) {
            return location;
        }
    }
    return std::nullopt;
}

} // namespace venturon
