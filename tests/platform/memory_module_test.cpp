// The in-memory loader against real DLLs built by MinGW-w64 (test_image.c):
// mapping at the preferred base and elsewhere, relocation, imports from the
// system libraries, TLS callback and entry point, export lookup, and the
// refusals that leave nothing mapped. Images of another machine than this
// process's are mapped all the same; only their code is not run.
#include "platform/memory_module.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/system_info.h"
#include "support/temp_dir.h"

#if defined(__x86_64__)
#define IMAGE_CALL __attribute__((ms_abi))
#else
#define IMAGE_CALL __attribute__((stdcall))
#endif

namespace vlmr::platform {
namespace {

constexpr uintptr_t kPreferredBase = 0x10000000;

std::string ImageBytes(const std::string& file) {
  const std::string self = ExecutablePath();
  const std::filesystem::path tests = std::filesystem::path(std::u8string(self.begin(), self.end())).parent_path();
  const std::filesystem::path path = tests / "memory-module-images" / file;
  return std::filesystem::exists(path) ? test::ReadFileBytes(path) : std::string();
}

// Every call into the image, passed on to the system when its code can run here.
struct EntryCall {
  uintptr_t function;
  uint32_t reason;
  bool operator==(const EntryCall&) const = default;
};

struct Machine {
  const char* name;
  uint16_t machine;
};

void PrintTo(const Machine& m, std::ostream* out) { *out << m.name; }

class MemoryModuleTest : public testing::TestWithParam<Machine> {
 protected:
  void SetUp() override {
    image_ = ImageBytes(std::string("image-") + GetParam().name + ".dll");
    if (image_.empty()) {
      GTEST_SKIP() << "no " << GetParam().name << " test image: built where MinGW-w64 for it is installed, "
                   << "and in a Windows build for its own machine only";
    }
    services_ = SystemModuleServices();
    services_.machine = GetParam().machine;
    services_.user = this;
    services_.loadLibrary = [](const char* name, void* user) {
      void* library = SystemModuleServices().loadLibrary(name, nullptr);
      if (library != nullptr) ++static_cast<MemoryModuleTest*>(user)->librariesHeld_;
      return library;
    };
    services_.freeLibrary = [](void* library, void* user) {
      --static_cast<MemoryModuleTest*>(user)->librariesHeld_;
      SystemModuleServices().freeLibrary(library, nullptr);
    };
    services_.callEntry = [](const void* function, void* base, uint32_t reason, void* user) {
      auto* self = static_cast<MemoryModuleTest*>(user);
      self->calls_.push_back({reinterpret_cast<uintptr_t>(function), reason});
      return self->CanRun() ? SystemModuleServices().callEntry(function, base, reason, nullptr) : 1;
    };
  }
  void TearDown() override {
    for (MemoryModule* module : loaded_) ReleaseMemoryModule(module);
    EXPECT_EQ(librariesHeld_, 0) << "every library loaded for the imports is freed once";
  }

  bool CanRun() const { return GetParam().machine == SystemModuleServices().machine; }
  bool Is64() const { return GetParam().machine == kMachineAmd64; }

  MemoryModule* Load(const std::string& image) {
    MemoryModule* module = LoadMemoryModule(image.data(), image.size(), services_);
    if (module != nullptr) loaded_.push_back(module);
    return module;
  }
  void Release(MemoryModule* module) {
    std::erase(loaded_, module);
    ReleaseMemoryModule(module);
  }
  uintptr_t Export(MemoryModule* module, const char* name) {
    return reinterpret_cast<uintptr_t>(FindMemoryModuleExport(module, name));
  }
  // The address stored at an exported pointer variable.
  uintptr_t PointerAt(uintptr_t address) {
    uint64_t value = 0;
    std::memcpy(&value, reinterpret_cast<const void*>(address), Is64() ? 8 : 4);
    return static_cast<uintptr_t>(value);
  }
  void ExpectLoadsAtThePreferredBase() {
    MemoryModule* module = Load(image_);
    ASSERT_NE(module, nullptr) << LastMemoryModuleError();
    EXPECT_EQ(reinterpret_cast<uintptr_t>(MemoryModuleBase(module)), kPreferredBase);
    Release(module);
  }

  std::string image_;
  MemoryModuleServices services_;
  std::vector<EntryCall> calls_;
  std::vector<MemoryModule*> loaded_;
  int librariesHeld_ = 0;
};

TEST_P(MemoryModuleTest, MapsAtThePreferredBaseRunsTheTlsCallbackThenTheEntryAndDetachesOnRelease) {
  MemoryModule* module = Load(image_);
  ASSERT_NE(module, nullptr) << LastMemoryModuleError();
  EXPECT_EQ(reinterpret_cast<uintptr_t>(MemoryModuleBase(module)), kPreferredBase);
  const uintptr_t tls = Export(module, "OnTls");
  const uintptr_t entry = Export(module, "DllMain");
  EXPECT_EQ(calls_, (std::vector<EntryCall>{{tls, 1}, {entry, 1}}));
  EXPECT_EQ(PointerAt(Export(module, "answer_address")), Export(module, "answer_value"));
  const auto* zeroes = reinterpret_cast<const char*>(Export(module, "zeroes"));
  EXPECT_EQ(std::string(zeroes, 3 * 4096), std::string(3 * 4096, '\0'));

  int32_t detaches = 0;
  if (CanRun()) {
    EXPECT_EQ(*reinterpret_cast<const int32_t*>(Export(module, "tls_attaches")), 1);
    EXPECT_EQ(*reinterpret_cast<const int32_t*>(Export(module, "entry_attaches")), 1);
    using Send = int(IMAGE_CALL*)(int, int);
    EXPECT_EQ(reinterpret_cast<Send>(Export(module, "ControlSendMessage"))(7, 3), 7003);
    using Tick = void*(IMAGE_CALL*)();
    const MemoryModuleServices& system = SystemModuleServices();
    void* kernel32 = system.loadLibrary("KERNEL32.dll", nullptr);
    EXPECT_EQ(reinterpret_cast<Tick>(Export(module, "TickCountImport"))(),
              system.getProcedure(kernel32, "GetTickCount", 0, nullptr));
    system.freeLibrary(kernel32, nullptr);
    using Count = void(IMAGE_CALL*)(int32_t*);
    reinterpret_cast<Count>(Export(module, "CountDetachesIn"))(&detaches);
  }
  Release(module);
  EXPECT_EQ(calls_.back(), (EntryCall{entry, 0}));
  if (CanRun()) {
    EXPECT_EQ(detaches, 1);
  }
  ExpectLoadsAtThePreferredBase();  // the release gave the whole range back
}

TEST_P(MemoryModuleTest, WhereThePreferredBaseIsTakenEveryAddressIsRelocated) {
  MemoryModule* first = Load(image_);
  ASSERT_NE(first, nullptr) << LastMemoryModuleError();
  MemoryModule* second = Load(image_);
  ASSERT_NE(second, nullptr) << LastMemoryModuleError();
  const auto base = reinterpret_cast<uintptr_t>(MemoryModuleBase(second));
  EXPECT_NE(base, kPreferredBase);
  ASSERT_EQ(calls_.size(), 4u);
  EXPECT_EQ(PointerAt(Export(second, "answer_address")), Export(second, "answer_value"));
  // The TLS callback list holds absolute addresses too.
  EXPECT_EQ(calls_[2], (EntryCall{Export(second, "OnTls"), 1}));
  EXPECT_GE(calls_[2].function, base);
  if (CanRun()) {
    EXPECT_EQ(*reinterpret_cast<const int32_t*>(Export(second, "entry_attaches")), 1);
  }
}

TEST_P(MemoryModuleTest, ExportsAreFoundByExactNameOrByOrdinal) {
  MemoryModule* module = Load(image_);
  ASSERT_NE(module, nullptr);
  const auto ordinal = [](uintptr_t n) { return reinterpret_cast<const char*>(n); };
  EXPECT_NE(Export(module, "ControlSendMessage"), 0u);
  EXPECT_EQ(Export(module, "ControlSendMessage"), Export(module, ordinal(5)));
  EXPECT_EQ(Export(module, "OnTls"), Export(module, ordinal(14)));
  for (const char* missing : {"controlsendmessage", "ControlSendMessag", "ControlSendMessageX", ordinal(4),
                              ordinal(15)}) {
    EXPECT_EQ(Export(module, missing), 0u);
    EXPECT_EQ(LastMemoryModuleError(), kErrorProcNotFound);
  }
}

// Offsets of the header fields the refusals change.
struct Fields {
  explicit Fields(const std::string& image, bool is64) {
    std::memcpy(&nt, image.data() + 0x3C, 4);
    directories = nt + 24 + (is64 ? 112 : 96);
  }
  uint32_t nt;
  uint32_t directories;
  uint32_t Machine() const { return nt + 4; }
  uint32_t SectionAlignment() const { return nt + 24 + 32; }
  uint32_t SizeOfImage() const { return nt + 24 + 56; }
  uint32_t Directory(int index) const { return directories + 8 * index; }
};

void Poke32(std::string& image, size_t at, uint32_t value) { std::memcpy(image.data() + at, &value, 4); }
uint32_t Peek32(const std::string& image, size_t at) {
  uint32_t value;
  std::memcpy(&value, image.data() + at, 4);
  return value;
}
void Rename(std::string& image, const std::string& from, const std::string& to) {
  image.replace(image.find(from), from.size(), to);
}

TEST_P(MemoryModuleTest, BrokenImagesAreRefusedWithTheirErrorAndLeaveNothingMapped) {
  const Fields f(image_, Is64());
  const uint32_t imageSize = Peek32(image_, f.SizeOfImage());
  struct Case {
    const char* name;
    std::function<void(std::string&)> breakIt;
    uint32_t error;
  };
  const Case cases[] = {
      {"shorter than the DOS header", [](std::string& i) { i.resize(63); }, kErrorInvalidData},
      {"no MZ", [](std::string& i) { i[0] = 'X'; }, kErrorBadExeFormat},
      {"cut inside the NT headers", [&](std::string& i) { i.resize(f.nt + 100); }, kErrorInvalidData},
      {"another machine", [&](std::string& i) { Poke32(i, f.Machine(), Is64() ? 0x014C : 0x8664); },
       kErrorBadExeFormat},
      {"odd section alignment", [&](std::string& i) { Poke32(i, f.SectionAlignment(), 0x1001); }, kErrorBadExeFormat},
      {"image size past its sections", [&](std::string& i) { Poke32(i, f.SizeOfImage(), imageSize + 0x10000); },
       kErrorBadExeFormat},
      {"last section cut short", [](std::string& i) { i.resize(i.size() - 16); }, kErrorInvalidData},
      {"import table outside the image", [&](std::string& i) { Poke32(i, f.Directory(1), imageSize - 8); },
       kErrorInvalidData},
      {"export table outside the image", [&](std::string& i) { Poke32(i, f.Directory(0), imageSize - 8); },
       kErrorInvalidData},
      {"TLS directory outside the image", [&](std::string& i) { Poke32(i, f.Directory(9), imageSize + 0x1000); },
       kErrorInvalidData},
      {"a library that is not there", [](std::string& i) { Rename(i, "KERNEL32.dll", "KERNEX32.dll"); },
       kErrorModNotFound},
      {"a function its library lacks", [](std::string& i) { Rename(i, "GetTickCount", "GetTickCounX"); },
       kErrorProcNotFound},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string broken = image_;
    c.breakIt(broken);
    calls_.clear();
    EXPECT_EQ(Load(broken), nullptr);
    EXPECT_EQ(LastMemoryModuleError(), c.error);
    EXPECT_TRUE(calls_.empty());
    ExpectLoadsAtThePreferredBase();
  }

  if (!CanRun()) return;  // the refusal is the entry point's own code
  SCOPED_TRACE("entry point refuses the attach");
  const std::string refusing = ImageBytes(std::string("refusing-") + GetParam().name + ".dll");
  calls_.clear();
  EXPECT_EQ(Load(refusing), nullptr);
  EXPECT_EQ(LastMemoryModuleError(), kErrorDllInitFailed);
  // The TLS callback told of the attach and then of the detach; the entry
  // point, which refused, of the attach only.
  ASSERT_EQ(calls_.size(), 3u);
  EXPECT_EQ(calls_[1].reason, 1u);
  EXPECT_EQ(calls_[2], (EntryCall{calls_[0].function, 0}));
  ExpectLoadsAtThePreferredBase();
}

TEST_P(MemoryModuleTest, ImagesWhoseRelocationsCannotBeAppliedAreRefusedWhenTheyMustMove) {
  MemoryModule* first = Load(image_);
  ASSERT_NE(first, nullptr);
  const Fields f(image_, Is64());
  const uint32_t imageSize = Peek32(image_, f.SizeOfImage());
  std::string outside = image_;
  Poke32(outside, f.Directory(5), imageSize - 4);
  EXPECT_EQ(Load(outside), nullptr);
  EXPECT_EQ(LastMemoryModuleError(), kErrorInvalidData);
  std::string none = image_;
  Poke32(none, f.Directory(5) + 4, 0);  // no relocation data: its addresses cannot move
  EXPECT_EQ(Load(none), nullptr);
  EXPECT_EQ(LastMemoryModuleError(), kErrorBadExeFormat);
}

INSTANTIATE_TEST_SUITE_P(Machines, MemoryModuleTest,
                         testing::Values(Machine{"amd64", kMachineAmd64}, Machine{"i386", kMachineI386}),
                         [](const testing::TestParamInfo<Machine>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vlmr::platform
