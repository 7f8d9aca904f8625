// Systems without a registry: the tool is looked for on PATH.
#include "system_information.h"

#include <QtGlobal>

namespace venturon {

std::optional<QString> system_information_tool(const FileExists& file_exists) {
    return find_system_information_tool(qEnvironmentVariable("PATH"), file_exists);
}

} // namespace venturon
