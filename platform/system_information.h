#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace venturon {

// Answers whether a file of that name exists (the interaction layer's file_exists).
using FileExists = std::function<bool(const QString& path)>;

// The operating system's system information tool, as the program to start, or
// nothing when there is none. On Windows the registry names it; elsewhere it is
// looked for on the PATH of the environment.
std::optional<QString> system_information_tool(const FileExists& file_exists);

// The tools looked for where there is no registry, in order of preference.
QStringList system_information_tool_names();

// The search used where there is no registry: the first of the known tools
// (in order of preference) found in a directory of the PATH value, searching the
// directories in order; then the tool's fixed places on systems that keep it off
// PATH. Empty and relative PATH entries are skipped, so that nothing is started
// from whatever the current directory happens to be.
std::optional<QString> find_system_information_tool(const QString& path_variable,
                                                    const FileExists& file_exists);

} // namespace venturon
