// The registry lookup of the system information tool: GetKeyValue's readings of
// each kind of value, and system_information_tool's answer from the two keys
// Windows keeps for msinfo32. The values are written under a key of the test's
// own in HKEY_CURRENT_USER; the two HKEY_LOCAL_MACHINE values are written only
// where neither names a tool (a fresh Wine prefix) and removed again afterwards.
#include "registry_windows.h"
#include "system_information.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>

using namespace venturon;

namespace {

const std::string scratch =
    "Software\\Venturon tests\\registry " + std::to_string(GetCurrentProcessId());

void set(HKEY root, const std::string& key, const char* name, DWORD type, const void* data,
         DWORD size) {
    HKEY handle = nullptr;
    ASSERT_EQ(
        RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr),
        ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExA(handle, name, 0, type, static_cast<const BYTE*>(data), size),
              ERROR_SUCCESS);
    RegCloseKey(handle);
}

void set_text(HKEY root, const std::string& key, const char* name, const std::string& text,
              DWORD type = REG_SZ) {
    set(root, key, name, type, text.c_str(), DWORD(text.size() + 1));
}

struct Registry : ::testing::Test {
    ~Registry() override { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Venturon tests"); }
};

} // namespace

TEST_F(Registry, GetKeyValueReadsTextAndNumbersOnly) {
    const DWORD number = 0x1F;
    const char unterminated[] = {'a', 'b', 'c'};
    const BYTE binary[] = {1, 2, 3};
    const std::string long_text(2000, 'x');
    set_text(HKEY_CURRENT_USER, scratch, "text", "C:\\Tools\\msinfo32.exe");
    set_text(HKEY_CURRENT_USER, scratch, "empty", "");
    set_text(HKEY_CURRENT_USER, scratch, "expand", "%SystemRoot%\\system32", REG_EXPAND_SZ);
    set(HKEY_CURRENT_USER, scratch, "unterminated", REG_SZ, unterminated, sizeof unterminated);
    set(HKEY_CURRENT_USER, scratch, "number", REG_DWORD, &number, sizeof number);
    set(HKEY_CURRENT_USER, scratch, "binary", REG_BINARY, binary, sizeof binary);
    set_text(HKEY_CURRENT_USER, scratch, "long", long_text);

    const std::string system_root = qEnvironmentVariable("SystemRoot").toStdString();
    ASSERT_FALSE(system_root.empty());
    const struct {
        const char* name;
        bool found;
        std::string value;
    } cases[] = {
        {"text", true, "C:\\Tools\\msinfo32.exe"},
        {"TEXT", true, "C:\\Tools\\msinfo32.exe"}, // value names ignore case
        {"empty", true, ""},
        {"expand", true, system_root + "\\system32"},
        {"unterminated", true, "abc"},
        {"number", true, "&h1F"},
        {"binary", false, ""},
        {"long", false, ""}, // beyond the 1024-byte buffer
        {"missing", false, ""},
    };
    for (const auto& c : cases) {
        std::string value = "left over";
        EXPECT_EQ(GetKeyValue(HKEY_CURRENT_USER, scratch, c.name, value), c.found) << c.name;
        EXPECT_EQ(value, c.value) << c.name;
    }
    std::string value = "left over";
    EXPECT_FALSE(GetKeyValue(HKEY_CURRENT_USER, scratch + "\\none", "text", value));
    EXPECT_EQ(value, "");
}

// msinfo32's own key names the program; the older shared-tools key names its
// folder, and counts only when MSINFO32.EXE is there. A Windows whose registry
// already names the tool is not changed; a fresh Wine prefix has msinfo32's key
// without its value.
TEST_F(Registry, SystemInformationToolFromTheRegistry) {
    const std::string msinfo = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
    const std::string location = "SOFTWARE\\Microsoft\\Shared Tools Location";
    std::string named;
    if (GetKeyValue(HKEY_LOCAL_MACHINE, msinfo, "PATH", named) ||
        GetKeyValue(HKEY_LOCAL_MACHINE, location, "MSINFO", named)) {
        GTEST_SKIP() << "the registry already names the tool: " << named;
    }
    HKEY probe = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, location.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                        &probe, nullptr) != ERROR_SUCCESS) {
        GTEST_SKIP() << "HKEY_LOCAL_MACHINE cannot be written by this user";
    }
    RegCloseKey(probe);
    struct Cleanup {
        std::string msinfo, location;
        ~Cleanup() {
            RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, msinfo.c_str(), "PATH");
            RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, location.c_str(), "MSINFO");
        }
    } cleanup{msinfo, location};

    QStringList asked;
    bool present = false;
    const FileExists exists = [&](const QString& path) {
        asked << path;
        return present;
    };
    EXPECT_EQ(system_information_tool(exists), std::nullopt); // the key holds no value yet

    set_text(HKEY_LOCAL_MACHINE, location, "MSINFO", "C:\\Program Files\\Common Files\\MSInfo");
    EXPECT_EQ(system_information_tool(exists), std::nullopt);
    EXPECT_EQ(asked, QStringList{"C:\\Program Files\\Common Files\\MSInfo\\MSINFO32.EXE"});
    present = true;
    EXPECT_EQ(system_information_tool(exists),
              QStringLiteral("C:\\Program Files\\Common Files\\MSInfo\\MSINFO32.EXE"));

    // msinfo32's own key comes first, and is taken as it is.
    present = false;
    asked.clear();
    set_text(HKEY_LOCAL_MACHINE, msinfo, "PATH", "C:\\Windows\\System32\\msinfo32.exe");
    EXPECT_EQ(system_information_tool(exists),
              QStringLiteral("C:\\Windows\\System32\\msinfo32.exe"));
    EXPECT_TRUE(asked.isEmpty());
    set_text(HKEY_LOCAL_MACHINE, msinfo, "PATH", "");
    present = true;
    EXPECT_EQ(system_information_tool(exists),
              QStringLiteral("C:\\Program Files\\Common Files\\MSInfo\\MSINFO32.EXE"));
}
