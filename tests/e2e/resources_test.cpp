// What the shipped programs carry: the application manifest and a version.
#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/scenario.h"

namespace {
std::string manifestOf(const std::string& exe)
{
    HMODULE m = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!m)
        return "";
    std::string text;
    HRSRC r = FindResourceA(m, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    if (r) {
        HGLOBAL g = LoadResource(m, r);
        text.assign(static_cast<const char*>(LockResource(g)), SizeofResource(m, r));
    }
    FreeLibrary(m);
    return text;
}

std::string versionValue(const std::string& exe, const char* name)
{
    DWORD ignored;
    const DWORD size = GetFileVersionInfoSizeA(exe.c_str(), &ignored);
    if (!size)
        return "";
    std::string block(size, '\0');
    if (!GetFileVersionInfoA(exe.c_str(), 0, size, &block[0]))
        return "";
    char* value;
    UINT len;
    const std::string key = std::string("\\StringFileInfo\\040904b0\\") + name;
    if (!VerQueryValueA(&block[0], key.c_str(), reinterpret_cast<void**>(&value), &len))
        return "";
    return value;
}
}  // namespace

TEST(Programs, CarryTheManifestAndAVersion)
{
    for (const char* name : {"brakstart", "brakpass"}) {
        SCOPED_TRACE(name);
        const std::string exe = binDir() + "\\" + name + ".exe";
        const std::string m = manifestOf(exe);
        EXPECT_NE(m.find("level=\"asInvoker\""), std::string::npos);
        EXPECT_NE(m.find("Microsoft.Windows.Common-Controls"), std::string::npos);
        EXPECT_NE(m.find(">UTF-8</activeCodePage>"), std::string::npos);
        EXPECT_NE(m.find("supportedOS"), std::string::npos);
        // The bar is painted in exact pixels: the system scales it whole.
        EXPECT_EQ(m.find("dpiAware"), std::string::npos);
        EXPECT_EQ(versionValue(exe, "OriginalFilename"), std::string(name) + ".exe");
        EXPECT_EQ(versionValue(exe, "FileVersion"), "1.0.0.0");
    }
}
