#include "component/load_failure.h"

#include "component/module_info.h"
#include "platform/codepage.h"
#include "runtime/rt_heap.h"

namespace vlmr::component {
namespace {

using rt::PoolText;

std::string GbkPath(const std::filesystem::path& file) {
  return platform::Utf8ToGbk(file.string());
}

}  // namespace

LoadFailure ModuleDidNotLoad(const std::filesystem::path& file, bool inProgramFolder) {
  return {PoolText("加载TARN库失败！\r\n[路径] ") + GbkPath(file),
          inProgramFolder ? PoolText("重新拷贝 TARN.dll/TARN.fne 到运行目录")
                          : PoolText("清空系统临时目录")};
}

LoadFailure ModuleNotTrusted(const std::filesystem::path& file) {
  return {PoolText("TARN库文件不安全，已拒绝加载：它或所在目录不属于当前用户，或可被其他用户修改！"
                   "\r\n[路径] ") + GbkPath(file),
          PoolText("删除该文件，或使该文件及所在目录只属于当前用户且他人不可写")};
}

LoadFailure ModuleNotWritten(const std::filesystem::path& file) {
  return {PoolText("无法释放框架到临时目录！\r\n[路径] ") + GbkPath(file),
          PoolText("1. 确认系统盘至少有 16 MB 可用空间\r\n"
                   "2. 确认临时目录（$XDG_RUNTIME_DIR 或 $TMPDIR）可写，且属于当前用户\r\n"
                   "3. 拷贝 TARN.dll/TARN.fne 到程序所在目录")};
}

LoadFailure NoPackedModule() {
  return {PoolText("无法从资源文件中加载TARN库！"),
          PoolText("1. 构建程序时须同时构建 TARN 组件模块\r\n"
                   "2. 由构建生成的压缩模块须嵌入程序\r\n"
                   "3. 或者拷贝 TARN.dll/TARN.fne 到程序所在目录")};
}

std::string FailureBoxText(const LoadFailure& failure) {
  const std::string rule = "====================================\r\n";
  return rule + "= TARN" + kComponentVersion + PoolText(" 加载失败") + "\r\n" + rule +
         PoolText("[原因] ") + failure.reason + "\r\n" + PoolText("[解决] ") + failure.hint;
}

const char* FailureBoxCaption() { return PoolText("[TARN] 载入失败"); }

}  // namespace vlmr::component
