// The list control's model, layout, scrolling and painting.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "core/values/Ansi1252.h"
#include "platform/cairo/CanvasCairo.h"
#include "tests/ui/ListeEssai.h"
#include "tests/ui/Photographie.h"

namespace {

std::string Message(const std::function<void()>& F) {
  try {
    F();
  } catch (const EInvalidListOperation& e) {
    return e.Message();
  }
  return "(nothing raised)";
}

TEST(Liste, ANewListHasItsDefaults) {
  TListeEssai l(nullptr);
  EXPECT_EQ(l.ColCount(), 5);
  EXPECT_EQ(l.RowCount(), 5);
  EXPECT_EQ(l.FixedCols(), 1);
  EXPECT_EQ(l.FixedRows(), 1);
  EXPECT_EQ(l.RightFixedCols(), 0);
  EXPECT_EQ(l.DefaultColWidth(), 64);
  EXPECT_EQ(l.DefaultRowHeight(), 24);
  EXPECT_EQ(l.DefaultMinColWidth(), 5);
  EXPECT_EQ(l.ListLineWidth(), 1);
  EXPECT_EQ(l.Options(), 2079);
  EXPECT_EQ(l.VokOptions(), AvecMultiSelec);
  EXPECT_EQ(l.CreateColor(), 0xFFFF80);
  EXPECT_EQ(Couleurs::Rouge(l.CreateColor()), 0x80);
  EXPECT_EQ(Couleurs::Vert(l.CreateColor()), 0xFF);
  EXPECT_EQ(Couleurs::Bleu(l.CreateColor()), 0xFF);
  EXPECT_EQ(l.CreateBitmap(), TCreateBitmap::cbIndicators);
  EXPECT_EQ(l.FixedColor(), Couleurs::clBtnFace);
  EXPECT_EQ(l.Color(), Couleurs::clWindow);
  EXPECT_TRUE(l.Editable());
  EXPECT_TRUE(l.TabStop);
  EXPECT_FALSE(l.ShowVokHint);
  EXPECT_FALSE(l.ShowVokLigne);
  EXPECT_EQ(l.Width(), 5 * 64);
  EXPECT_EQ(l.Height(), 5 * 24);
  EXPECT_EQ(l.TopLeft(), (TListCoord{1, 1}));
  EXPECT_EQ(l.Courante(), (TListCoord{1, 1}));
  EXPECT_TRUE(l.TabStops(4));
  // The creation-row indicators are pictures of the program, silver being transparent.
  ASSERT_EQ(l.ImagesCreation().size(), 2u);
  EXPECT_FALSE(l.ImagesCreation()[0].Vide());
  EXPECT_TRUE(l.ImagesCreation()[1].Transparent);
  EXPECT_EQ(l.ImagesCreation()[1].TransparentColor, 0xC0C0C0);
  l.SetCreateBitmap(TCreateBitmap::cbPlus);
  ASSERT_EQ(l.ImagesCreation().size(), 1u);
  EXPECT_EQ(l.ImagesCreation()[0].Width, 11);
}

TEST(Liste, ThePropertySettersKeepTheirSideRules) {
  TListeEssai l(nullptr);
  l.SetRightFixedCols(1);
  l.SetColCount(0);
  EXPECT_EQ(l.FixedCols(), 0);
  EXPECT_EQ(l.RightFixedCols(), 0);
  l.SetColCount(3);
  l.SetFixedCols(2);
  l.SetColCount(2);  // the fixed columns drop below the count
  EXPECT_EQ(l.FixedCols(), 1);
  l.SetColCount(-4);
  EXPECT_EQ(l.ColCount(), 1);
  EXPECT_EQ(l.FixedCols(), 0);
  l.SetColCount(3);
  l.SetVokOptions(AvecMultiSelec | SansSelection);
  EXPECT_EQ(l.VokOptions(), SansSelection);
  l.SetFixedRows(0);
  l.SetVokOptions(AvecCreation);
  EXPECT_EQ(l.FixedRows(), 1);
  l.SetRowCount(-3);
  EXPECT_EQ(l.RowCount(), 1);
  l.SetRowCount(5);
  l.SetFixedRows(3);
  l.SetRowCount(2);
  EXPECT_EQ(l.FixedRows(), 2);
  // Widths: never below the smallest width; raising it widens the narrower columns.
  l.DefinirLargeurColonne(1, 2);
  EXPECT_EQ(l.ColWidths(1), 5);
  l.DefinirLargeurColonne(2, 30);
  l.SetDefaultMinColWidth(40);
  EXPECT_EQ(l.ColWidths(1), 40);
  EXPECT_EQ(l.ColWidths(0), 64);
  l.SetDefaultColWidth(10);
  EXPECT_EQ(l.DefaultColWidth(), 40);
  EXPECT_FALSE(l.Largeurs().Present);
  // Growing keeps the extents in step, new entries at the default.
  l.DefinirHauteurLigne(1, 7);
  l.SetRowCount(4);
  ASSERT_EQ(l.Hauteurs().Tailles.size(), 4u);
  EXPECT_EQ(l.RowHeights(1), 7);
  EXPECT_EQ(l.RowHeights(3), 24);
}

TEST(Liste, TheGeometryRaisesItsErrors) {
  TListeEssai l(nullptr);
  l.SetColCount(3);
  const struct {
    std::function<void()> f;
    std::string message;
  } cas[] = {
      {[&] { l.SetFixedCols(3); },
       std::string("Le nombre de colonnes fixes doit être inférieur au nombre de colonnes"_ansi)},
      {[&] { l.SetFixedCols(-1); }, "Indice de grille hors limites"},
      {[&] { l.SetRightFixedCols(-1); }, "Indice de grille hors limites"},
      {[&] { l.SetRightFixedCols(3); },
       std::string("Le nombre de colonnes fixes doit être inférieur au nombre de colonnes"_ansi)},
      {[&] { l.SetFixedRows(-1); }, "Indice de grille hors limites"},
      {[&] { l.SetFixedRows(6); },
       std::string("Le nombre de lignes fixes doit être inférieur au nombre de lignes"_ansi)},
      {[&] { l.DefinirLargeurColonne(3, 10); }, "Indice de grille hors limites"},
      {[&] { l.DefinirHauteurLigne(-1, 10); }, "Indice de grille hors limites"},
      {[&] { l.DefinirCourante(0, 5); }, "Indice de grille hors limites"},
      {[&] { l.DefinirNombreLignes(134217725); }, std::string("Grille trop grande pour l'opération"_ansi)},
      {[&] { l.DefinirNombreLignes(2147483647); }, std::string("Grille trop grande pour l'opération"_ansi)},
  };
  for (const auto& c : cas) EXPECT_EQ(Message(c.f), c.message);
  // A failed change keeps the former counts.
  EXPECT_EQ(l.RowCount(), 5);
  EXPECT_EQ(l.FixedCols(), 1);
  l.SetRightFixedCols(2);  // the right fixed columns may reach the count
  EXPECT_EQ(l.RightFixedCols(), 2);

  TEtendues e{true, {1, 2, 3}};
  EXPECT_EQ(Message([&] { vclliste::ModifierEtendues(e, 3, -4, 0, 9); }),
            std::string("Trop de lignes ou colonnes supprimées"_ansi));
  EXPECT_EQ(Message([&] { vclliste::ModifierEtendues(e, 3, 134217723, 3, 9); }),
            std::string("Grille trop grande pour l'opération"_ansi));
  EXPECT_EQ(Message([&] { vclliste::ModifierEtendues(e, 3, 1, 4, 9); }), "Index de grille hors limites");
  EXPECT_EQ(Message([&] { vclliste::ModifierEtendues(e, 3, -2, 2, 9); }), "Index de grille hors limites");
  EXPECT_EQ(e.Tailles, (std::vector<int32_t>{1, 2, 3}));
  vclliste::ModifierEtendues(e, 3, 2, 1, 9);
  EXPECT_EQ(e.Tailles, (std::vector<int32_t>{1, 9, 9, 2, 3}));
  vclliste::ModifierEtendues(e, 5, -3, 0, 9);
  EXPECT_EQ(e.Tailles, (std::vector<int32_t>{2, 3}));
  TEtendues absent;
  vclliste::ModifierEtendues(absent, 2, 134217723, 2, 0);  // the largest size is allowed
  EXPECT_FALSE(absent.Present);
  e.Tailles = {1, 2, 3, 4};
  vclliste::DeplacerEtendue(e, 0, 2);
  EXPECT_EQ(e.Tailles, (std::vector<int32_t>{2, 3, 1, 4}));
  vclliste::DeplacerEtendue(e, 3, 0);
  EXPECT_EQ(e.Tailles, (std::vector<int32_t>{4, 2, 3, 1}));
}

TEST_F(ListeEssai, SettingTheRowCountRaisesTheChangeEvenWhenItStaysTheSame) {
  int changements = 0;
  liste->OnRowCountChanged = [&](TComponent*) { ++changements; };
  liste->SetRowCount(liste->RowCount());
  EXPECT_EQ(changements, 1);
  liste->DefinirNombreLignes(-5);  // held at no data row, the header stays
  EXPECT_EQ(liste->RowCount(), 1);
  EXPECT_EQ(liste->FixedRows(), 1);
  EXPECT_EQ(changements, 2);
  liste->DefinirNombreLignes(100, 0, 50);
  EXPECT_EQ(liste->TopRow(), 50);
  liste->DefinirNombreLignes(100, 0, 1000);  // beyond the rows: the largest top row
  EXPECT_EQ(liste->TopRow(), 91);
  liste->SelectionnerLigne({1, 20});
  liste->DefinirNombreLignes(100, 2, 60);  // mode 2 shows the selection
  EXPECT_EQ(liste->TopRow(), 20);
}

TEST_F(ListeEssai, ShrinkingTheRowsBringsTheSelectionTheCurrentCellAndTheTopLeftWithinThem) {
  Selectionner({2, 8, 15, 20});
  liste->DefinirCourante(2, 18);
  liste->SetTopRow(11);
  int notices = 0;
  liste->SurSelection = [&](TComponent*) { ++notices; };
  liste->DefinirNombreLignes(10);
  EXPECT_EQ(Selection(), (std::vector<int32_t>{2, 8}));
  EXPECT_EQ(notices, 1);
  EXPECT_EQ(liste->Courante(), (TListCoord{2, 10}));
  EXPECT_EQ(liste->Ancre(), (TListCoord{2, 10}));
  EXPECT_EQ(liste->TopRow(), 1);
  int touche = VK_DOWN;
  liste->SetFocus();
  liste->DefinirCourante(1, 10);
  Selectionner({10});
  liste->KeyDown(touche, 0);  // nothing below the last row
  EXPECT_EQ(Selection(), (std::vector<int32_t>{10}));
}

TEST_F(ListeEssai, TheVerticalScrollBarFollowsTheTopRow) {
  liste->SetScrollBars(TListScrollBars::ssVertical);
  const struct {
    int32_t haut;
    int position;
  } cas[] = {{1, 0}, {6, 32767 * 5 / 10}, {11, 32767}, {50, 32767}};
  // Ten rows fit below the header: the largest top row is 11 (rows 11 to 20).
  for (const auto& c : cas) {
    liste->SetTopRow(c.haut);
    EXPECT_EQ(liste->BarreVerticale().Min, 0);
    EXPECT_EQ(liste->BarreVerticale().Max, 32767);
    EXPECT_EQ(liste->BarreVerticale().Position, c.position) << c.haut;
  }
  EXPECT_EQ(liste->HautGaucheMaximal().Y, 11);
  EXPECT_EQ(liste->TopRow(), 11);
  // Every row fits: range 0 to 0 and position 0, the top row back at the first data row.
  liste->DefinirNombreLignes(5);
  EXPECT_EQ(liste->BarreVerticale().Max, 0);
  EXPECT_EQ(liste->BarreVerticale().Position, 0);
  EXPECT_FALSE(liste->BarreVerticale().Visible);
  EXPECT_EQ(liste->TopRow(), 1);
}

TEST_F(ListeEssai, ScrollActionsMoveTheTopRowWithinItsLimits) {
  liste->SetScrollBars(TListScrollBars::ssVertical);
  const struct {
    TCodeDefilement code;
    int position;
    int32_t attendu;
  } cas[] = {{SB_LINEDOWN, 0, 2},       {SB_PAGEDOWN, 0, 11}, {SB_LINEDOWN, 0, 11}, {SB_LINEUP, 0, 10},
             {SB_PAGEUP, 0, 1},         {SB_BOTTOM, 0, 11},   {SB_TOP, 0, 1},       {SB_THUMBPOSITION, 16384, 6},
             {SB_THUMBTRACK, 32767, 11}};
  for (const auto& c : cas) {
    liste->Defiler(TScrollBarKind::sbVertical, c.code, c.position);
    EXPECT_EQ(liste->TopRow(), c.attendu) << int(c.code);
  }
  liste->SetOptions(liste->Options() & ~goThumbTracking);
  liste->Defiler(TScrollBarKind::sbVertical, SB_THUMBTRACK, 0);
  EXPECT_EQ(liste->TopRow(), 11);
  // The wheel: one row at a time, within the limits, never the selection.
  Selectionner({3});
  Saisie::Molette(*fiche, {10, 10}, 120);
  EXPECT_EQ(liste->TopRow(), 10);
  liste->SetTopRow(11);
  Saisie::Molette(*fiche, {10, 10}, -120);
  EXPECT_EQ(liste->TopRow(), 11);
  liste->SetTopRow(1);
  Saisie::Molette(*fiche, {10, 10}, 120);
  EXPECT_EQ(liste->TopRow(), 1);
  EXPECT_EQ(Selection(), (std::vector<int32_t>{3}));
}

TEST(Liste, AOneColumnListScrollsHorizontallyByPixels) {
  TForm f(nullptr);
  f.SetBounds(0, 0, 600, 400);
  TListeEssai l(&f);
  l.SetParent(&f);
  l.SetBorderStyle(TListBorderStyle::bsNone);
  l.SetScrollBars(TListScrollBars::ssHorizontal);
  l.SetColCount(1);
  l.DefinirLargeurColonne(0, 500);
  l.SetBounds(0, 0, 300, 200);
  EXPECT_EQ(l.BarreHorizontale().Min, 0);
  EXPECT_EQ(l.BarreHorizontale().Max, 200);
  l.Defiler(TScrollBarKind::sbHorizontal, SB_BOTTOM);
  EXPECT_EQ(l.DecalagePixels(), 200);
  EXPECT_EQ(l.BarreHorizontale().Position, 200);
  l.Defiler(TScrollBarKind::sbHorizontal, SB_PAGEUP);  // a page is the client width
  EXPECT_EQ(l.DecalagePixels(), 0);
  l.Defiler(TScrollBarKind::sbHorizontal, SB_LINEDOWN);  // a line is the width of "0"
  EXPECT_EQ(l.DecalagePixels(), MetriquesTexte::Largeur(l.Font(), "0"));
  l.Defiler(TScrollBarKind::sbHorizontal, SB_THUMBPOSITION, 150);
  EXPECT_EQ(l.DecalagePixels(), 150);
  EXPECT_EQ(l.CelluleAuPoint(10, 30), (TListCoord{0, 1}));
  EXPECT_EQ(l.RectangleCellule(0, 1).Left, -150);
}

TEST_F(ListeEssai, HitTestingFindsTheCellOfEachAreaAndNothingOutside) {
  liste->SetColCount(4);
  liste->SetRightFixedCols(1);
  liste->SetBounds(0, 0, 4 * 65, 11 * 25);
  liste->SetTopRow(5);
  const struct {
    int x, y;
    TListCoord attendu;
  } cas[] = {
      {10, 10, {0, 0}},        // top-left corner
      {64, 24, {0, 0}},        // the lines belong to the cell before them
      {70, 10, {1, 0}},        // header band
      {10, 30, {0, 5}},        // fixed column band, scrolled
      {140, 60, {2, 6}},       // data area
      {200, 10, {3, 0}},       // right fixed column, header
      {200, 260, {3, 14}},     // right fixed column, body
      {-1, 10, {-1, -1}},      // outside
      {10, 275, {-1, -1}},     // below the client
      {4 * 65, 10, {-1, -1}},  // right of the client
  };
  for (const auto& c : cas) EXPECT_EQ(liste->CelluleAuPoint(c.x, c.y), c.attendu) << c.x << "," << c.y;
  EXPECT_EQ(liste->RectangleCellule(2, 6), (TRect{130, 50, 194, 74}));
  EXPECT_EQ(liste->RectangleCellule(3, 0), (TRect{195, 0, 259, 24}));
  EXPECT_TRUE(liste->RectangleCellule(2, 2).Vide());  // scrolled away
  EXPECT_TRUE(liste->RectangleCellule(4, 1).Vide());  // outside the counts
  EXPECT_TRUE(liste->RectangleCellule(-1, 1).Vide());
  EXPECT_EQ(liste->VisibleRowCount(), 10);
  EXPECT_EQ(liste->VisibleColCount(), 2);
}

// Counts the data-cursor events and the cells drawn while painting.
struct Compteurs {
  int sauver = 0, premier = 0, avancer = 0, restaurer = 0, cellules = 0;
  std::vector<int32_t> premiers;
  void Brancher(TListeEssai& l) {
    l.SurSauverPointeurs = [this](TComponent*) { ++sauver; };
    l.SurAccederAuPremier = [this](TComponent*, TListCoord c) {
      ++premier;
      premiers.push_back(c.Y);
      return true;
    };
    l.SurAvancer = [this](TComponent*, TListCoord) { return ++avancer, true; };
    l.SurRestaurerPointeurs = [this](TComponent*) { ++restaurer; };
    l.OnDrawCell = [this](TComponent*, int32_t, int32_t, TRect, TListVokDrawState) { ++cellules; };
  }
};

TEST_F(ListeEssai, PaintingPositionsTheOwnersDataCursorOncePerBodyRegion) {
  liste->SetColCount(4);
  liste->SetRightFixedCols(1);
  liste->SetBounds(0, 0, 4 * 65, 11 * 25);
  Compteurs n;
  n.Brancher(*liste);
  TCanvasEnregistreur c;
  Peindre(*liste, c);
  // Three body regions: the fixed column band, the data area, the right fixed columns.
  EXPECT_EQ(n.sauver, 3);
  EXPECT_EQ(n.premier, 3);
  EXPECT_EQ(n.avancer, 27);
  EXPECT_EQ(n.restaurer, 3);
  EXPECT_EQ(n.premiers, (std::vector<int32_t>{1, 1, 1}));
  EXPECT_EQ(n.cellules, 4 * 11);
  // Only fixed rows: no data-cursor event at all.
  n = {};
  liste->DefinirNombreLignes(0);
  c.Effacer();
  Peindre(*liste, c);
  EXPECT_EQ(n.sauver + n.premier + n.avancer + n.restaurer, 0);
  EXPECT_EQ(n.cellules, 4);
}

TEST_F(ListeEssai, AMillionRowsCostWhatTheirVisibleRowsCost) {
  liste->DefinirNombreLignes(1000000);
  liste->SetScrollBars(TListScrollBars::ssVertical);
  Compteurs n;
  n.Brancher(*liste);
  TCanvasEnregistreur c;
  liste->Defiler(TScrollBarKind::sbVertical, SB_THUMBPOSITION, 16384);
  Peindre(*liste, c);
  EXPECT_EQ(n.avancer, 2 * 9);
  EXPECT_EQ(n.premiers[0], 1 + static_cast<int32_t>(16384LL * (999991 - 1) / 32767));
  liste->SetFocus();
  int touche = VK_END;
  liste->KeyDown(touche, 0);
  EXPECT_EQ(Selection(), (std::vector<int32_t>{1000000}));
  EXPECT_EQ(liste->TopRow(), 999991);
  n = {};
  Peindre(*liste, c);
  EXPECT_EQ(n.avancer, 2 * 9);
  EXPECT_EQ(n.cellules, 3 * 11);
  // The selection far below is shown by a search of the sorted set.
  liste->SetTopRow(1);
  liste->MontrerSelection();
  EXPECT_EQ(liste->TopRow(), 999991);
  liste->SelectionnerLigne({1, 500000});
  liste->SetTopRow(499995);
  liste->MontrerSelection();  // visible already: nothing moves
  EXPECT_EQ(liste->TopRow(), 499995);
  // Extending to every row and cutting the rows back keep the set sorted and whole.
  liste->SelectionnerLigne({1, 1});
  liste->EtendreSelection({1, 1000000});
  EXPECT_EQ(liste->NombreSelectionnes(), 1000000);
  EXPECT_EQ(liste->LigneSelectionnee(1000000), 1000000);
  EXPECT_EQ(liste->LigneSelectionnee(1000001), 0);
  EXPECT_EQ(liste->LigneSelectionnee(0), 0);
  liste->DefinirNombreLignes(10);
  EXPECT_EQ(liste->NombreSelectionnes(), 10);
  EXPECT_EQ(liste->LigneSelectionnee(10), 10);
}

// ---- pictures ----

TEST_F(ListeEssai, APaintedListHasBlackFixedLinesSilverDataLinesItsSelectionAndItsCreationRow) {
  liste->SetVokOptions(AvecMultiSelec | AvecCreation);
  liste->SetFixedRows(2);
  Selectionner({2});
  liste->OnDrawCell = [this](TComponent*, int32_t Col, int32_t Row, TRect R, TListVokDrawState) {
    TCanvas& c = liste->Canvas();
    if (Row == 1 && Col == 0) c.Draw(R.Left + 2, R.Top + 4, liste->ImagesCreation()[0]);
    if (Row == 1 && Col == 2) c.Draw(R.Right - 10, R.Top + 4, liste->ImagesCreation()[1]);
    if (Row >= 2 && Col == 1) c.TextOut(R.Left + 2, R.Top + 5, "Ligne " + std::to_string(Row - 1));
  };
  auto c = Photographier(*liste, "liste");
  EXPECT_EQ(c->LirePixel(64, 10), 0x000000);   // vertical line of the header row
  EXPECT_EQ(c->LirePixel(30, 74), 0x000000);   // horizontal line of the fixed column
  EXPECT_EQ(c->LirePixel(129, 80), 0xC0C0C0);  // vertical line of the data area
  EXPECT_EQ(c->LirePixel(100, 99), 0xC0C0C0);  // horizontal line of the data area
  EXPECT_EQ(c->LirePixel(160, 62), 0xD77800);  // the selected row (data row 1) in the highlight colour
  EXPECT_EQ(c->LirePixel(30, 62), 0xF0F0F0);   // its fixed cell stays in the fixed colour
  EXPECT_EQ(c->LirePixel(100, 90), 0xFFFFFF);  // an unselected data row
  EXPECT_EQ(c->LirePixel(60, 35), 0xFFFF80);   // the creation row
  EXPECT_EQ(c->LirePixel(6, 37), 0x000000);    // its indicator
  EXPECT_EQ(c->LirePixel(3, 30), 0xFFFF80);    // the indicator's silver is transparent
  EXPECT_EQ(c->LirePixel(30, 50), 0xFFFFFF);   // the raised top edge of a fixed cell
  EXPECT_EQ(c->LirePixel(0, 60), 0xFFFFFF);    // and its left edge
  EXPECT_EQ(c->LirePixel(30, 25), 0xFFFF80);   // not on the creation row
  // Without Ctl3D no raised edge; on a silver list the data lines are gray.
  liste->Ctl3D = false;
  liste->SetColor(Couleurs::clSilver);
  c = Photographier(*liste, "liste-argent");
  EXPECT_EQ(c->LirePixel(30, 50), 0xF0F0F0);
  EXPECT_EQ(c->LirePixel(129, 80), 0x808080);
  EXPECT_EQ(c->LirePixel(100, 90), 0xC0C0C0);
}

TEST_F(ListeEssai, ASingleBorderAndTheScrollBarsTakeThePlatformsRoom) {
  liste->SetBorderStyle(TListBorderStyle::bsSingle);
  liste->SetScrollBars(TListScrollBars::ssBoth);
  liste->SetBounds(0, 0, 150, 200);
  EXPECT_TRUE(liste->BarreVerticale().Visible);
  EXPECT_TRUE(liste->BarreHorizontale().Visible);
  EXPECT_EQ(liste->ClientRect(), (TRect{2, 2, 150 - 2 - 17, 200 - 2 - 17}));
  auto c = Photographier(*liste, "liste-barres");
  EXPECT_EQ(c->LirePixel(0, 100), 0xA0A0A0);    // the sunken edge
  EXPECT_EQ(c->LirePixel(140, 150), 0xF0F0F0);  // the vertical bar's track
}

}  // namespace
