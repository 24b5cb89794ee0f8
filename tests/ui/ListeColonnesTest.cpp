// The named-column list: its columns and their two orders, the look-ups, the width reports, the
// header hints, and the creation and modification cycles driven through the entry field by the
// scripted modal driver.
#include <stdexcept>
#include <string>
#include <vector>

#include "core/values/Ansi1252.h"
#include "platform/gui/Saisie.h"
#include "platform/ui/BoiteMessage.h"
#include "tests/ui/FenetresEssai.h"
#include "tests/ui/Photographie.h"
#include "ui/Saisies.h"
#include "ui/vclliste.h"

namespace {

using TV = TypeToucheDeValidation;

// The keys of a column's entry: Enter, Tab, Shift-Tab, Down and Up end it.
bool Touches(int Key, uint8_t Shift, bool, TV& Finale, bool) {
  switch (Key) {
    case VK_RETURN: Finale = TV::tvRetour; return true;
    case VK_TAB: Finale = (Shift & ssShift) ? TV::tvTabulationArriere : TV::tvTabulationAvant; return true;
    case VK_DOWN: Finale = TV::tvFlecheBas; return true;
    case VK_UP: Finale = TV::tvFlecheHaut; return true;
    default: return false;
  }
}

class ListeColonnes : public FenetresEssai {
 public:
  void SetUp() override {
    FenetresEssai::SetUp();
    fiche = new TForm(nullptr);
    fiche->SetBorderStyle(TFormBorderStyle::bsNone);
    fiche->SetBounds(100, 100, 600, 400);
    liste = new TVokStringList(fiche);
    liste->SetParent(fiche);
    liste->SetBorderStyle(TListBorderStyle::bsNone);
    liste->SetScrollBars(TListScrollBars::ssNone);
    liste->SetFixedCols(0);
    liste->DefinirNombreLignes(5);
    liste->SetBounds(0, 0, 500, 6 * 25);
    fiche->Show();
  }
  void TearDown() override {
    VclFanto::CacherFantome();
    delete fiche;
    FenetresEssai::TearDown();
  }

  // An edit routine that opens an entry over its cell and notes the cell it edited.
  TEditionColonne Entree() {
    return [this](TVokStringList* L, int32_t Col, int32_t Row, bool& Continuer, TV& Finale) {
      editees.push_back({Col, Row});
      std::string texte = "x";
      Continuer = Saisies::EditerCellule(L, 0, Col, Row, 20, 0, false, Touches, Finale, texte);
    };
  }
  int32_t Colonne(const std::string& Nom, bool AvecEdition = true, int32_t Largeur = 80) {
    return liste->AjouterColonne(Nom, Largeur, nullptr, nullptr, nullptr, AvecEdition ? Entree() : nullptr, "");
  }
  TPoint Centre(int32_t Col, int32_t Row) const {
    const TRect r = liste->RectangleCellule(Col, Row);
    return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
  }
  // Each entry that opens gets the next key of the script.
  void Script(std::vector<int> Cles) {
    cles = std::move(Cles);
    pilote.ScriptSaisie = [this](TWinControl&) {
      if (prochaine < cles.size()) Saisie::Touche(*fiche, cles[prochaine++]);
    };
  }

  TForm* fiche = nullptr;
  TVokStringList* liste = nullptr;
  std::vector<TListCoord> editees;
  std::vector<int> cles;
  size_t prochaine = 0;
};

TEST_F(ListeColonnes, ColumnsAreNumberedByDeclarationAndLookedUpByNameAndPosition) {
  int boites = 0;
  pilote.Script = [&](TForm& F) {
    ++boites;
    EXPECT_EQ(static_cast<TBoiteMessage&>(F).Texte->Caption(), std::string("ATTENTION : la colonne nommée 'A' existe déjà "_ansi));
  };
  EXPECT_EQ(Colonne("A", true, 50), 1);
  EXPECT_EQ(Colonne("A", true, 60), 2);
  EXPECT_EQ(boites, 1);
  pilote.Script = [&](TForm& F) {
    ++boites;
    EXPECT_EQ(static_cast<TBoiteMessage&>(F).Texte->Caption(),
              std::string("ATTENTION : impossible de gérer une colonne nommée '' "_ansi));
  };
  EXPECT_EQ(Colonne("", true, 40), 3);
  EXPECT_EQ(boites, 2);
  pilote.Script = nullptr;
  liste->SupprimerColonnes();
  EXPECT_EQ(Colonne("A", true, 50), 1);
  EXPECT_EQ(Colonne("A", true, 60), 2);
  pilote.Script = nullptr;
  EXPECT_EQ(Colonne("B", false, 70), 3);
  EXPECT_EQ(liste->ColCount(), 3);
  EXPECT_EQ(liste->ColWidths(2), 70);
  EXPECT_EQ(liste->NumeroColonne("B"), 3);
  EXPECT_EQ(liste->NumeroColonne("Z"), -1);
  EXPECT_EQ(liste->NomColonne(4), "");
  EXPECT_EQ(liste->LargeurColonne("Z"), 50);  // an unknown name: the first grid column

  // Moving column 3 to declared position 1 moves it in the displayed order too.
  liste->DeplacerColonne(3, 1);
  EXPECT_EQ(liste->NumeroDeclare(1), 3);
  EXPECT_EQ(liste->NumeroAffichee(1), 3);
  EXPECT_EQ(liste->ColWidths(0), 70);
  EXPECT_EQ(liste->NomColonneAffichee(2), "A");
  // A hidden column leaves the displayed order and keeps its declared position.
  liste->DefinirVisibilite(1, false);
  EXPECT_EQ(liste->ColCount(), 2);
  EXPECT_EQ(liste->PositionAffichee(1), 0);
  EXPECT_EQ(liste->NumeroAffichee(2), 2);
  EXPECT_EQ(liste->NumeroDeclare(2), 1);
  liste->DefinirVisibilite(1, true);
  EXPECT_EQ(liste->NumeroAffichee(2), 1);
  // Pixels: no border, so the first column starts at pixel 2; lines of one pixel.
  EXPECT_EQ(liste->GaucheColonne("B"), 1);
  EXPECT_EQ(liste->GaucheColonne("A"), 1 + 71);
  EXPECT_EQ(liste->ColonneAuPixel(0), "B");
  EXPECT_EQ(liste->ColonneAuPixel(75), "A");
  EXPECT_EQ(liste->LargeurTotale(), 1 + 71 + 51 + 61);
  liste->SetBorderStyle(TListBorderStyle::bsSingle);
  EXPECT_EQ(liste->LargeurTotale(), 1 + 71 + 51 + 61 + 4);
  liste->SupprimerColonnes();
  EXPECT_EQ(liste->NombreColonnes(), 0);
}

TEST_F(ListeColonnes, UserSizingAndMovingReportByColumnNumber) {
  Colonne("A");
  Colonne("B");
  Colonne("C");
  liste->SetOptions(static_cast<TListOptions>(liste->Options() | goColSizing | goColMoving));
  std::vector<int32_t> tailles;
  liste->SurTailleColonneChangee = [&](TComponent*, int32_t N) { tailles.push_back(N); };
  // Drag the border between the second and third columns 20 pixels right.
  const int bord = liste->RectangleCellule(1, 0).Right;
  Saisie::EnfoncerSouris(*fiche, {bord, 10});
  Saisie::DeplacerSouris(*fiche, {bord + 20, 10});
  Saisie::RelacherSouris(*fiche, {bord + 20, 10});
  EXPECT_EQ(tailles, std::vector<int32_t>{2});
  EXPECT_EQ(liste->LargeurColonne(2), 100);
  // Move the header of column 1 onto the third place: displayed C... order becomes B, C, A.
  Saisie::EnfoncerSouris(*fiche, Centre(0, 0));
  Saisie::DeplacerSouris(*fiche, Centre(2, 0));
  Saisie::RelacherSouris(*fiche, Centre(2, 0));
  EXPECT_EQ(liste->NomColonneAffichee(1), "B");
  EXPECT_EQ(liste->NomColonneAffichee(3), "A");
  EXPECT_EQ(liste->NumeroDeclare(3), 1);
  EXPECT_EQ(tailles, std::vector<int32_t>{2});  // moving changes no width
}

TEST_F(ListeColonnes, ACreationCycleOverThreeColumnsEditsEachOnEnterThenAsksForAnotherRow) {
  liste->SetVokOptions(AvecCreation);
  Colonne("A");
  Colonne("B");
  Colonne("C");
  Script({VK_RETURN, VK_RETURN, VK_RETURN});
  int terminer = 0, fin = 0;
  liste->SurTerminerCreation = [&](TComponent*) { return ++terminer, false; };
  liste->SurTerminerEdition = [&](TComponent*) { ++fin; };
  Saisie::EnfoncerSouris(*fiche, Centre(1, 0));
  Saisie::RelacherSouris(*fiche, Centre(1, 0));
  EXPECT_EQ(editees, (std::vector<TListCoord>{{0, 0}, {1, 0}, {2, 0}}));
  EXPECT_EQ(terminer, 1);
  EXPECT_EQ(fin, 1);
  EXPECT_FALSE(liste->Options() & goEditing);
  EXPECT_TRUE(liste->Options() & goRangeSelect);
}

TEST_F(ListeColonnes, ModificationCyclesFollowTheRuleOfTheFinalKey) {
  liste->SetVokOptions(AvecModification);
  Colonne("A");
  Colonne("B", false);  // no edit routine: Tab skips it
  Colonne("C");
  struct Cas {
    const char* nom;
    TListCoord depart;
    std::vector<int> cles;
    std::vector<TListCoord> editees;
  };
  // Data rows 1 to 5 are rows 1 to 5; the last row is 5.
  const Cas cas[] = {
      {"Tab skips the column without an edit routine", {0, 2}, {VK_TAB, VK_ESCAPE}, {{0, 2}, {2, 2}}},
      {"Down moves one row in the same column", {2, 2}, {VK_DOWN, VK_ESCAPE}, {{2, 2}, {2, 3}}},
      {"Enter on the last row ends the cycle", {0, 4}, {VK_RETURN, VK_RETURN}, {{0, 4}, {0, 5}}},
      {"Tab from the last editable column ends", {2, 1}, {VK_TAB}, {{2, 1}}},
      {"a column without an edit routine ends at once", {1, 1}, {}, {}},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.nom);
    editees.clear();
    prochaine = 0;
    Script(c.cles);
    int dbl = 0;
    liste->OnDblClick = [&](TComponent*) { ++dbl; };
    Saisie::EnfoncerSouris(*fiche, Centre(c.depart.X, c.depart.Y), TMouseButton::mbLeft, ssDouble);
    Saisie::RelacherSouris(*fiche, Centre(c.depart.X, c.depart.Y));
    EXPECT_EQ(editees, c.editees);
    EXPECT_EQ(dbl, 1);
    EXPECT_FALSE(liste->Options() & goEditing);
  }
}

TEST_F(ListeColonnes, ShiftTabWalksBackToThePreviousEditableColumn) {
  liste->SetVokOptions(AvecModification);
  Colonne("A");
  Colonne("B", false);
  Colonne("C");
  pilote.ScriptSaisie = [this](TWinControl&) {
    if (prochaine++ == 0)
      Saisie::Touche(*fiche, VK_TAB, ssShift);
    else
      Saisie::Touche(*fiche, VK_ESCAPE);
  };
  Saisie::EnfoncerSouris(*fiche, Centre(2, 3), TMouseButton::mbLeft, ssDouble);
  Saisie::RelacherSouris(*fiche, Centre(2, 3));
  EXPECT_EQ(editees, (std::vector<TListCoord>{{2, 3}, {0, 3}}));
}

// An edit routine that keeps going on the same cell with no user would turn for ever: a stop of
// the program ends both cycles.
TEST_F(ListeColonnes, BothCyclesEndOnAStopRequest) {
  liste->SetVokOptions(AvecCreation | AvecModification);
  int appels = 0;
  liste->AjouterColonne("A", 80, nullptr, nullptr, nullptr,
                        [&](TVokStringList* L, int32_t Col, int32_t Row, bool& Continuer, TV& Finale) {
                          ++appels;
                          std::string t;
                          (void)Saisies::EditerCellule(L, 0, Col, Row, 20, 0, false, nullptr, Finale, t);
                          Finale = TV::tvAucune;
                          Continuer = true;
                        },
                        "");
  // The driver leaves each entry open: it asks the loop to stop, which abandons the entry.
  Saisie::EnfoncerSouris(*fiche, Centre(0, 0));
  EXPECT_EQ(appels, 1);
  EXPECT_FALSE(liste->Options() & goEditing);
}

TEST_F(ListeColonnes, AModificationCycleEndsOnAStopRequestToo) {
  liste->SetVokOptions(AvecModification);
  int appels = 0;
  liste->AjouterColonne("A", 80, nullptr, nullptr, nullptr,
                        [&](TVokStringList*, int32_t, int32_t, bool& Continuer, TV& Finale) {
                          ++appels;
                          boucle->RequestStop();
                          Finale = TV::tvAucune;
                          Continuer = true;
                        },
                        "");
  Saisie::EnfoncerSouris(*fiche, Centre(0, 2), TMouseButton::mbLeft, ssDouble);
  EXPECT_EQ(appels, 1);
  EXPECT_FALSE(liste->Options() & goEditing);
}

TEST_F(ListeColonnes, AnEditRoutineThatRaisesLeavesTheCycleWithTheListsFlagsRestored) {
  liste->SetVokOptions(AvecModification);
  liste->AjouterColonne("A", 80, nullptr, nullptr, nullptr,
                        [](TVokStringList*, int32_t, int32_t, bool&, TV&) { throw std::runtime_error("panne"); }, "");
  EXPECT_THROW(Saisie::EnfoncerSouris(*fiche, Centre(0, 2), TMouseButton::mbLeft, ssDouble), std::runtime_error);
  Saisie::RelacherSouris(*fiche, Centre(0, 2));
  EXPECT_FALSE(liste->Options() & goEditing);
  EXPECT_TRUE(liste->Options() & goRangeSelect);
  // The list selects again: no edit counts as running.
  Saisie::EnfoncerSouris(*fiche, Centre(0, 4));
  Saisie::RelacherSouris(*fiche, Centre(0, 4));
  EXPECT_EQ(liste->LigneSelectionnee(1), 4);
}

TEST_F(ListeColonnes, ARequiredEntryLeftEmptyOrEscapedLeavesTheTextUnchanged) {
  Colonne("A");
  struct Cas {
    const char* nom;
    bool obligatoire;
    std::function<void(ListeColonnes&)> script;
    bool resultat;
  };
  const Cas cas[] = {
      {"required, emptied, then a click on the list", true,
       [](ListeColonnes& t) {
         Saisie::Caractere(*t.fiche, '\b');
         Saisie::EnfoncerSouris(*t.fiche, t.Centre(0, 3));
       },
       false},
      {"Escape", false, [](ListeColonnes& t) { Saisie::Touche(*t.fiche, VK_ESCAPE); }, false},
      {"a click on the list validates", false,
       [](ListeColonnes& t) {
         Saisie::Caractere(*t.fiche, 'y');
         Saisie::EnfoncerSouris(*t.fiche, t.Centre(0, 3));
       },
       true},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.nom);
    pilote.ScriptSaisie = [&](TWinControl&) { c.script(*this); };
    std::string texte = "a";
    TV finale = TV::tvAucune;
    EXPECT_EQ(Saisies::EditerCellule(liste, 0, 0, 2, 10, 0, c.obligatoire, nullptr, finale, texte), c.resultat);
    EXPECT_EQ(texte, c.resultat ? "ay" : "a");
    Saisie::RelacherSouris(*fiche, Centre(0, 3));
  }
}

TEST_F(ListeColonnes, HeaderHintsShowTheTitleBelowTheCellWhileTheRightButtonIsDown) {
  liste->ShowVokHint = true;
  liste->AjouterColonne("A", 80, nullptr, nullptr, nullptr, nullptr, "Titre de A");
  liste->AjouterColonne("B", 80, nullptr, nullptr, nullptr, nullptr, "  ");
  Saisie::EnfoncerSouris(*fiche, Centre(1, 0), TMouseButton::mbRight);
  EXPECT_EQ(VclFanto::Fantome(), nullptr);  // a blank title has no hint
  Saisie::RelacherSouris(*fiche, Centre(1, 0), TMouseButton::mbRight);
  Saisie::EnfoncerSouris(*fiche, Centre(0, 0), TMouseButton::mbRight);
  ASSERT_NE(VclFanto::Fantome(), nullptr);
  EXPECT_EQ(VclFanto::Fantome()->Caption(), "Titre de A");
  EXPECT_TRUE(VclFanto::Fantome()->Bulle());
  EXPECT_GE(VclFanto::Fantome()->Top(), fiche->Top() + 2 * 25);  // one row below the header
  EXPECT_FALSE(Application().ShowHint);
  Saisie::RelacherSouris(*fiche, Centre(0, 0), TMouseButton::mbRight);
  EXPECT_EQ(VclFanto::Fantome(), nullptr);
  EXPECT_TRUE(Application().ShowHint);
  // OnVokHint gives the text; moving over a header with a text shows the hint cursor.
  liste->OnVokHint = [](TComponent*, int32_t Col, int32_t) { return Col == 1 ? std::string("B !") : std::string(); };
  Saisie::DeplacerSouris(*fiche, Centre(1, 0));
  EXPECT_EQ(Screen().Cursor, liste->HintCursor);
  Saisie::EnfoncerSouris(*fiche, Centre(1, 0), TMouseButton::mbRight);
  ASSERT_NE(VclFanto::Fantome(), nullptr);
  EXPECT_EQ(VclFanto::Fantome()->Caption(), "B !");
  Saisie::RelacherSouris(*fiche, Centre(1, 0), TMouseButton::mbRight);
}

TEST_F(ListeColonnes, CellsAreDrawnByTheirColumnsRoutinesAndTheCreationRowKeepsRoomForItsPictures) {
  liste->SetVokOptions(AvecCreation);
  liste->SetFixedRows(2);
  std::vector<std::string> appels;
  const auto dessin = [&](const char* Quoi) {
    return [&appels, Quoi](TVokStringList*, int32_t Col, int32_t Row, TListVokDrawState, TRect R) {
      appels.push_back(std::string(Quoi) + " " + std::to_string(Col) + "," + std::to_string(Row) + " " +
                       std::to_string(R.Left) + "-" + std::to_string(R.Right));
    };
  };
  liste->AjouterColonne("A", 80, dessin("entete"), dessin("creation"), dessin("donnee"), nullptr, "");
  liste->AjouterColonne("B", 60, dessin("entete"), dessin("creation"), dessin("donnee"), nullptr, "");
  liste->DefinirNombreLignes(1);
  auto c = Photographier(*liste, "liste-colonnes");
  // The creation row: the left indicator (8 wide) + 2 taken from the first column, the right
  // one from the last.
  EXPECT_EQ(appels, (std::vector<std::string>{"entete 0,0 0-80", "entete 1,0 81-141", "creation 0,1 10-80",
                                              "creation 1,1 81-131", "donnee 0,2 0-80", "donnee 1,2 81-141"}));
  EXPECT_EQ(c->LirePixel(40, 37), 0xFFFF80);  // the creation row's colour
}

}  // namespace
