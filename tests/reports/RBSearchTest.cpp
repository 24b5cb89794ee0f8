#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "reports/RBSearch.h"

using namespace Metafichier;

namespace {

void Poser(std::vector<uint8_t>& o, std::size_t p, uint32_t v) { std::memcpy(o.data() + p, &v, 4); }

// An ANSI text record of the platform: the fixed part, then the bytes at offset 76.
std::vector<uint8_t> TexteAnsi(const std::string& t, uint32_t Compte) {
  std::vector<uint8_t> r(76 + ((t.size() + 3) & ~std::size_t{3}));
  Poser(r, 0, EMR_EXTTEXTOUTA);
  Poser(r, 4, static_cast<uint32_t>(r.size()));
  Poser(r, 44, Compte);
  Poser(r, 48, 76);
  std::memcpy(r.data() + 76, t.data(), t.size());
  return r;
}

// A page with a wide text drawn on its canvas and the ANSI records given, before its end record.
std::unique_ptr<TMetafile> Page(const std::string& Large, const std::vector<std::vector<uint8_t>>& Ansi) {
  TMetafile p(400, 300);
  {
    TMetafileCanvas c(p);
    c.Rectangle({0, 0, 10, 10});
    c.TextOut(10, 10, Large);
  }
  std::vector<uint8_t> o(p.Octets().begin(), p.Octets().end() - 20);
  for (const auto& r : Ansi) o.insert(o.end(), r.begin(), r.end());
  o.insert(o.end(), p.Octets().end() - 20, p.Octets().end());
  Poser(o, 48, static_cast<uint32_t>(o.size()));
  return TMetafile::LoadFromBytes(o.data(), o.size());
}

}  // namespace

TEST(RBSearch, FindsTextsInAnsiAndWideRecordsWithAndWithoutCase) {
  // Wide: "Élève Dupont"; ANSI: "Total: 12 ŒUVRES" and a text whose count covers only "abc".
  const auto page = Page("\xC9l\xE8ve Dupont", {TexteAnsi("Total: 12 \x8C" "UVRES", 16), TexteAnsi("abcdef", 3)});
  struct Cas {
    const char* Texte;
    bool Casse;
    bool Trouve;
  } cas[] = {
      {"\xC9l\xE8ve", true, true},       {"\xE9L\xC8VE", false, true},  {"\xE9L\xC8VE", true, false},
      {"dupont", false, true},           {"dupont", true, false},       {"Dupont", true, true},
      {"12 \x9C" "uvres", false, true},  {"12 \x9C" "uvres", true, false}, {"Total: 12", true, true},
      {"abc", true, true},               {"abcd", true, false},          {"def", false, false},
      {"Eleve", false, false},           {"", false, false},             {"Dupont Total", false, false},
  };
  for (const Cas& c : cas) {
    EXPECT_EQ(RBSearch::FindTextInPage(c.Texte, *page, c.Casse), c.Trouve) << c.Texte << " " << c.Casse;
    EXPECT_FALSE(RBSearch::SearchBusy());
  }
}

TEST(RBSearch, ATextRecordWhoseCountRunsPastItsEndIsNeverRead) {
  const std::vector<uint8_t> r = TexteAnsi("abcd", 5);
  std::string t;
  EXPECT_FALSE(TexteEnregistrement({EMR_EXTTEXTOUTA, r.data(), static_cast<uint32_t>(r.size())}, t));
  std::vector<uint8_t> w = TexteAnsi("abcd", 2);
  Poser(w, 0, EMR_EXTTEXTOUTW);
  EXPECT_TRUE(TexteEnregistrement({EMR_EXTTEXTOUTW, w.data(), static_cast<uint32_t>(w.size())}, t));
  EXPECT_EQ(t, "??");  // two 16-bit units 0x6261 and 0x6463, outside 1252
  Poser(w, 44, 3);
  EXPECT_FALSE(TexteEnregistrement({EMR_EXTTEXTOUTW, w.data(), static_cast<uint32_t>(w.size())}, t));
  // A page holding such a record does not load, so no search ever reads past a record.
  EXPECT_THROW((void)Page("x", {TexteAnsi("abcd", 5)}), EReadError);
}
