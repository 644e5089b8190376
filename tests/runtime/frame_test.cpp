// The call frame's memory rules, fatal reports and property access.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/codepage.h"
#include "runtime/declared_functions.h"
#include "runtime/launcher_ids.h"
#include "runtime/recording_window_system.h"
#include "runtime/rt_blocks.h"
#include "runtime/rt_heap.h"
#include "runtime/runtime_frame.h"
#include "support/exit_status.h"

namespace vlmr::rt {
namespace {

using namespace literals;
using testing::ExitedWithCode;

TEST(TextRules, EmptyTextIsNullAndJoinOfNullsAllocatesOneByte) {
  EXPECT_EQ(NewText(""), nullptr);
  EXPECT_EQ(text_length(nullptr), 0);
  EXPECT_EQ(compare_texts(nullptr, ""), 0);
  EXPECT_LT(compare_texts(nullptr, "a"), 0);

  char* joined = join_texts({nullptr, nullptr});
  ASSERT_NE(joined, nullptr);
  EXPECT_FALSE(InConstantPool(joined));
  EXPECT_EQ(joined[0], '\0');
  rt_free(joined);

  Text abc(join_texts({"a", nullptr, "bc"}));
  EXPECT_EQ(abc.view(), "abc");
}

TEST(TextRules, ByteArraysHoldLengthAndEmptyIsNull) {
  EXPECT_EQ(NewByteArray("x", 0), nullptr);
  EXPECT_EQ(NewByteArray("x", -5), nullptr);
  Bytes bytes(NewByteArray("hello", 5));
  EXPECT_EQ(bytes.size(), 5);
  EXPECT_EQ(bytes.view(), "hello");
  int32_t header[2];
  std::memcpy(header, bytes.get(), sizeof header);
  EXPECT_EQ(header[0], 1);
  EXPECT_EQ(header[1], 5);
  EXPECT_EQ(compare_bytes("ab", "ac", 0), 0);
  EXPECT_LT(compare_bytes("ab", "ac", 2), 0);
}

TEST(ConstantPool, LiteralsAreGbkInternedAndIgnoredByFree) {
  const char* caption = "提示"_t;
  EXPECT_TRUE(InConstantPool(caption));
  EXPECT_EQ(std::string(caption), "\xCC\xE1\xCA\xBE");  // GBK bytes of 提示
  EXPECT_EQ(caption, "提示"_t);                           // one address per literal
  rt_free(const_cast<char*>(caption));                   // harmless
  EXPECT_EQ(std::string(caption), "\xCC\xE1\xCA\xBE");
}

TEST(ConstantPool, ReallocOfAPoolPointerCopiesIntoTheHeap) {
  const char* literal = "abcdef"_t;
  auto* copy = static_cast<char*>(rt_realloc(const_cast<char*>(literal), 4));
  EXPECT_FALSE(InConstantPool(copy));
  EXPECT_EQ(std::string(copy, 4), "abcd");
  copy = static_cast<char*>(rt_realloc(copy, 64));  // an ordinary heap block grows
  EXPECT_EQ(std::string(copy, 4), "abcd");
  rt_free(copy);
}

TEST(ConstantPool, ArraysInThePoolAreCopiedBeforeWriting) {
  const int32_t block[] = {1, 3, 10, 20, 30};
  void* array = const_cast<void*>(PoolBytes(block, sizeof block));
  void* original = array;
  MakeArrayWritable(4, &array);
  ASSERT_NE(array, original);
  EXPECT_FALSE(InConstantPool(array));
  EXPECT_EQ(array_count(array), 3);
  EXPECT_EQ(std::memcmp(array, block, sizeof block), 0);
  void* heapArray = array;
  runtime_service(kServiceMakeArrayWritable, 4, reinterpret_cast<intptr_t>(&array));
  EXPECT_EQ(array, heapArray);  // already writable: left alone
  rt_free(array);
}

TEST(SupportRoutines, ArraysAndTruncation) {
  TextArray pieces(NewTextArray({"one", "", "three"}));
  EXPECT_EQ(pieces.size(), 3);
  EXPECT_EQ(pieces[0], "one");
  EXPECT_EQ(pieces[1], "");
  EXPECT_STREQ(pieces.At(3, 0, 0), "three");
  EXPECT_EQ(array_count(nullptr), 0);
  EXPECT_EQ(array_data(static_cast<void*>(nullptr)), nullptr);

  EXPECT_EQ(to_int64(2.9), 2);
  EXPECT_EQ(to_int64(-2.9), -2);
  EXPECT_EQ(to_int64(1e300), INT64_MIN);
}

TEST(ProgramDirectory, IsTheExecutablesFolderWhateverItsNameEndsIn) {
  const std::pair<std::string, std::string> cases[] = {
      {"\\tmp\\game\\vlmr-launcher", "\\tmp\\game"},
      {"\\tmp\\\xD3\xCE\xCF\xB7\x80\\vlmr-launcher", "\\tmp\\\xD3\xCE\xCF\xB7\x80"},  // 游戏€
      {"\\tmp\\x\xFF\\vlmr-launcher", "\\tmp\\x\xFF"},
      {"\\tmp\\\x95\x5C\\vlmr-launcher", "\\tmp\\\x95\x5C"},  // a trail byte 0x5C is no separator
      {"vlmr-launcher", ""},
  };
  for (const auto& [executable, folder] : cases) EXPECT_EQ(ProgramDirectoryOf(executable), folder);
}

TEST(CommandCall, ZeroesTheResultAndPassesArgumentsInOrder) {
  static int32_t seenCount;
  static int32_t seenFirst;
  CommandFn command = [](RtValue* result, int32_t count, RtValue* args) {
    seenCount = count;
    seenFirst = args[0].AsInt();
    EXPECT_EQ(result->payload, 0u);
    EXPECT_EQ(result->type, 0u);
    *result = RtValue::Int(args[0].AsInt() + args[1].AsInt());
  };
  RtValue args[] = {RtValue::Int(40), RtValue::Int(2)};
  RtValue result = call_library_command(7, command, 2, args);
  EXPECT_EQ(seenCount, 2);
  EXPECT_EQ(seenFirst, 40);
  EXPECT_EQ(result.AsInt(), 42);
  EXPECT_EQ(result.Type(), RtType::Int);
  RtValue nothing = call_core_command([](RtValue*, int32_t, RtValue*) {}, 0, nullptr);
  EXPECT_EQ(nothing.payload, 0u);
  EXPECT_EQ(nothing.type, 0u);
}

TEST(FatalReport, LayoutWithCodeMessageAndLocation) {
  std::string report = FatalReportText(4, PoolText("数组成员引用下标必须大于等于1"), 12, 34);
  EXPECT_EQ(platform::GbkToUtf8(report),
            "运行时出错!\r\n\r\n错误代码：4\r\n\r\n错误信息：数组成员引用下标必须大于等于1\r\n"
            "\r\n12, 34\r\n");
}

TEST(FatalReport, NamesAWindowThatIsNotLoaded) {
  std::string report = FatalReportText(0, "", ids::kLauncherWindow + 0x100, 5);
  EXPECT_NE(platform::GbkToUtf8(report).find("未找到所指定的窗口\r\n"), std::string::npos);
}

TEST(FatalReportDeathTest, TextArrayIndexBelowOneAndBeyondCount) {
  TextArray pieces(NewTextArray({"a"}));
  EXPECT_EXIT(pieces.At(0, 1, 2), ExitedWithCode(test::ExitStatusOfMinusOne()), "错误: 运行时出错!.*错误代码：4");
  EXPECT_EXIT(pieces.At(2, 1, 2), ExitedWithCode(test::ExitStatusOfMinusOne()), "错误代码：1.*超出定义范围");
}

TEST(FatalReportDeathTest, PropertyOfAWindowNeverLoaded) {
  EXPECT_EXIT(get_property(0x52019999, ids::kStatusLabel, ids::kSlotText, -1),
              ExitedWithCode(test::ExitStatusOfMinusOne()), "未载入欲访问窗口组件所在的窗口");
}

TEST(FatalReportDeathTest, LoadFailureAndAllocationFailure) {
  EXPECT_EXIT(rt_alloc(-1), ExitedWithCode(test::ExitStatusOfMinusOne()), "分配 -1 字节内存失败!");
}

TEST(DeclaredFunctionsDeathTest, MissingFunctionEndsTheProgramWithItsNames) {
  EXPECT_EXIT(
      {
        ReplaceDeclaredEntry(kDeclStrlen, {"msvcrt.dll", "NoSuchFunction"});
        ResolveDeclared(kDeclStrlen);
      },
      ExitedWithCode(test::ExitStatusOfMinusOne()), "无法找到指定DLL库文件“msvcrt.dll”中的输出命令“NoSuchFunction”");
  EXPECT_EXIT(
      {
        ReplaceDeclaredEntry(kDeclStrlen, {"", "NoSuchFunction"});
        ResolveDeclared(kDeclStrlen);
      },
      ExitedWithCode(test::ExitStatusOfMinusOne()), "无法找到指定DLL库文件中的输出命令“NoSuchFunction”");
}

TEST(DeclaredFunctions, ResolvesByNameOrdinalAndSystemLibrarySearch) {
  PrepareDeclaredFunctions();
  auto length = call_declared<size_t>(kDeclStrlen, "four");
  EXPECT_EQ(length, 4u);
  // An empty library name searches the six system libraries: user32 has it.
  ASSERT_NE(ResolveDeclared(kDeclCallWindowProcA), nullptr);
  ReplaceDeclaredEntry(kDeclStrlen, {"MSVCRT.DLL", "strlen"});
  EXPECT_EQ(call_declared<size_t>(kDeclStrlen, "abc"), 3u);
  PrepareDeclaredFunctions();
}

TEST(PropertyAccess, ReachesTheInstalledWindowSystem) {
  RecordingWindowSystem windows;
  windows.AddWindow(ids::kLauncherWindow, {ids::kProgressBar});
  InstallWindowSystem(&windows);
  set_property(ids::kLauncherWindow, ids::kProgressBar, ids::kSlotPosition, -1, 66, 0);
  EXPECT_EQ(get_property(ids::kLauncherWindow, ids::kProgressBar, ids::kSlotPosition, -1), 66u);
  InstallWindowSystem(nullptr);
}

}  // namespace
}  // namespace vlmr::rt
