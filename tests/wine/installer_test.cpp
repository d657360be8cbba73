// The Windows installer the build makes: a silent install, the installed
// program, and a silent uninstall that leaves the user's files and settings.
#include "running_program.h"
#include "wine_support.h"

#include <gtest/gtest.h>
#include <shlobj.h>

namespace {

const wchar_t *const kUninstallKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quorell";

std::wstring BesideTests(const std::wstring &name)
{
    std::wstring program = ProgramPath();
    return program.substr(0, program.rfind(L'\\') + 1) + name;
}

std::wstring KnownFolder(REFKNOWNFOLDERID id)
{
    wchar_t *path = nullptr;
    std::wstring folder;
    if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &path)))
        folder = path;
    CoTaskMemFree(path);
    return folder;
}

// Runs a command line and returns its exit code, or 1234 when it did not end in time.
DWORD RunAndWait(std::wstring command)
{
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return 1234;
    DWORD exitCode = 1234;
    if (WaitForSingleObject(process.hProcess, 40000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &exitCode);
    else
        TerminateProcess(process.hProcess, 1234);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return exitCode;
}

std::wstring MachineValue(const wchar_t *key, const wchar_t *name)
{
    wchar_t value[MAX_PATH] = L"";
    DWORD size = sizeof value;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, key, name, RRF_RT_REG_SZ | RRF_SUBKEY_WOW6464KEY, nullptr, value, &size) !=
        ERROR_SUCCESS)
        return L"<missing>";
    return value;
}

std::wstring UninstallValue(const wchar_t *name)
{
    return MachineValue(kUninstallKey, name);
}

// "Open with" offers the program; the TIFF association is left alone unless chosen.
const wchar_t kOpenWithCommand[] = L"Software\\Classes\\Applications\\Quorell.exe\\shell\\open\\command";

// The uninstaller runs from a copy of itself in the temporary folder, so its
// own process ends before the program folder is gone.
bool WaitUntilGone(const std::wstring &folder)
{
    for (int i = 0; i < 300 && Path_IsFolder(folder); i++)
        Sleep(100);
    return !Path_IsFolder(folder);
}

TEST(Installer, InstallsRunsAndUninstallsLeavingTheUsersFilesAndSettings)
{
    ScopedRegistryKey settings;
    std::wstring folder = KnownFolder(FOLDERID_ProgramFilesX64) + L"\\Quorell";
    std::wstring shortcut = KnownFolder(FOLDERID_CommonPrograms) + L"\\Quorell.lnk";
    Folder_RemoveTree(folder);

    ASSERT_EQ(RunAndWait(L"\"" + BesideTests(QUORELL_PACKAGE_NAME L"-setup.exe") + L"\" /S"), 0u);
    for (const wchar_t *file :
         {L"Quorell.exe", L"English.ini", L"Korean.ini", L"Manual.rtf", L"Licences.txt", L"Uninstall.exe"})
        EXPECT_TRUE(Path_IsFile(folder + L"\\" + file)) << file;
    EXPECT_FALSE(Path_IsFile(folder + L"\\QuorellRig.dll"));
    EXPECT_TRUE(Path_IsFile(shortcut));
    EXPECT_EQ(UninstallValue(L"DisplayName"), L"Quorell");
    EXPECT_EQ(UninstallValue(L"DisplayVersion"), QUORELL_VERSION_WIDE);
    EXPECT_EQ(UninstallValue(L"Publisher"), L"Quorell");
    EXPECT_EQ(UninstallValue(L"DisplayIcon"), folder + L"\\Quorell.exe,0");
    EXPECT_EQ(MachineValue(kOpenWithCommand, nullptr), L"\"" + folder + L"\\Quorell.exe\" \"%1\"");
    EXPECT_NE(MachineValue(L"Software\\Classes\\.tif", nullptr), L"Quorell.Picture");

    {
        RunningProgram program;
        ASSERT_TRUE(program.Start(folder + L"\\Quorell.exe"));
        EXPECT_EQ(program.CloseAndWait(), 0u);
    }
    // What the user made with the program: settings and the files folder.
    DWORD firstUse = 1;
    ASSERT_TRUE(Registry_GetNumber(L"FirstUse", &firstUse));
    std::wstring userFiles = KnownFolder(FOLDERID_Documents) + L"\\Quorell Files";
    ASSERT_TRUE(Path_IsFolder(userFiles));
    std::wstring picture = userFiles + L"\\installer-test.png";
    File_WriteBytes(picture, "png", 3);

    EXPECT_EQ(RunAndWait(L"\"" + folder + L"\\Uninstall.exe\" /S"), 0u);
    EXPECT_TRUE(WaitUntilGone(folder));
    EXPECT_FALSE(Path_IsFile(shortcut));
    EXPECT_EQ(UninstallValue(L"DisplayName"), L"<missing>");
    EXPECT_EQ(MachineValue(kOpenWithCommand, nullptr), L"<missing>");
    EXPECT_TRUE(Path_IsFile(picture));
    EXPECT_TRUE(Registry_GetNumber(L"FirstUse", &firstUse));
    DeleteFileW(picture.c_str());
}

} // namespace
