// Fatal errors of the call frame and the end of the program.
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

#include "runtime/declared_functions.h"
#include "runtime/rt_heap.h"
#include "runtime/runtime_frame.h"
#include "runtime/window_system.h"

namespace vlmr::rt {
namespace {

const char* CodeMessage(int32_t code) {
  switch (code) {
    case 1: return PoolText("数组成员引用下标超出定义范围");
    case 2: return PoolText("未得到所需要的数值型数据");
    case 3: return PoolText("引用数组成员时维数不为1且不等于该数组目前所具有的维数");
    case 4: return PoolText("数组成员引用下标必须大于等于1");
    case 5: return PoolText("数据或数组类型不匹配");
    case 6: return PoolText("调用DLL命令后发现堆栈错误");
    case 7: return PoolText("子语句参数未返回数据或者返回了非系统基本类型或数组型数据");
    case 8: return PoolText("被比较数据只能使用等于或不等于命令比较");
    case 9: return PoolText("“多项选择”命令的索引值参数小于零或超出了所提供参数表范围");
    case 10: return PoolText("“重定义数组”命令的数组维定义参数值必须大于零或单维时大于等于零");
    case 11: return PoolText("所提供参数的数据类型不符合要求");
    default: return "";
  }
}

// Bits 24-27 of a window id hold 2.
bool IsWindowId(uint32_t word) { return ((word >> 24) & 0x0F) == 2; }

std::string LocationPart(uint32_t loc1, uint32_t loc2) {
  std::string part = "\r\n" + std::to_string(static_cast<int32_t>(loc1)) + ", " +
                     std::to_string(static_cast<int32_t>(loc2));
  if (!IsWindowId(loc1)) return part;
  WindowSystem& windows = CurrentWindowSystem();
  if (!windows.IsWindowLoaded(loc1)) return part + "\r\n" + PoolText("未找到所指定的窗口");
  part += "\r\n\"" + windows.WindowName(loc1) + "\"";
  if (windows.HasControl(loc1, loc2)) return part + "\r\n\"" + windows.ControlName(loc1, loc2) + "\"";
  return part + "\r\n" + PoolText("未找到所指定的窗口组件");
}

std::mutex& EndRoutinesMutex() {
  static auto* m = new std::mutex();
  return *m;
}
std::vector<void (*)()>& EndRoutines() {
  static auto* routines = new std::vector<void (*)()>();
  return *routines;
}

}  // namespace

std::string FatalReportText(int32_t code, const std::string& gbkMessage, uint32_t loc1,
                            uint32_t loc2) {
  std::string report = std::string(PoolText("运行时出错!")) + "\r\n";
  if (code != 0) report += "\r\n" + std::string(PoolText("错误代码：")) + std::to_string(code) + "\r\n";
  if (!gbkMessage.empty()) report += "\r\n" + std::string(PoolText("错误信息：")) + gbkMessage + "\r\n";
  report += LocationPart(loc1, loc2);
  return report + "\r\n";
}

[[noreturn]] static void ReportAndEnd(int32_t code, const std::string& message, uint32_t loc1,
                                      uint32_t loc2) {
  static std::atomic<bool> reporting{false};
  if (reporting.exchange(true)) end_program(-1);  // a fault inside the report itself
  std::string report = FatalReportText(code, message, loc1, loc2);
  ShowMessageBox(report.c_str(), kMbIconError, PoolText("错误"));
  end_program(-1);
}

void fatal_error(int32_t code, uint32_t loc1, uint32_t loc2) {
  ReportAndEnd(code, CodeMessage(code), loc1, loc2);
}

void fatal_message(const std::string& gbkMessage, uint32_t loc1, uint32_t loc2) {
  ReportAndEnd(0, gbkMessage, loc1, loc2);
}

void RegisterEndRoutine(void (*routine)()) {
  std::lock_guard lock(EndRoutinesMutex());
  EndRoutines().push_back(routine);
}

void RunEndOfProgramCleanup() {
  static std::atomic<bool> done{false};
  if (done.exchange(true)) return;
  std::vector<void (*)()> routines;
  {
    std::lock_guard lock(EndRoutinesMutex());
    routines = EndRoutines();
  }
  for (auto routine : routines) routine();
  ReleaseDeclaredModules();
}

void end_program(int32_t exitCode) {
  RunEndOfProgramCleanup();
  std::fflush(nullptr);
  // _Exit: other threads (the update worker) may still run; static destructors
  // must not race with them.
  std::_Exit(exitCode);
}

}  // namespace vlmr::rt
