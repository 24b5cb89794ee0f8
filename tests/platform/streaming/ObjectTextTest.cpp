#include "platform/streaming/ObjectText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/objects/Exceptions.h"

namespace {

using ObjectText::TTextObject;
using ObjectText::TTextValue;

TTextObject Sample() {
  TTextObject report{"BandRep1", "TBandRep", {}, {}};
  report.Add("Left", TTextValue::OfInteger(-12));
  report.Add("Zoom", TTextValue::OfFloat(0.1));
  report.Add("Title", TTextValue::OfString("It's \"ours\"\r\n\xE9t\xE9"));
  report.Add("Empty", TTextValue::OfString(""));
  report.Add("Color", TTextValue::OfIdentifier("clWhite"));
  report.Add("Font.Style", TTextValue::OfSet({"fsBold", "fsItalic"}));
  report.Add("Options", TTextValue::OfSet({}));
  report.Add("Functions.Strings", TTextValue::OfStrings({"PAGENUMBER", "REPORTTITLE"}));
  report.Add("Functions.DATA", TTextValue::OfStrings({"0", "''''"}));
  report.Add("Widths", TTextValue::OfFloats({1.0, -0.0, 1e300, 5e-324, 1.0 / 3}));
  report.Add("None", TTextValue::OfStrings({}));
  TTextObject band{"Band1", "TRBBand", {}, {}};
  band.Add("Height", TTextValue::OfInteger(9223372036854775807));
  band.Children.push_back({"Label1", "TRBLabel", {{"Caption", TTextValue::OfString("x")}}, {}});
  report.Children.push_back(band);
  return report;
}

TEST(ObjectText, WritesNestedBlocksThatReadBackExactly) {
  const TTextObject report = Sample();
  const std::string text = ObjectText::Write(report);
  EXPECT_EQ(text.substr(0, 30), "object BandRep1: TBandRep\r\n  L");
  EXPECT_NE(text.find("  Title = 'It''s \"ours\"'#13#10#233't'#233\r\n"), std::string::npos);
  EXPECT_NE(text.find("  Functions.Strings = (\r\n    'PAGENUMBER'\r\n    'REPORTTITLE')\r\n"), std::string::npos);
  EXPECT_NE(text.find("  Font.Style = [fsBold, fsItalic]\r\n"), std::string::npos);
  EXPECT_NE(text.find("  Empty = ''\r\n"), std::string::npos);
  EXPECT_NE(text.find("  None = ()\r\n"), std::string::npos);
  EXPECT_NE(text.find("    object Label1: TRBLabel\r\n"), std::string::npos);
  const TTextObject back = ObjectText::Read(text);
  EXPECT_EQ(back, report);
  EXPECT_TRUE(std::signbit(back.Find("widths")->Value.Items[1].Float));
  EXPECT_EQ(back.Find("WIDTHS")->Value.Items[4].Float, 1.0 / 3);
  EXPECT_EQ(back.Find("nothing"), nullptr);
}

TEST(ObjectText, ReadsTheFormsOtherWritersUse) {
  const TTextObject o = ObjectText::Read(
      "  OBJECT Form1 : TForm\n"
      "\tCaption = 'Long ' +\n"
      "      'caption'#9'tab'\n"
      "    Euro = #8364\n"
      "    Ratio = +2.5E+3\n"
      "    Count = +7\n"
      "    Values = (1 2.5 'x')\n"
      "  End\n\n");
  EXPECT_EQ(o.Name, "Form1");
  EXPECT_EQ(o.Find("Caption")->Value.Text, "Long caption\ttab");
  EXPECT_EQ(o.Find("Euro")->Value.Text, "\x80");
  EXPECT_EQ(o.Find("Ratio")->Value, TTextValue::OfFloat(2500));
  EXPECT_EQ(o.Find("Count")->Value, TTextValue::OfInteger(7));
  ASSERT_EQ(o.Find("Values")->Value.Items.size(), 3u);
  EXPECT_EQ(o.Find("Values")->Value.Items[0], TTextValue::OfInteger(1));
}

TEST(ObjectText, EveryFaultIsAReadErrorNamingItsLine) {
  struct Case {
    const char* Text;
    const char* Message;
  };
  const Case kCases[] = {
      {"", "Line 1: \"object\" was expected"},
      {"object A: T\r\n", "Line 2: \"end\" was expected"},
      {"object A T\nend", "Line 1: \":\" and a class name were expected"},
      {"object A: T\n  X 1\nend", "Line 2: \"=\" was expected after X"},
      {"object A: T\n  X = 'abc\nend", "Line 2: unterminated text"},
      {"object A: T\n  X = #\nend", "Line 2: a character code was expected after #"},
      {"object A: T\n  X = #70000\nend", "Line 2: a character code was expected after #"},
      {"object A: T\n  X = 99999999999999999999\nend", "Line 2: invalid integer 99999999999999999999"},
      {"object A: T\n  X = 1.2.3\nend", "Line 2: invalid float 1.2.3"},
      {"object A: T\n  X = 1e999\nend", "Line 2: invalid float 1e999"},
      {"object A: T\n  X = {00FF}\nend", "Line 2: binary data is not read"},
      {"object A: T\n  X = <item end>\nend", "Line 2: collections are not read"},
      {"object A: T\n  X = (a)\nend", "Line 2: a list holds texts and numbers only"},
      {"object A: T\n  X = ('a'\n", "Line 3: \")\" was expected"},
      {"object A: T\n  X = [a b]\nend", "Line 2: \",\" or \"]\" was expected in a set"},
      {"object A: T\n  X = 'a' +\n 1\nend", "Line 3: a text was expected after +"},
      {"object A: T\nend\nend", "Line 3: text after the last end"},
  };
  for (const Case& c : kCases) {
    try {
      ObjectText::Read(c.Text);
      ADD_FAILURE() << c.Text;
    } catch (const EReadError& e) {
      EXPECT_EQ(e.Message(), c.Message) << c.Text;
    }
  }
  std::string deep;
  for (int i = 0; i < 100000; ++i) deep += "object A: T\n";
  EXPECT_THROW(ObjectText::Read(deep), EReadError);
  std::string fits;
  for (int i = 0; i < ObjectText::kMaxDepth; ++i) fits += "object A: T\n";
  for (int i = 0; i < ObjectText::kMaxDepth; ++i) fits += "end\n";
  EXPECT_NO_THROW(ObjectText::Read(fits));
}

TEST(ObjectText, AFloatThatIsNotFiniteIsNotWritten) {
  TTextObject o{"A", "T", {}, {}};
  o.Add("X", TTextValue::OfFloat(std::numeric_limits<double>::infinity()));
  EXPECT_THROW(ObjectText::Write(o), EWriteError);
}

TEST(ObjectText, TheTextsOfAListAreReadOnlyFromAListOfTexts) {
  EXPECT_EQ(ObjectText::Strings(TTextValue::OfStrings({"a", "b"}), "P"), (std::vector<std::string>{"a", "b"}));
  EXPECT_THROW(ObjectText::Strings(TTextValue::OfFloats({1}), "P"), EReadError);
  EXPECT_THROW(ObjectText::Strings(TTextValue::OfString("a"), "P"), EReadError);
}

}  // namespace
