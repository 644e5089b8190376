// Loading the component's module DLL from real files under Windows' rules:
// the carried module unpacked into the private folder, loaded and its file
// deleted when unloaded; a module file others may change refused.
#include <gtest/gtest.h>
#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include <filesystem>
#include <string>

#include "component/component_loader.h"
#include "component/embedded_module.h"
#include "component/module_unpacking.h"
#include "platform/private_files.h"
#include "support/temp_dir.h"

namespace vlmr::component {
namespace {

namespace fs = std::filesystem;

class ComponentLoaderOnWindows : public testing::Test {
 protected:
  ComponentLoaderOnWindows() {
    places_.currentFolder = program_.path();
    places_.privateFolder = private_.path();  // the user's own, like the private folder
    places_.packedModule = EmbeddedPackedModule();
  }
  test::TempDir program_;
  test::TempDir private_;
  LoaderPlaces places_;
  LoadFailure failure_;
};

TEST_F(ComponentLoaderOnWindows, UnpacksTheCarriedModuleIntoThePrivateFolderAndDeletesItWhenUnloaded) {
  LoadedModule module = LoadComponentModule(places_, &failure_);
  ASSERT_EQ(module.origin, ModuleOrigin::WrittenByLoader) << failure_.reason;
  EXPECT_EQ(module.path, *places_.privateFolder / "TARNCore.2.7.2.dll");
  EXPECT_EQ(test::ReadFileBytes(module.path), UnpackModule(EmbeddedPackedModule()));
  EXPECT_EQ(platform::WhyUntrusted(module.path), "");
  ASSERT_NE(module.commands, nullptr);
  UnloadComponentModule(module);
  EXPECT_FALSE(fs::exists(*places_.privateFolder / "TARNCore.2.7.2.dll"));
}

// Gives `object` the access list `sddl`.
void SetAccess(const fs::path& object, const wchar_t* sddl) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  ASSERT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &descriptor, nullptr));
  BOOL present = FALSE, defaulted = FALSE;
  PACL acl = nullptr;
  ::GetSecurityDescriptorDacl(descriptor, &present, &acl, &defaulted);
  EXPECT_EQ(::SetNamedSecurityInfoW(const_cast<wchar_t*>(object.c_str()), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION,
                                    nullptr, nullptr, acl, nullptr),
            static_cast<DWORD>(ERROR_SUCCESS));
  ::LocalFree(descriptor);
}

// Wine keeps the access list set on a file (a folder's comes from its Unix
// mode there), so the file's own list is what this test changes.
TEST_F(ComponentLoaderOnWindows, RefusesAModuleFileEveryoneMayChangeAndLoadsTheCarriedOne) {
  const fs::path planted = program_ / "TARN.dll";
  {
    const std::string module = UnpackModule(EmbeddedPackedModule());
    std::FILE* file = _wfopen(planted.c_str(), L"wb");
    std::fwrite(module.data(), 1, module.size(), file);
    std::fclose(file);
  }
  SetAccess(planted, L"D:(A;;FA;;;WD)");
  EXPECT_EQ(platform::WhyUntrusted(planted), "S-1-1-0 may write it");

  testing::internal::CaptureStderr();
  LoadedModule module = LoadComponentModule(places_, &failure_);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("refused: S-1-1-0 may write it"), std::string::npos);
  EXPECT_EQ(failure_, ModuleNotTrusted(planted));
  EXPECT_EQ(module.origin, ModuleOrigin::WrittenByLoader);  // the carried module instead
  UnloadComponentModule(module);
}

}  // namespace
}  // namespace vlmr::component
