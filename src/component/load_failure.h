// Why the component's module could not be loaded, in the words of the
// failure box, and the box's text.
#pragma once

#include <filesystem>
#include <string>

namespace vlmr::component {

// GBK texts: the reason (with the path concerned) and what the user can do.
struct LoadFailure {
  std::string reason;
  std::string hint;
  bool operator==(const LoadFailure&) const = default;
};

// A module file in the program's folder (inProgramFolder) or the private
// folder that exists but does not load.
LoadFailure ModuleDidNotLoad(const std::filesystem::path& file, bool inProgramFolder);
// A module file that another user could have planted or changed.
LoadFailure ModuleNotTrusted(const std::filesystem::path& file);
// The unpacked module could not be written there.
LoadFailure ModuleNotWritten(const std::filesystem::path& file);
// The launcher carries no packed module.
LoadFailure NoPackedModule();

// "====...\r\n= TARN2.7.2 加载失败\r\n====...\r\n[原因] ...\r\n[解决] ...".
std::string FailureBoxText(const LoadFailure& failure);
// "[TARN] 载入失败".
const char* FailureBoxCaption();

}  // namespace vlmr::component
