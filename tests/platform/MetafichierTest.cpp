#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "core/objects/Exceptions.h"
#include "platform/gui/Metafichier.h"

using namespace Metafichier;

namespace {

// Draws every kind of call a page holds, with changes of pen, brush, font and clip between them.
void DessinerPage(TCanvas& C) {
  C.Brush.Color = Couleurs::RGB(250, 240, 230);
  C.FillRect({0, 0, 200, 100});
  C.Pen.Color = Couleurs::clRed;
  C.Pen.Width = 2;
  C.Rectangle({10, 10, 60, 40});
  C.Brush.Style = TBrushStyle::bsClear;
  C.Ellipse({70, 10, 120, 40});
  C.Pen.Style = TPenStyle::psDot;
  C.RoundRect({130, 10, 190, 40}, 12, 8);
  C.Brush = TBrush{Couleurs::clBlue, TBrushStyle::bsSolid};
  C.FrameRect({5, 50, 50, 90});
  C.Pen.Style = TPenStyle::psDash;
  C.MoveTo(60, 48);
  C.LineTo(140, 48);
  C.Pen = TPen{};
  C.MoveTo(0, 95);
  C.LineTo(199, 95);
  C.LineTo(199, 0);
  C.SetPixel(3, 4, Couleurs::clGreen);
  C.DefinirClip({20, 20, 180, 80});
  C.Font.Name = "Arial";
  C.Font.Height = 16;
  C.Font.Style = fsBold | fsItalic;
  C.Font.Color = Couleurs::clMaroon;
  C.TextOut(25, 45, "\xC9l\xE8ve \x80 100");  // "Élève € 100" in 1252
  C.Brush.Style = TBrushStyle::bsClear;
  C.Font.Style = 0;
  C.TextOut(25, 62, "clair");
  C.LibererClip();
  TBitmap image;
  image.Redimensionner(3, 2, Couleurs::clYellow);
  image.DefinirPixel(2, 1, Couleurs::clNavy);
  C.Draw(150, 60, image);
  C.StretchDraw({150, 70, 162, 78}, image);
}

std::string Joue(const TMetafile& M, const TRect& R) {
  TCanvasEnregistreur c;
  M.Jouer(c, R);
  return c.Dump();
}

// The bytes of a little-endian 32-bit value at p.
uint32_t Lu(const std::vector<uint8_t>& o, std::size_t p) {
  uint32_t v;
  std::memcpy(&v, o.data() + p, 4);
  return v;
}
void Ecrit(std::vector<uint8_t>& o, std::size_t p, uint32_t v) { std::memcpy(o.data() + p, &v, 4); }

}  // namespace

TEST(Metafichier, ARecordedPageWrittenReadAndPlayedGivesTheSameCanonicalDump) {
  TCanvasEnregistreur direct;
  DessinerPage(direct);
  TMetafile page(200, 100);
  {
    TMetafileCanvas c(page);
    DessinerPage(c);
  }
  TMemoryStream flux;
  page.SaveToStream(flux);
  flux.SetPosition(0);
  auto relue = TMetafile::LoadFromStream(flux);
  EXPECT_EQ(flux.Position(), flux.Size());
  EXPECT_EQ(relue->Octets(), page.Octets());
  EXPECT_EQ(Joue(*relue, {0, 0, 200, 100}), direct.Dump());
  EXPECT_EQ(relue->Width(), 200);
  EXPECT_EQ(relue->Height(), 100);
}

TEST(Metafichier, TheHeaderCarriesSignatureBoundsFrameAndCounts) {
  TMetafile page(794, 1123);  // A4 at 96 dots per inch
  {
    TMetafileCanvas c(page);
    c.TextOut(0, 0, "x");
    c.TextOut(0, 20, "y");
  }
  const auto& o = page.Octets();
  EXPECT_EQ(Lu(o, 0), EMR_HEADER);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(o.data()) + 40, 4), " EMF");
  EXPECT_EQ(Lu(o, 8), 0u);
  EXPECT_EQ(Lu(o, 16), 793u);
  EXPECT_EQ(Lu(o, 20), 1122u);
  EXPECT_EQ(Lu(o, 32), 21007u);  // 794 / 96 inch = 210.079 mm, the right edge included
  EXPECT_EQ(Lu(o, 48), o.size());
  uint32_t records = 0;
  std::vector<uint32_t> types;
  page.Enumerer([&](const TEnregistrement& E) {
    ++records;
    types.push_back(E.Type);
    return true;
  });
  EXPECT_EQ(Lu(o, 52), records);
  EXPECT_EQ(Lu(o, 56) & 0xFFFF, 7u);
  EXPECT_EQ(types.front(), EMR_HEADER);
  EXPECT_EQ(types.back(), EMR_EOF);
  // One font, one text colour never changed from black: the font is created and selected once.
  EXPECT_EQ(std::count(types.begin(), types.end(), EMR_EXTCREATEFONTINDIRECTW), 1);
  EXPECT_EQ(std::count(types.begin(), types.end(), EMR_EXTTEXTOUTW), 2);
  EXPECT_EQ(std::count(types.begin(), types.end(), EMR_EXTTEXTOUTA), 0);
}

TEST(Metafichier, PlayingStretchesIntoTheRectangleAndKeepsTheCanvasState) {
  TMetafile page(100, 50);
  {
    TMetafileCanvas c(page);
    c.Pen.Width = 2;
    c.Rectangle({10, 10, 50, 30});
    c.Font.Height = 10;
    c.TextOut(20, 20, "ab");
  }
  TCanvasEnregistreur c;
  c.Origine = {5, 5};
  c.Pen.Color = Couleurs::clOlive;
  c.DefinirClip({0, 0, 1000, 1000});
  page.Jouer(c, {0, 0, 200, 100});
  EXPECT_EQ(c.Appels()[1], "Rectangle 25,25,105,65 pen=#000000/4 brush=#FFFFFF");
  EXPECT_EQ(c.Appels()[2].substr(0, 16), "Text 45,45 \"ab\" ");
  EXPECT_NE(c.Appels()[2].find("/20/"), std::string::npos);
  EXPECT_EQ(c.Pen.Color, Couleurs::clOlive);
  ASSERT_NE(c.Clip(), nullptr);
  EXPECT_EQ(*c.Clip(), (TRect{5, 5, 1005, 1005}));
}

TEST(Metafichier, AnsiTextSavedStatesAndUnknownRecordsAreRead) {
  // A hand-built page: an unknown record, a save, a text colour, a restore, an ANSI text.
  auto rec = [](uint32_t type, std::vector<uint32_t> champs) {
    std::vector<uint8_t> o(8 + 4 * champs.size());
    Ecrit(o, 0, type);
    Ecrit(o, 4, static_cast<uint32_t>(o.size()));
    for (std::size_t i = 0; i < champs.size(); ++i) Ecrit(o, 8 + 4 * i, champs[i]);
    return o;
  };
  TMetafile vide(100, 100);
  std::vector<uint8_t> o(vide.Octets().begin(), vide.Octets().begin() + kTailleEntete);
  auto ajoute = [&](const std::vector<uint8_t>& r) { o.insert(o.end(), r.begin(), r.end()); };
  ajoute(rec(9999, {1, 2, 3}));
  ajoute(rec(EMR_SAVEDC, {}));
  ajoute(rec(EMR_SETTEXTCOLOR, {0x0000FF}));
  ajoute(rec(EMR_RESTOREDC, {static_cast<uint32_t>(-1)}));
  std::vector<uint8_t> texte = rec(EMR_EXTTEXTOUTA, std::vector<uint32_t>(17, 0));
  Ecrit(texte, 36, 7), Ecrit(texte, 40, 9), Ecrit(texte, 44, 3), Ecrit(texte, 48, 76);
  texte.insert(texte.end(), {uint8_t{'a'}, uint8_t{0xE9}, uint8_t{'c'}, uint8_t{0}});
  Ecrit(texte, 4, static_cast<uint32_t>(texte.size()));
  ajoute(texte);
  ajoute(rec(EMR_EOF, {0, 16, 20}));
  Ecrit(o, 48, static_cast<uint32_t>(o.size()));
  auto page = TMetafile::LoadFromBytes(o.data(), o.size());
  const std::string dump = Joue(*page, {0, 0, 100, 100});
  EXPECT_EQ(dump.substr(0, 20), "Text 7,9 \"a\xE9" "c\" font=");
  EXPECT_NE(dump.find("/#000000 brush"), std::string::npos) << dump;  // the colour was restored
}

TEST(Metafichier, BrokenBytesAreRefusedWithTheReadError) {
  TMetafile page(50, 50);
  {
    TMetafileCanvas c(page);
    c.TextOut(1, 1, "abc");
  }
  const std::vector<uint8_t> bon = page.Octets();
  std::size_t texte = 0, police = 0;
  page.Enumerer([&](const TEnregistrement& E) {
    if (E.Type == EMR_EXTTEXTOUTW) texte = static_cast<std::size_t>(E.Octets - page.Octets().data());
    if (E.Type == EMR_SELECTOBJECT && !police) police = static_cast<std::size_t>(E.Octets - page.Octets().data());
    return true;
  });
  ASSERT_TRUE(texte && police);
  struct Cas {
    const char* Nom;
    std::size_t Position;
    uint32_t Valeur;
  };
  const Cas cas[] = {
      {"signature", 40, 0x464D4521},
      {"size past the bytes", 48, static_cast<uint32_t>(bon.size() + 4)},
      {"header below its size", 4, 84},
      {"record size 4", texte + 4, 4},
      {"record size not a multiple of 4", texte + 4, 78},
      {"record past the end", texte + 4, 0x7FFFFFF0},
      {"text count past the record", texte + 44, 1000},
      {"text offset past the record", texte + 48, 0xFFFFFFF0},
      {"handle index beyond the table", police + 8, 7},
      {"handle 0", police + 8, 0},
  };
  for (const Cas& c : cas) {
    std::vector<uint8_t> o = bon;
    Ecrit(o, c.Position, c.Valeur);
    EXPECT_THROW((void)TMetafile::LoadFromBytes(o.data(), o.size()), EReadError) << c.Nom;
  }
  EXPECT_THROW((void)TMetafile::LoadFromBytes(bon.data(), 60), EReadError);
  TMemoryStream court;
  court.Write(bon.data(), static_cast<int64_t>(bon.size() - 4));
  court.SetPosition(0);
  EXPECT_THROW((void)TMetafile::LoadFromStream(court), EReadError);
}

TEST(Metafichier, TextRecordsGiveTheirTextIn1252) {
  TMetafile page(50, 50);
  {
    TMetafileCanvas c(page);
    c.TextOut(1, 1, "\xC9l\xE8ve \x80");
  }
  std::vector<std::string> textes;
  page.Enumerer([&](const TEnregistrement& E) {
    std::string t;
    if (TexteEnregistrement(E, t)) textes.push_back(t);
    return true;
  });
  EXPECT_EQ(textes, std::vector<std::string>{"\xC9l\xE8ve \x80"});
}
