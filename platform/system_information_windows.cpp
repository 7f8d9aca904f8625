// Windows: the registry names the system information tool.
#include "registry_windows.h"
#include "system_information.h"

namespace venturon {

std::optional<QString> system_information_tool(const FileExists& file_exists) {
    std::string value;
    if (GetKeyValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH",
                    value) &&
        !value.empty()) {
        return QString::fromLocal8Bit(value);
    }
    if (GetKeyValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO",
                    value) &&
        !value.empty()) {
        const QString program = QString::fromLocal8Bit(value) + QStringLiteral("\\MSINFO32.EXE");
        if (file_exists(program)) {
            return program;
        }
    }
    return std::nullopt;
}

} // namespace venturon
