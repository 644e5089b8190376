#include "platform/system_libraries.h"

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "platform/codepage.h"
#include "platform/file_system.h"
#include "platform/md5.h"
#include "platform/native_path.h"
#include "platform/win_api.h"
#include "support/temp_dir.h"

namespace vlmr::platform {
namespace {

void* Export(const char* library, const char* function) {
  return FindLibraryExport(LoadSystemLibrary(library), function);
}

TEST(SystemLibraries, BuiltInLibrariesByNameIgnoringCaseAndDllSuffix) {
  LibraryHandle kernel = LoadSystemLibrary("Kernel32.dll");
  ASSERT_NE(kernel, nullptr);
  EXPECT_EQ(LoadSystemLibrary("KERNEL32"), kernel);
  EXPECT_EQ(LoadSystemLibrary("C:\\Game\\kernel32.DLL"), kernel);
  for (const char* name : {"Gdi32.dll", "User32.dll", "Advapi32.dll", "Mpr.dll", "Shell32.dll",
                           "ole32.dll", "msvcrt.dll", "shlwapi.dll", "Cryptdll.dll"}) {
    EXPECT_NE(LoadSystemLibrary(name), nullptr) << name;
  }
  EXPECT_EQ(LoadSystemLibrary("NoSuchLibrary.dll"), nullptr);
  EXPECT_EQ(LoadSystemLibrary(""), nullptr);
  FreeSystemLibrary(kernel);  // built-ins stay usable
  EXPECT_NE(Export("kernel32", "LocalAlloc"), nullptr);
}

TEST(SystemLibraries, ExportsByNameAndOrdinal) {
  EXPECT_EQ(Export("Kernel32.dll", "MultiByteToWideChar"),
            reinterpret_cast<void*>(&MultiByteToWideChar));
  EXPECT_EQ(Export("Kernel32.dll", "#1"), reinterpret_cast<void*>(&MultiByteToWideChar));
  EXPECT_EQ(Export("Kernel32.dll", "#65537"), reinterpret_cast<void*>(&MultiByteToWideChar));
  EXPECT_EQ(Export("Cryptdll.dll", "#3"), reinterpret_cast<void*>(&MD5Final));
  EXPECT_EQ(Export("User32.dll", "CallWindowProcA"), reinterpret_cast<void*>(&win::CallWindowProcA));
  EXPECT_EQ(Export("Kernel32.dll", "CallWindowProcA"), nullptr);
  EXPECT_EQ(Export("msvcrt.dll", "strLen"), nullptr);  // names are case-sensitive
  for (const char* bad : {"#0", "#99", "#x", "#", ""}) EXPECT_EQ(Export("Cryptdll.dll", bad), nullptr);
  EXPECT_EQ(FindLibraryExport(nullptr, "strlen"), nullptr);
}

TEST(SystemLibraries, OtherNamesLoadRealSharedObjects) {
  Dl_info info{};
  ASSERT_NE(dladdr(reinterpret_cast<void*>(&getpid), &info), 0);
  LibraryHandle libc = LoadSystemLibrary(ToLauncherPath(info.dli_fname));
  ASSERT_NE(libc, nullptr);
  auto pid = reinterpret_cast<pid_t (*)()>(FindLibraryExport(libc, "getpid"));
  ASSERT_NE(pid, nullptr);
  EXPECT_EQ(pid(), getpid());
  EXPECT_EQ(FindLibraryExport(libc, "#1"), nullptr);
  FreeSystemLibrary(libc);

  test::TempDir dir;
  dir.Write("fake.dll", "MZ not a shared object");
  EXPECT_EQ(LoadSystemLibrary(dir.LauncherPath() + "\\fake.dll"), nullptr);
}

intptr_t Sum(intptr_t a, intptr_t b, intptr_t c, intptr_t d) { return a + 10 * b + 100 * c + 1000 * d; }

TEST(WinApi, WidePathFunctionsAndHelpers) {
  test::TempDir dir;
  dir.Write("file", "x");
  std::u16string folder = GbkToUtf16(dir.LauncherPath());
  std::u16string file = folder + u"\\FILE";
  std::u16string fresh = folder + u"\\\x65B0";  // a Chinese folder name
  EXPECT_EQ(win::PathIsDirectoryW(folder.c_str()), 16);
  EXPECT_EQ(win::PathIsDirectoryW(file.c_str()), 0);
  EXPECT_EQ(win::GetFileAttributesW(file.c_str()), kFileAttributeNormal);
  EXPECT_EQ(win::CreateDirectoryW(fresh.c_str(), nullptr), 1);
  EXPECT_EQ(win::CreateDirectoryW(fresh.c_str(), nullptr), 0);
  EXPECT_TRUE(std::filesystem::is_directory(dir / "新"));
  EXPECT_EQ(win::PathIsDirectoryW(nullptr), 0);
  EXPECT_EQ(win::GetFileAttributesW(u""), 0xFFFFFFFFu);

  auto* zeroed = static_cast<unsigned char*>(win::LocalAlloc(win::kLmemZeroInit, 64));
  ASSERT_NE(zeroed, nullptr);
  EXPECT_EQ(std::count(zeroed, zeroed + 64, 0), 64);
  EXPECT_EQ(win::LocalFree(zeroed), nullptr);
  EXPECT_EQ(win::CallWindowProcA(reinterpret_cast<void*>(&Sum), 1, 2, 3, 4), 4321);
  EXPECT_EQ(win::strlen("abc"), 3u);
  EXPECT_EQ(win::strlen(nullptr), 0u);
  EXPECT_EQ(win::CoInitialize(nullptr), 0);
}

}  // namespace
}  // namespace vlmr::platform
