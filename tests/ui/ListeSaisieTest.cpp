// The list control driven by injected input: keys, quick search, clicks, gestures, sizing and
// moving.
#include <gtest/gtest.h>

#include "core/values/Ansi1252.h"
#include "tests/ui/ListeEssai.h"

namespace {

TEST_F(ListeEssai, KeysMoveTheSelectionTheTopRowAndTheCurrentCell) {
  const struct {
    int touche;
    uint8_t shift;
    std::vector<int32_t> avant;
    int32_t hautAvant;
    std::vector<int32_t> apres;
    int32_t haut;
    TListCoord courante;
  } cas[] = {
      {VK_DOWN, 0, {}, 1, {1}, 1, {1, 1}},  // no selection: the current row itself
      {VK_DOWN, 0, {3}, 1, {4}, 1, {1, 4}},
      {VK_DOWN, 0, {10}, 1, {11}, 11, {1, 11}},  // beyond the visible rows: the top row goes to it
      {VK_DOWN, 0, {20}, 11, {20}, 11, {1, 20}},
      {VK_UP, 0, {3, 7}, 1, {2}, 1, {1, 2}},  // from the first selected row
      {VK_UP, 0, {1}, 1, {1}, 1, {1, 1}},
      {VK_UP, 0, {12}, 12 - 1, {11}, 11, {1, 11}},
      {VK_UP, 0, {5}, 6, {4}, 4, {1, 4}},  // above the top row: the top row goes to it
      {VK_HOME, 0, {15}, 11, {1}, 1, {1, 1}},
      {VK_END, 0, {2}, 1, {20}, 11, {1, 20}},
      {VK_NEXT, 0, {1}, 1, {11}, 11, {1, 11}},
      {VK_NEXT, 0, {15}, 11, {20}, 11, {1, 20}},
      {VK_PRIOR, 0, {15}, 11, {5}, 5, {1, 5}},
      {VK_PRIOR, 0, {7}, 1, {1}, 1, {1, 1}},
      {VK_LEFT, 0, {7}, 1, {7}, 1, {1, 1}},  // any other key changes nothing
      // With Ctrl: scrolling and the current cell, never the selection.
      {VK_DOWN, ssCtrl, {3}, 1, {3}, 2, {1, 1}},
      {VK_UP, ssCtrl, {3}, 5, {3}, 4, {1, 1}},
      {VK_UP, ssCtrl, {3}, 1, {3}, 1, {1, 1}},
      {VK_END, ssCtrl, {3}, 1, {3}, 11, {2, 20}},
      {VK_NEXT, ssCtrl, {3}, 5, {3}, 5, {1, 14}},
      {VK_PRIOR, ssCtrl, {3}, 5, {3}, 5, {1, 5}},
      {VK_HOME, ssCtrl, {3}, 5, {3}, 5, {1, 1}},  // the current cell is there already: nothing scrolls
      {VK_HOME, ssCtrl, {3}, 1, {3}, 1, {1, 1}},
  };
  liste->SetFocus();
  for (const auto& c : cas) {
    liste->InitialiserPosition();
    Selectionner(c.avant);
    liste->SetTopRow(c.hautAvant);
    int clics = 0;
    liste->OnClick = [&](TComponent*) { ++clics; };
    Saisie::Touche(*fiche, c.touche, c.shift);
    EXPECT_EQ(Selection(), c.apres) << c.touche << " " << int(c.shift);
    EXPECT_EQ(liste->TopRow(), c.haut) << c.touche << " " << int(c.shift);
    EXPECT_EQ(liste->Courante(), c.courante) << c.touche << " " << int(c.shift);
    EXPECT_EQ(clics, liste->Courante() != (TListCoord{1, 1}) ? 1 : 0) << c.touche;
    EXPECT_TRUE(liste->Focused());
    liste->OnClick = nullptr;
  }
}

TEST_F(ListeEssai, PageKeysMoveAtLeastOneRowInAListLowerThanARow) {
  liste->SetHeight(30);  // the header and a part of one row
  EXPECT_EQ(liste->VisibleRowCount(), 0);
  liste->SetFocus();
  Selectionner({3});
  Saisie::Touche(*fiche, VK_NEXT);
  EXPECT_EQ(Selection(), (std::vector<int32_t>{4}));
  Saisie::Touche(*fiche, VK_PRIOR);
  EXPECT_EQ(Selection(), (std::vector<int32_t>{3}));
}

TEST_F(ListeEssai, DeleteAsksForTheFirstSelectedRowOnlyAndEscapeOnlyNotifies) {
  std::vector<TListCoord> demandes;
  int suppressions = 0, notices = 0;
  liste->SetVokOptions(AvecMultiSelec | AvecSuppression);
  liste->SurRequeteSuppression = [&](TComponent*, TListCoord c) { return demandes.push_back(c), true; };
  liste->SurSuppression = [&](TComponent*) { ++suppressions; };
  liste->SetFocus();
  Saisie::Touche(*fiche, VK_DELETE);  // no selection: nothing
  EXPECT_TRUE(demandes.empty());
  Selectionner({4, 6, 9});
  Saisie::Touche(*fiche, VK_DELETE);
  EXPECT_EQ(demandes, (std::vector<TListCoord>{{1, 4}}));
  EXPECT_EQ(suppressions, 1);
  EXPECT_EQ(Selection(), (std::vector<int32_t>{4, 6, 9}));
  liste->SurRequeteSuppression = [](TComponent*, TListCoord) { return false; };
  Saisie::Touche(*fiche, VK_DELETE);
  EXPECT_EQ(suppressions, 1);
  liste->SurSelection = [&](TComponent*) { ++notices; };
  Saisie::Touche(*fiche, VK_ESCAPE);  // not editing: nothing
  EXPECT_EQ(notices, 0);
  EXPECT_EQ(Selection(), (std::vector<int32_t>{4, 6, 9}));
}

TEST_F(ListeEssai, TheListTellsTheFormWhichKeysItTakes) {
  EXPECT_EQ(liste->CodesDialogue(), DLGC_WANTARROWS);
  liste->SetOptions(liste->Options() | goTabs);
  EXPECT_EQ(liste->CodesDialogue(), DLGC_WANTARROWS | DLGC_WANTTAB);
  liste->SetOptions(liste->Options() | goEditing);
  EXPECT_EQ(liste->CodesDialogue(), DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTCHARS | DLGC_WANTALLKEYS);
  // Enter is swallowed when the list can edit.
  liste->SetVokOptions(AvecModification);
  char entree = '\r';
  liste->KeyPress(entree);
  EXPECT_EQ(entree, 0);
}

TEST_F(ListeEssai, NoSelectionWithoutDataRows) {
  liste->DefinirNombreLignes(0);
  liste->SetFocus();
  std::vector<std::string> recherches;
  liste->SurParseur = [&](TComponent*, const std::string& s) { return recherches.push_back(s), 1; };
  for (int t : {VK_DOWN, VK_END, VK_HOME, VK_NEXT}) Saisie::Touche(*fiche, t);
  Saisie::Caractere(*fiche, 'a');
  EXPECT_EQ(liste->NombreSelectionnes(), 0);
  EXPECT_TRUE(recherches.empty());
  EXPECT_EQ(liste->Courante(), (TListCoord{1, 0}));  // held within the rows left
}

TEST_F(ListeEssai, QuickSearchRunsOnTheClock) {
  std::vector<std::string> recherches;
  int32_t reponse = 7;
  liste->SurParseur = [&](TComponent*, const std::string& s) { return recherches.push_back(s), reponse; };
  liste->SetFocus();
  Saisie::Caractere(*fiche, 'a');
  horloge.Avancer(500);
  Saisie::Caractere(*fiche, 'b');
  EXPECT_EQ(recherches, (std::vector<std::string>{"a", "ab"}));
  EXPECT_EQ(Selection(), (std::vector<int32_t>{7}));
  EXPECT_EQ(liste->Courante(), (TListCoord{1, 7}));
  horloge.Avancer(1500);
  Saisie::Caractere(*fiche, 'b');
  EXPECT_EQ(recherches.back(), "b");
  Saisie::Caractere(*fiche, '\b');
  EXPECT_EQ(recherches.back(), "");
  for (char c : std::string("abcdefghijklmnopqrstu")) Saisie::Caractere(*fiche, c);  // 21 characters
  EXPECT_EQ(recherches.back(), "abcdefghijklmnopqrst");
  // Beyond the rows: the last row; a negative answer changes nothing; punctuation is no search.
  reponse = 50;
  Saisie::Caractere(*fiche, '\b');
  EXPECT_EQ(Selection(), (std::vector<int32_t>{20}));
  EXPECT_EQ(liste->TopRow(), 11);
  reponse = -1;
  Saisie::Caractere(*fiche, 'x');
  EXPECT_EQ(Selection(), (std::vector<int32_t>{20}));
  const size_t n = recherches.size();
  Saisie::Caractere(*fiche, ',');
  EXPECT_EQ(recherches.size(), n);
  Saisie::Caractere(*fiche, "é"_ansi[0]);
  EXPECT_EQ(recherches.size(), n + 1);
  // A click starts the buffer afresh.
  Cliquer(1, 2);
  reponse = 3;
  Saisie::Caractere(*fiche, 'z');
  EXPECT_EQ(recherches.back(), "z");
}

TEST_F(ListeEssai, ClicksSelectRows) {
  const struct {
    TVokOptions options;
    uint8_t shift;
    std::vector<int32_t> avant;
    int32_t ligne;
    std::vector<int32_t> apres;
  } cas[] = {
      {AvecMultiSelec, 0, {3}, 5, {5}},
      {AvecMultiSelec, 0, {}, 5, {5}},
      {AvecMultiSelec, ssShift, {3, 4, 5}, 8, {3, 4, 5, 6, 7, 8}},
      {AvecMultiSelec, ssShift, {3, 4, 5}, 1, {1, 2, 3, 4, 5}},
      {AvecMultiSelec, ssShift, {3, 4, 5}, 4, {3, 4, 5}},  // holds the row: unchanged
      {AvecMultiSelec, ssShift, {}, 4, {}},
      {0, ssShift, {3}, 6, {6}},  // without AvecMultiSelec Shift is a plain click
      {AvecMultiSelec, ssCtrl, {3}, 5, {3, 5}},
      {AvecMultiSelec, ssCtrl, {3, 5}, 3, {5}},
      {0, ssCtrl, {3}, 3, {}},
      {0, ssCtrl, {3}, 5, {5}},
      {AvecMultiSelec | AvecToggle, 0, {3}, 5, {3, 5}},
      {AvecMultiSelec | AvecToggle, 0, {3, 5}, 5, {3}},
      {AvecToggle, 0, {3}, 5, {5}},
      {AvecMultiSelec, ssCtrl | ssAlt, {3}, 5, {3}},
      {SansSelection, 0, {}, 5, {}},
  };
  for (const auto& c : cas) {
    liste->SetVokOptions(AvecMultiSelec);
    Selectionner(c.avant);
    liste->SetVokOptions(c.options);
    int clics = 0;
    liste->OnClick = [&](TComponent*) { ++clics; };
    Cliquer(1, c.ligne, c.shift);
    EXPECT_EQ(Selection(), c.apres) << int(c.options) << " " << int(c.shift) << " " << c.ligne;
    EXPECT_EQ(clics, 1);
    liste->OnClick = nullptr;
  }
  // The owner may refuse rows; a click in a fixed cell or outside any row selects nothing.
  liste->SetVokOptions(AvecMultiSelec);
  Selectionner({2});
  liste->SurRequeteSelection = [](TComponent*, TListCoord c) { return c.Y % 2 == 0; };
  Cliquer(1, 2, 0);
  Cliquer(1, 7, ssShift);
  EXPECT_EQ(Selection(), (std::vector<int32_t>{2, 4, 6}));
  Cliquer(0, 5);
  Cliquer(1, 0);
  Saisie::EnfoncerSouris(*fiche, {100, 300});
  Saisie::RelacherSouris(*fiche, {100, 300});
  EXPECT_EQ(Selection(), (std::vector<int32_t>{2, 4, 6}));
}

// Without declared columns a cycle only puts the list in its editing state on the cell: the owner
// edits by itself.
TEST_F(ListeEssai, ADoubleClickOrACreationClickWithoutColumnsEntersTheEditingState) {
  liste->SetVokOptions(AvecModification);
  int dbl = 0, modifications = 0;
  liste->OnDblClick = [&](TComponent*) { ++dbl; };
  liste->SurModification = [&](TComponent*) { ++modifications; };
  Saisie::EnfoncerSouris(*fiche, Centre(1, 4), TMouseButton::mbLeft, ssDouble);
  Saisie::RelacherSouris(*fiche, Centre(1, 4));
  EXPECT_EQ(Selection(), (std::vector<int32_t>{4}));
  EXPECT_EQ(liste->GestePendant(), 2);
  EXPECT_TRUE(liste->Options() & goEditing);
  EXPECT_FALSE(liste->Options() & goRangeSelect);
  EXPECT_EQ(liste->Courante(), (TListCoord{1, 4}));
  EXPECT_EQ(dbl, 1);
  EXPECT_EQ(modifications, 1);
  liste->SetVokOptions(AvecCreation);  // the header becomes the creation row
  liste->SurRequeteCreation = [](TComponent*, TListCoord) { return false; };
  Cliquer(2, 0);
  EXPECT_EQ(liste->Courante(), (TListCoord{1, 4}));  // refused
  liste->SurRequeteCreation = nullptr;
  Cliquer(2, 0);
  EXPECT_EQ(Selection(), std::vector<int32_t>{});
  EXPECT_EQ(liste->Courante(), (TListCoord{2, 0}));
}

// ---- gestures ----

class Gestes : public ListeEssai {
 protected:
  void SetUp() override {
    ListeEssai::SetUp();
    liste->SetVokOptions(AvecMultiSelec | AvecSuppression | AvecDeplacement);
    liste->SurSuppression = [this](TComponent*) { ++suppressions; };
    liste->SurDeplacement = [this](TComponent*, TMouseButton, uint8_t, int X, int Y) {
      deplacements.push_back({X, Y});
    };
    liste->SurAccederInfoFantome = [](TComponent*, int32_t, int32_t Row) { return "Ligne " + std::to_string(Row); };
  }
  TFantome* Fantome() const { return VclFanto::Fantome(); }
  int suppressions = 0;
  std::vector<TPoint> deplacements;
};

TEST_F(Gestes, HoldingARowShowsTheGhostAndOnlyADropOutsideTheListDeletes) {
  const TPoint p = Centre(1, 3);
  Saisie::EnfoncerSouris(*fiche, p);
  EXPECT_EQ(Selection(), (std::vector<int32_t>{3}));
  EXPECT_EQ(liste->GestePendant(), 4);
  horloge.Avancer(399);
  EXPECT_EQ(Fantome(), nullptr);
  horloge.Avancer(1);
  ASSERT_NE(Fantome(), nullptr);
  EXPECT_TRUE(Fantome()->Visible());
  EXPECT_EQ(Fantome()->Caption(), "Ligne 3");
  EXPECT_EQ(Fantome()->Color(), Couleurs::clNavy);
  EXPECT_EQ(Fantome()->Font().Color, Couleurs::clWhite);
  EXPECT_TRUE(Fantome()->SansCadre);
  EXPECT_FALSE(Application().ShowHint);
  Saisie::DeplacerSouris(*fiche, {p.X + 20, p.Y + 20});
  EXPECT_EQ(Fantome()->Left(), 100 + p.X + 20 + 3);  // at the mouse, on the screen
  Saisie::RelacherSouris(*fiche, {p.X + 20, p.Y + 20});
  EXPECT_EQ(Fantome(), nullptr);
  EXPECT_EQ(suppressions, 0);
  EXPECT_TRUE(Application().ShowHint);
  EXPECT_EQ(liste->GestePendant(), 0);
  // Dragged outside: red, and the drop deletes once.
  Saisie::EnfoncerSouris(*fiche, p);
  horloge.Avancer(400);
  Saisie::DeplacerSouris(*fiche, {400, 350});
  for (int i = 0; i < 10; ++i) horloge.Avancer(60);  // the list does not scroll away under a dragged row
  ASSERT_NE(Fantome(), nullptr);
  EXPECT_EQ(Fantome()->Color(), Couleurs::clRed);
  EXPECT_EQ(liste->TopRow(), 1);
  Saisie::RelacherSouris(*fiche, {400, 350});
  EXPECT_EQ(suppressions, 1);
  EXPECT_EQ(Fantome(), nullptr);
  horloge.Avancer(1000);
  EXPECT_EQ(suppressions, 1);
}

TEST_F(Gestes, AMoveOfSixPixelsStartsTheGestureEarlyAndAReleaseBeforeItDoesNothing) {
  const TPoint p = Centre(1, 2);
  Saisie::EnfoncerSouris(*fiche, p);
  Saisie::DeplacerSouris(*fiche, {p.X + 5, p.Y - 5});
  EXPECT_EQ(Fantome(), nullptr);
  Saisie::DeplacerSouris(*fiche, {p.X + 6, p.Y});
  ASSERT_NE(Fantome(), nullptr);
  EXPECT_EQ(Fantome()->Caption(), "Ligne 2");
  Saisie::RelacherSouris(*fiche, {p.X + 6, p.Y});
  // Released before the timer and before any move.
  Saisie::EnfoncerSouris(*fiche, p);
  Saisie::RelacherSouris(*fiche, p);
  EXPECT_EQ(liste->Minuterie(), nullptr);
  horloge.Avancer(1000);
  EXPECT_EQ(Fantome(), nullptr);
  EXPECT_EQ(suppressions, 0);
}

TEST_F(Gestes, ARefusedRequestShowsNoGhostAndAnAbsentTextIsTwelveBlanks) {
  liste->SurRequeteSuppression = [](TComponent*, TListCoord) { return false; };
  Saisie::EnfoncerSouris(*fiche, Centre(1, 2));
  horloge.Avancer(400);
  EXPECT_EQ(Fantome(), nullptr);
  EXPECT_EQ(liste->GestePendant(), 0);
  Saisie::RelacherSouris(*fiche, {400, 100});
  EXPECT_EQ(suppressions, 0);
  liste->SurRequeteSuppression = nullptr;
  liste->SurAccederInfoFantome = nullptr;
  liste->SetEditable(false);  // a list that cannot be edited arms no delete gesture
  Saisie::EnfoncerSouris(*fiche, Centre(1, 2));
  EXPECT_EQ(liste->Minuterie(), nullptr);
  Saisie::RelacherSouris(*fiche, Centre(1, 2));
  liste->SetEditable(true);
  Saisie::EnfoncerSouris(*fiche, Centre(1, 2));
  horloge.Avancer(400);
  ASSERT_NE(Fantome(), nullptr);
  EXPECT_EQ(Fantome()->Caption(), std::string(12, ' '));
  Saisie::RelacherSouris(*fiche, Centre(1, 2));
}

TEST_F(Gestes, TheMoveGestureIsGreenOutsideAndDropsWhereverItIsReleased) {
  int demandes = 0;
  liste->SurRequeteDeplacement = [&](TComponent*, TListCoord c) { return ++demandes, c.Y == 4; };
  Saisie::EnfoncerSouris(*fiche, Centre(1, 4), TMouseButton::mbLeft, ssCtrl | ssAlt);
  EXPECT_EQ(liste->GestePendant(), 64);
  horloge.Avancer(10);
  ASSERT_NE(Fantome(), nullptr);
  EXPECT_EQ(demandes, 1);
  EXPECT_EQ(Fantome()->Color(), Couleurs::clNavy);
  Saisie::DeplacerSouris(*fiche, {400, 50});
  EXPECT_EQ(Fantome()->Color(), Couleurs::clGreen);
  Saisie::DeplacerSouris(*fiche, Centre(1, 8));
  Saisie::RelacherSouris(*fiche, Centre(1, 8));
  EXPECT_EQ(deplacements.size(), 1u);
  EXPECT_EQ(deplacements[0], Centre(1, 8));
  EXPECT_EQ(suppressions, 0);
  // The owner's colours.
  liste->SurAccederCouleursFantome = [](TComponent*, TColor& Fond, TColor& Forme) {
    Fond = Couleurs::clOlive;
    Forme = Couleurs::clBlack;
  };
  Saisie::EnfoncerSouris(*fiche, Centre(1, 4), TMouseButton::mbLeft, ssCtrl | ssAlt);
  horloge.Avancer(10);
  ASSERT_NE(Fantome(), nullptr);
  EXPECT_EQ(Fantome()->Color(), Couleurs::clOlive);
  EXPECT_EQ(Fantome()->Font().Color, Couleurs::clBlack);
  Saisie::RelacherSouris(*fiche, Centre(1, 4));
  // Without AvecDeplacement Ctrl+Alt arms nothing.
  liste->SetVokOptions(AvecMultiSelec);
  Saisie::EnfoncerSouris(*fiche, Centre(1, 4), TMouseButton::mbLeft, ssCtrl | ssAlt);
  EXPECT_EQ(liste->Minuterie(), nullptr);
  Saisie::RelacherSouris(*fiche, Centre(1, 4));
}

TEST_F(Gestes, InRowModeTheGhostShowsTheRowUnderTheMouseYellowInsideAndRedOutside) {
  liste->ShowVokLigne = true;
  Saisie::EnfoncerSouris(*fiche, Centre(1, 2));
  horloge.Avancer(400);
  ASSERT_NE(Fantome(), nullptr);
  EXPECT_EQ(Fantome()->Color(), Couleurs::clYellow);
  EXPECT_EQ(Fantome()->Font().Color, Couleurs::clBlack);
  Saisie::DeplacerSouris(*fiche, Centre(1, 6));
  EXPECT_EQ(Fantome()->Caption(), "Ligne 6");
  EXPECT_TRUE(Fantome()->Visible());
  Saisie::DeplacerSouris(*fiche, {450, 300});
  EXPECT_EQ(Fantome()->Color(), Couleurs::clRed);
  EXPECT_EQ(Fantome()->Font().Color, Couleurs::clWhite);
  EXPECT_EQ(Fantome()->Caption(), "Ligne -1");
  Saisie::RelacherSouris(*fiche, {450, 300});
  EXPECT_EQ(suppressions, 1);
}

TEST_F(Gestes, ScrollingWhileDraggingHidesTheGhostAndDropsTheRowWithoutAction) {
  Saisie::EnfoncerSouris(*fiche, Centre(1, 2));
  horloge.Avancer(400);
  ASSERT_NE(Fantome(), nullptr);
  liste->Defiler(TScrollBarKind::sbVertical, SB_LINEDOWN);
  EXPECT_EQ(Fantome(), nullptr);
  EXPECT_FALSE(liste->LigneGlissee());
  EXPECT_TRUE(Application().ShowHint);
  Saisie::RelacherSouris(*fiche, {400, 100});
  EXPECT_EQ(suppressions, 0);
}

TEST_F(ListeEssai, ThePreparationsOfTheGhost) {
  liste->SetFont([] {
    TFont f;
    f.Name = "Tahoma";
    f.Height = 13;
    return f;
  }());
  TFantome& g = liste->PreparerFantomeGlisser();
  EXPECT_EQ(g.Caption(), std::string("Sélection"_ansi));
  EXPECT_EQ(g.Color(), Couleurs::clGreen);  // no delete gesture pending
  EXPECT_EQ(g.Font().Name, "Tahoma");
  EXPECT_EQ(g.Font().Color, Couleurs::clWhite);
  EXPECT_EQ(g.BoundsRect(), (TRect{0, 0, 64, 24}));
  EXPECT_TRUE(g.SansCadre);
  liste->CacherFantome();
  EXPECT_EQ(VclFanto::Fantome(), nullptr);
  TFantome& b = liste->PreparerFantomeBulle();
  EXPECT_TRUE(b.Bulle());
  EXPECT_EQ(b.Font().Name, "Arial");
  EXPECT_EQ(b.Font().Style, 0);
  EXPECT_EQ(b.Font().Color, Couleurs::clBlack);
  EXPECT_EQ(b.Color(), 0xE1FFFF);
  liste->CacherFantome();
  EXPECT_EQ(VclFanto::Fantome(), nullptr);
}

// ---- sizing and moving ----

TEST_F(ListeEssai, SizingAColumnFollowsTheMouseAndAppliesAboveOnePixel) {
  liste->SetOptions(liste->Options() | goColSizing | goRowSizing);
  std::vector<int32_t> changees;
  liste->SurTailleColonneChangee = [&](TComponent*, int32_t n) { changees.push_back(n); };
  EXPECT_EQ(liste->CurseurAuPoint(64, 10), crHSplit);
  EXPECT_EQ(liste->CurseurAuPoint(61, 10), crHSplit);  // 7 pixels wide, centred on the border
  EXPECT_EQ(liste->CurseurAuPoint(57, 10), liste->Cursor);
  EXPECT_EQ(liste->CurseurAuPoint(64, 40), liste->Cursor);  // not in the header rows
  EXPECT_EQ(liste->CurseurAuPoint(10, 49), crVSplit);
  const struct {
    int jusqua;
    int32_t largeur;
  } cas[] = {{100, 100}, {1, 100}, {3, 5}, {130, 130}};
  for (const auto& c : cas) {
    const int bord = liste->RectangleCellule(1, 0).Right;
    Saisie::EnfoncerSouris(*fiche, {bord, 10});
    EXPECT_EQ(liste->EtatGrille(), 3);
    Saisie::DeplacerSouris(*fiche, {liste->RectangleCellule(1, 0).Left + c.jusqua, 10});
    EXPECT_EQ(liste->LignesXor().size(), 1u);
    Saisie::RelacherSouris(*fiche, {liste->RectangleCellule(1, 0).Left + c.jusqua, 10});
    EXPECT_EQ(liste->ColWidths(1), c.largeur) << c.jusqua;
    EXPECT_TRUE(liste->LignesXor().empty());
    EXPECT_EQ(liste->EtatGrille(), 0);
  }
  EXPECT_EQ(changees, (std::vector<int32_t>{1, 1, 1}));
  // Without the option the border is no sizing zone: a click in the header selects nothing.
  liste->SetOptions(liste->Options() & ~goColSizing);
  Saisie::EnfoncerSouris(*fiche, {64, 10});
  EXPECT_EQ(liste->EtatGrille(), 0);
  Saisie::RelacherSouris(*fiche, {64, 10});
}

TEST_F(ListeEssai, MovingARowShiftsTheCurrentCellAndTheAnchor) {
  liste->SetOptions(liste->Options() | goRowMoving | goColMoving);
  std::vector<std::pair<int32_t, int32_t>> lignes, colonnes;
  liste->OnRowMoved = [&](TComponent*, int32_t De, int32_t A) { lignes.push_back({De, A}); };
  liste->OnColumnMoved = [&](TComponent*, int32_t De, int32_t A) { colonnes.push_back({De, A}); };
  liste->DefinirHauteurLigne(2, 30);
  liste->DefinirCourante(1, 3);
  Saisie::EnfoncerSouris(*fiche, Centre(0, 2));
  EXPECT_EQ(liste->EtatGrille(), 4);
  Saisie::DeplacerSouris(*fiche, Centre(0, 5));
  EXPECT_EQ(liste->LignesXor().size(), 1u);
  Saisie::RelacherSouris(*fiche, Centre(0, 5));
  EXPECT_EQ(lignes, (std::vector<std::pair<int32_t, int32_t>>{{2, 5}}));
  EXPECT_EQ(liste->Courante(), (TListCoord{1, 2}));
  EXPECT_EQ(liste->Ancre(), (TListCoord{1, 2}));
  EXPECT_EQ(liste->RowHeights(5), 30);
  EXPECT_EQ(liste->RowHeights(2), 24);
  EXPECT_TRUE(liste->LignesXor().empty());
  // Dropped where it came from: nothing moves.
  Saisie::EnfoncerSouris(*fiche, Centre(0, 4));
  Saisie::RelacherSouris(*fiche, Centre(0, 4));
  EXPECT_EQ(lignes.size(), 1u);
  // A column.
  liste->DefinirLargeurColonne(1, 40);
  Saisie::EnfoncerSouris(*fiche, Centre(1, 0));
  Saisie::DeplacerSouris(*fiche, Centre(2, 0));
  Saisie::RelacherSouris(*fiche, Centre(2, 0));
  EXPECT_EQ(colonnes, (std::vector<std::pair<int32_t, int32_t>>{{1, 2}}));
  EXPECT_EQ(liste->ColWidths(2), 40);
  EXPECT_EQ(liste->Courante(), (TListCoord{2, 2}));
}

TEST_F(ListeEssai, TheTimedScrollMovesTheAnchorTowardsTheMouseWhileSelecting) {
  Saisie::EnfoncerSouris(*fiche, Centre(1, 10));
  EXPECT_EQ(liste->EtatGrille(), 1);
  Saisie::DeplacerSouris(*fiche, {100, 280});  // below the rows
  const TListCoord ancre = liste->Ancre();
  horloge.Avancer(60);
  EXPECT_EQ(liste->Ancre().Y, ancre.Y + 1);
  Saisie::RelacherSouris(*fiche, {100, 280});
  horloge.Avancer(60);
  EXPECT_EQ(liste->Ancre().Y, ancre.Y + 1);
  EXPECT_EQ(Selection(), (std::vector<int32_t>{10}));
}

TEST_F(ListeEssai, FocusAndTheMouseEnteringAndLeaving) {
  int entrees = 0, sorties = 0;
  liste->OnMouseEnter = [&](TComponent*) { ++entrees; };
  liste->OnMouseLeave = [&](TComponent*) { ++sorties; };
  Saisie::DeplacerSouris(*fiche, {50, 50});
  Saisie::DeplacerSouris(*fiche, {500, 50});
  EXPECT_EQ(entrees, 1);
  EXPECT_EQ(sorties, 1);
  EXPECT_FALSE(liste->Focused());
  Cliquer(1, 3);
  EXPECT_TRUE(liste->Focused());
  // A list on a hidden form cannot take the focus: a click does nothing.
  fiche->Hide();
  EXPECT_FALSE(liste->CanFocus());
}

}  // namespace

namespace {

TEST_F(ListeEssai, TheSelectionNoticeAndTheTopLeftEventsComeInTheirOrder) {
  std::vector<std::string> vu;
  liste->SurSelection = [&](TComponent*) { vu.push_back("selection"); };
  liste->SurAfficherInfos = [&](TComponent*) { vu.push_back("infos"); };
  liste->OnPreTopLeftChanged = [&](TComponent*, TListCoord a, TListCoord n) {
    vu.push_back("avant " + std::to_string(a.Y) + ">" + std::to_string(n.Y) + " top " +
                 std::to_string(liste->TopRow()));
  };
  liste->OnTopLeftChanged = [&](TComponent*) { vu.push_back("apres"); };
  liste->SelectionnerLigne({1, 4});
  liste->SetTopRow(3);
  liste->SetTopRow(3);  // unchanged: nothing
  EXPECT_EQ(vu, (std::vector<std::string>{"selection", "infos", "avant 1>3 top 3", "infos", "apres"}));
  vu.clear();
  liste->SelectionnerLigne({0, 4});  // a fixed column is no data cell: refused
  liste->SelectionnerLigne({1, 0});  // nor a fixed row
  EXPECT_TRUE(vu.empty());
  EXPECT_EQ(Selection(), (std::vector<int32_t>{4}));
}

TEST_F(Gestes, LosingTheFocusHidesTheGhostAndDropsTheRow) {
  auto* autre = new TListeEssai(fiche);
  autre->SetParent(fiche);
  autre->SetBounds(300, 0, 100, 100);
  Saisie::EnfoncerSouris(*fiche, Centre(1, 2));
  horloge.Avancer(400);
  ASSERT_NE(Fantome(), nullptr);
  autre->SetFocus();
  EXPECT_EQ(Fantome(), nullptr);
  EXPECT_FALSE(liste->LigneGlissee());
  Saisie::RelacherSouris(*fiche, {500, 300});
  EXPECT_EQ(suppressions, 0);
}

}  // namespace
