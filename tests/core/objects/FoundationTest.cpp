// The shared foundation: 1252 literals, the formatter, streams, dates, class descriptors, GUIDs.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "core/values/Ansi1252.h"
#include "core/objects/ClassDescriptor.h"
#include "core/values/DateTime.h"
#include "core/values/Format.h"
#include "core/objects/Interfaces.h"
#include "core/serial/Streams.h"

TEST(Ansi1252Literal, TurnsUtf8SourceIntoWindows1252Bytes) {
  constexpr std::string_view text = "Application déjà lancée"_ansi;
  EXPECT_EQ(text, std::string_view("Application d\xE9j\xE0 lanc\xE9" "e"));
  EXPECT_EQ("€Œ"_ansi, std::string_view("\x80\x8C"));
  EXPECT_EQ(""_ansi.size(), 0u);
}

TEST(FormatDirectives, TableOfCases) {
  struct Case { std::string expected, actual; };
  const Case cases[] = {
      {"[    12 ] ", Format("[ %5d ] ", {12})},
      {"-0042", Format("%.4d", {-42})},
      {"ab  |", Format("%-4s|", {"ab"})},
      {"  ab", Format("%*s", {4, "ab"})},
      {"abc", Format("%.3s", {"abcdef"})},
      {"FF 00FF", Format("%x %.4x", {255, 255})},
      {"1.50", Format("%f", {1.5})},
      {"1,234,567.9", Format("%.1n", {1234567.89})},
      {"1.5", Format("%g", {1.5})},
      {"b a", Format("%1:s %0:s", {"a", "b"})},
      {"100%", Format("%d%%", {100})},
      {"4294967295", Format("%u", {-1})},
      {"1.50000000000000E+003", Format("%e", {1500.0})},
      {"    ", Format("%4s", {""})},
      {"0.00", Format("%.2f", {-0.001})},  // no negative zero
      {"1E15 100000000000000", Format("%g %g", {1e15, 1e14})},  // 15 digits switch to the exponent
      {"0.00001 1E-6", Format("%g %g", {0.00001, 0.000001})},
      {"0", Format("%d", {0})},
      {"", Format("%.0s", {"abc"})},
      {"0000000000001234", Format("%p", {reinterpret_cast<const void*>(uintptr_t{0x1234})})},
      {"|", Format("|%.*s", {-1, "ab"})},  // a negative "*" counts as 0
      {"FFFFFFFF", Format("%x", {-1})},
  };
  for (const auto& c : cases) EXPECT_EQ(c.expected, c.actual);
}

TEST(FormatDirectives, BadDirectiveOrMissingArgumentRaises) {
  EXPECT_THROW(Format("%d", {"text"}), EConvertError);
  EXPECT_THROW(Format("%s", {3}), EConvertError);
  EXPECT_THROW(Format("%s %s", {"one"}), EConvertError);
  EXPECT_THROW(Format("%q", {1}), EConvertError);
  EXPECT_THROW(Format("50%", {}), EConvertError);
}

TEST(Streams, MemoryStreamReadsWritesAndSeeks) {
  TMemoryStream m;
  m.WriteBuffer("hello", 5);
  EXPECT_EQ(m.Size(), 5);
  m.SetPosition(1);
  char buf[4] = {};
  m.ReadBuffer(buf, 3);
  EXPECT_EQ(std::string(buf, 3), "ell");
  EXPECT_EQ(m.Remaining(), 1);
  EXPECT_THROW(m.ReadBuffer(buf, 2), EReadError);
  m.Seek(-2, TSeekOrigin::soEnd);
  m.WriteBuffer("LOWORLD", 7);
  EXPECT_EQ(m.AsString(), "helLOWORLD");
}

TEST(Streams, FileStreamCreatesReopensAndReportsMissingFiles) {
  auto path = (std::filesystem::temp_directory_path() / "nv_stream_test.bin").string();
  {
    TFileStream f(path, fmCreate);
    f.WriteBuffer("abcdef", 6);
  }
  {
    TFileStream f(path, fmOpenReadWrite);
    EXPECT_EQ(f.Size(), 6);
    f.Seek(2, TSeekOrigin::soBeginning);
    char c[2];
    f.ReadBuffer(c, 2);
    EXPECT_EQ(std::string(c, 2), "cd");
  }
  std::filesystem::remove(path);
  EXPECT_THROW(TFileStream(path, fmOpenRead), EFOpenError);
  EXPECT_THROW(TFileStream("/nonexistent-dir/x", fmCreate), EFCreateError);
}

TEST(DateTimeValues, DaysCountFrom30December1899) {
  EXPECT_EQ(DateTime::EncodeDate(1899, 12, 30), 0.0);
  EXPECT_EQ(DateTime::EncodeDate(1900, 1, 1), 2.0);
  EXPECT_EQ(DateTime::EncodeDate(2000, 3, 1), 36586.0);
  int y;
  unsigned m, d, h, n, s, ms;
  DateTime::DecodeDate(36586.75, y, m, d);
  DateTime::DecodeTime(36586.75, h, n, s, ms);
  EXPECT_EQ(y, 2000);
  EXPECT_EQ(m, 3u);
  EXPECT_EQ(d, 1u);
  EXPECT_EQ(h, 18u);
  EXPECT_EQ(n, 0u);
  DateTime::SetClock([] { return 42.5; });
  EXPECT_EQ(DateTime::Now(), 42.5);
  DateTime::SetClock(nullptr);
  EXPECT_GT(DateTime::Now(), DateTime::EncodeDate(2020, 1, 1));
}

namespace {
class TAnimal : public TObject {
  NV_DECLARE_CLASS(TAnimal)
 public:
  TAnimal() { ++constructed; }
  explicit TAnimal(TBlank) {}
  static inline int constructed = 0;
};
class TChat : public TAnimal {
  NV_DECLARE_CLASS(TChat)
 public:
  using TAnimal::TAnimal;
};
NV_DEFINE_ABSTRACT_CLASS(TAnimal, TObject)
NV_DEFINE_CLASS(TChat, TAnimal)
}  // namespace

TEST(ClassDescriptors, NameParentInheritanceAndBlankCreation) {
  EXPECT_EQ(TChat::StaticClass()->ClassName(), "TChat");
  EXPECT_EQ(TChat::StaticClass()->ClassParent(), TAnimal::StaticClass());
  EXPECT_TRUE(TChat::StaticClass()->InheritsFrom(TObject::StaticClass()));
  EXPECT_FALSE(TAnimal::StaticClass()->InheritsFrom(TChat::StaticClass()));
  EXPECT_TRUE(TAnimal::StaticClass()->IsAbstract());
  EXPECT_EQ(TAnimal::StaticClass()->NewBlank(), nullptr);
  int before = TAnimal::constructed;
  TObject* blank = TChat::StaticClass()->NewBlank();
  EXPECT_EQ(TAnimal::constructed, before);  // the ordinary constructor did not run
  EXPECT_EQ(blank->ClassName(), "TChat");
  EXPECT_NE(ObjectAs<TAnimal>(blank), nullptr);
  delete blank;
}

TEST(Guids, ParsedFromTextAndWrittenBack) {
  constexpr TGUID g = MakeGUID("{2976B4CE-F0DA-4151-81AC-A00A6696ECA1}");
  EXPECT_EQ(g.D1, 0x2976B4CEu);
  EXPECT_EQ(g.ToString(), "{2976B4CE-F0DA-4151-81AC-A00A6696ECA1}");
  auto b = g.Bytes();
  EXPECT_EQ(b[0], 0xCE);
  EXPECT_EQ(b[8], 0x81);
}
