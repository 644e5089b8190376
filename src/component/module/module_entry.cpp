// The module's two exported entries: the notification entry, through which
// the launcher's runtime hands over its callback, and the information entry,
// which hands back the record with the command table.
#include "component/module/command_table.h"
#include "component/module/host_heap.h"
#include "component/module_info.h"

namespace {

using namespace vlmr;

const component::ModuleInfo kInfo = {
    component::kModuleInfoFormat,
    sizeof(component::ModuleInfo),
    "TARN",
    "2.7.2",
    "server suite: caches, text files",
    component::kCommandCount,
    component::CommandTable().data(),
};

}  // namespace

extern "C" intptr_t tarn_ProcessNotifyLib(int32_t code, intptr_t p1, intptr_t /*p2*/) {
  if (code != rt::kNotifyRuntimeCallback) return 0;
  component::host::SetRuntimeCallback(reinterpret_cast<rt::RuntimeCallback>(p1));
  return 1;
}

extern "C" const component::ModuleInfo* GetNewInf() { return &kInfo; }
