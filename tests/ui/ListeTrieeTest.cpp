// The sorted multi-column list: the number of sort cursors, the layout of the strip and the list,
// the cursors dragged by injected mouse input and the two events they raise; and the protocol trace
// window built on it.
#include <string>
#include <vector>

#include "net/protocol/NetProtocol.h"
#include "net/protocol/VclProtocole.h"
#include "platform/gui/Saisie.h"
#include "tests/ui/FenetresEssai.h"
#include "tests/ui/Photographie.h"
#include "ui/FicheProtocole.h"
#include "ui/Saisies.h"
#include "ui/VCLStLst.h"

namespace {

class ListeTriee : public FenetresEssai {
 protected:
  void SetUp() override {
    FenetresEssai::SetUp();
    fiche = new TForm(nullptr);
    fiche->SetBorderStyle(TFormBorderStyle::bsNone);
    fiche->SetBounds(100, 100, 600, 400);
    liste = new TVokSortedStringList(fiche);
    liste->SetParent(fiche);
    liste->SetBounds(0, 0, 400, 200);
    liste->Liste()->SetFixedCols(0);
    for (const char* nom : {"A", "B", "C", "D"}) liste->AjouterColonne(nom, 80);
    liste->DefinirNombreLignes(3);
    liste->SurTrierColonnes = [this](TComponent*, TTrisChanges T) { tris.push_back(T); };
    liste->SurInverserTri = [this](TComponent*, TTrisChanges T) { inversions.push_back(T); };
    fiche->Show();
  }
  void TearDown() override {
    delete fiche;
    FenetresEssai::TearDown();
  }
  // Drags a cursor's picture from its middle to the middle of a column's header.
  void Deposer(int Numero, int32_t Position) {
    TCurseurTri& c = *liste->Curseur(Numero);
    const TPoint depart{c.Left() + c.Image()->Width() / 2, c.Top() + c.Image()->Height() / 2};
    const TRect r = liste->Liste()->RectangleCellule(Position - 1, 0);
    const TPoint arrivee{liste->Liste()->Left() + (r.Left + r.Right) / 2, depart.Y};
    Saisie::EnfoncerSouris(*fiche, depart);
    Saisie::DeplacerSouris(*fiche, {(depart.X + arrivee.X) / 2, depart.Y});
    Saisie::DeplacerSouris(*fiche, arrivee);
    Saisie::RelacherSouris(*fiche, arrivee);
  }
  // The cursors on columns 1 and 3, the reports forgotten.
  void DeuxCurseurs() {
    liste->SetNombreTris(2);
    liste->Curseur(1)->PositionnerSurColonne(1);
    liste->Curseur(2)->PositionnerSurColonne(3);
    tris.clear();
    inversions.clear();
    liste->TypeTrisChanges = 0;
  }

  TForm* fiche = nullptr;
  TVokSortedStringList* liste = nullptr;
  std::vector<TTrisChanges> tris, inversions;
};

TEST_F(ListeTriee, TheNumberOfCursorsStaysWithinZeroAndTwoAndTheStripShowsWithThem) {
  struct Cas {
    int demande, nombre;
    bool bande, curseur1, curseur2;
    int hautListe;
  };
  const Cas cas[] = {{5, 2, true, true, true, 20}, {1, 1, true, true, false, 20}, {-1, 0, false, false, false, 0}};
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.demande);
    liste->SetNombreTris(c.demande);
    EXPECT_EQ(liste->NombreTris(), c.nombre);
    EXPECT_EQ(liste->Bande()->Visible(), c.bande);
    EXPECT_EQ(liste->Curseur(1)->Visible(), c.curseur1);
    EXPECT_EQ(liste->Curseur(2)->Visible(), c.curseur2);
    EXPECT_EQ(liste->Liste()->Top(), c.hautListe);
    EXPECT_EQ(liste->Liste()->Height(), 200 - c.hautListe);
  }
}

TEST_F(ListeTriee, DroppingCursorTwoOnCursorOnesColumnMovesCursorOneAndReportsOneChange) {
  DeuxCurseurs();
  Deposer(2, 2);  // onto B: a change of column, both cursors have one
  EXPECT_EQ(liste->Curseur(2)->Colonne, 2);
  EXPECT_EQ(tris, std::vector<TTrisChanges>{Tri(2)});
  tris.clear();
  // Cursor 2 onto A, cursor 1's column: cursor 1 has nothing before A, so it takes the next one.
  Deposer(2, 1);
  EXPECT_EQ(liste->Curseur(2)->Colonne, 1);
  EXPECT_EQ(liste->Curseur(1)->Colonne, 2);
  EXPECT_EQ(tris.size(), 1u);
  EXPECT_TRUE(inversions.empty());
  // Cursor 1 onto C, then cursor 2 onto C: cursor 1 moves back to B, the nearest before it.
  Deposer(1, 3);
  tris.clear();
  Deposer(2, 3);
  EXPECT_EQ(liste->Curseur(1)->Colonne, 2);
  EXPECT_EQ(tris.size(), 1u);
  EXPECT_FALSE(liste->Curseur(2)->Glisse());
  EXPECT_NE(Screen().Cursor, -1);  // the pointer shows again
}

TEST_F(ListeTriee, DroppingACursorBackOnItsOwnColumnAsksToInvertThatSort) {
  DeuxCurseurs();
  Deposer(1, 1);
  EXPECT_EQ(inversions, std::vector<TTrisChanges>{Tri(1)});
  EXPECT_TRUE(tris.empty());
  // A double click asks to sort again by the same column (its first click, a drop where the
  // cursor stands, asked for an inversion first).
  inversions.clear();
  Saisie::DoubleCliquer(*liste->Curseur(2)->Image());
  EXPECT_EQ(inversions, std::vector<TTrisChanges>{Tri(2)});
  EXPECT_EQ(tris, std::vector<TTrisChanges>{Tri(2)});
}

TEST_F(ListeTriee, ACursorWhoseColumnIsHiddenMovesToTheNearestDisplayedColumn) {
  DeuxCurseurs();
  liste->Liste()->DefinirVisibilite(3, false);
  liste->Disposer();
  EXPECT_EQ(liste->Curseur(2)->Colonne, 2);
  // Centred over B's header: B starts 3 pixels in with the single border, after A and its line.
  EXPECT_EQ(liste->Curseur(2)->Left(), 3 + 81 + (80 - liste->Curseur(2)->Image()->Width()) / 2);
}

TEST_F(ListeTriee, PressingACursorWhileAnEntryIsOpenOnlyEndsTheEntry) {
  DeuxCurseurs();
  TCurseurTri& c = *liste->Curseur(1);
  pilote.ScriptSaisie = [&](TWinControl&) {
    Saisie::EnfoncerSouris(*fiche, {c.Left() + 3, c.Top() + 3});
    Saisie::RelacherSouris(*fiche, {c.Left() + 3, c.Top() + 3});
  };
  std::string texte = "t";
  TypeToucheDeValidation finale{};
  EXPECT_TRUE(Saisies::EditerCellule(liste->Liste(), 0, 0, 1, 10, 0, false, nullptr, finale, texte));
  EXPECT_FALSE(c.Glisse());
  EXPECT_TRUE(tris.empty());
  EXPECT_TRUE(inversions.empty());
}

// A drag that no user will finish (the program stops) ends where it is, without a drop.
TEST_F(ListeTriee, ACursorDragEndsOnAStopRequest) {
  DeuxCurseurs();
  TCurseurTri& c = *liste->Curseur(1);
  Saisie::EnfoncerSouris(*fiche, {c.Left() + 3, c.Top() + 3});
  EXPECT_TRUE(c.Glisse());
  boucle->RequestStop();
  Saisie::DeplacerSouris(*fiche, {c.Left() + 100, c.Top() + 3});
  EXPECT_FALSE(c.Glisse());
  EXPECT_EQ(c.Colonne, 1);
  EXPECT_TRUE(tris.empty() && inversions.empty());
}

TEST_F(ListeTriee, TheSortStripIsTwentyPixelsHighAboveTheList) {
  DeuxCurseurs();
  auto image = Photographier(*liste, "liste-triee");
  EXPECT_EQ(image->LirePixel(390, 10), Couleurs::CouleurRGB(Couleurs::clBtnFace));  // the strip
  EXPECT_EQ(image->LirePixel(390, 0), Couleurs::CouleurRGB(Couleurs::clBtnShadow));  // its lowered bevel
  EXPECT_EQ(image->LirePixel(390, 19), 0xFFFFFF);
  const TCurseurTri& c = *liste->Curseur(1);
  EXPECT_EQ(image->LirePixel(c.Left() + 7, c.Top() + 14), 0x800000);  // cursor 1's navy arrow
  EXPECT_EQ(image->LirePixel(c.Left(), c.Top() + 17), Couleurs::CouleurRGB(Couleurs::clBtnFace));  // silver is clear
  EXPECT_EQ(liste->Liste()->Top(), 20);
  liste->SetNombreTris(0);
  EXPECT_EQ(liste->Liste()->Top(), 0);
}

// ---- the protocol trace window ----

class TraceProtocole : public FenetresEssai {
 protected:
  void TearDown() override {
    if (FicheProtocole::Fiche()) FicheProtocole::Fiche()->Hide();
    VclProtocole::Initialiser();
    FenetresEssai::TearDown();
  }
};

TEST_F(TraceProtocole, AfterTwoThousandAndOneMessagesTheWindowShowsTwoThousandRowsOldestFirst) {
  VclProtocole::Initialiser();
  for (uint32_t i = 1; i <= 2001; ++i) VclProtocole::TracerMessage({}, {i, 2}, 7, "message");
  VclProtocole::AfficherTraceProtocole();
  TFicheProtocole* f = FicheProtocole::Fiche();
  ASSERT_NE(f, nullptr);
  EXPECT_TRUE(f->Visible());
  EXPECT_EQ(f->Caption(), "Trace protocole de communication");
  EXPECT_EQ(f->BoutonFermer->Caption(), "Fermer");
  EXPECT_EQ(f->ListeTraces->Liste()->RowCount(), 2001);
  EXPECT_EQ(f->ListeTraces->Liste()->ColCount(), 6);
  EXPECT_EQ(f->Width(), f->ListeTraces->LargeurIdeale() + 10);
  // The painted rows: the oldest entry left (1) is gone; the first row is entry 2.
  TCanvasEnregistreur c;
  f->ListeTraces->Liste()->PeindreGrille(c, f->ListeTraces->Liste()->ClientRect());
  const std::string dump = c.Dump();
  const size_t deux = dump.find("\"2\""), trois = dump.find("\"3\"");
  ASSERT_NE(deux, std::string::npos);
  ASSERT_NE(trois, std::string::npos);
  EXPECT_LT(deux, trois);
  EXPECT_NE(dump.find("\"Heure\""), std::string::npos);
  EXPECT_NE(dump.find("\"message (7)\""), std::string::npos);
}

TEST_F(TraceProtocole, RowsFollowTheTraceWhileTheWindowIsVisible) {
  VclProtocole::Initialiser();
  for (uint32_t i = 1; i <= 5; ++i) VclProtocole::TracerMessage({}, {i, 2}, 7, "m");
  VclProtocole::AfficherTraceProtocole();
  TFicheProtocole* f = FicheProtocole::Fiche();
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->ListeTraces->Liste()->RowCount(), 6);
  VclProtocole::TracerMessage({}, {6, 2}, 7, "m");
  EXPECT_EQ(f->ListeTraces->Liste()->RowCount(), 7);
  Saisie::Cliquer(*f->BoutonFermer);
  EXPECT_FALSE(f->Visible());
  VclProtocole::TracerMessage({}, {7, 2}, 7, "m");
  EXPECT_EQ(f->ListeTraces->Liste()->RowCount(), 7);
  VclProtocole::AfficherTraceProtocole();  // the same window, refreshed when shown
  EXPECT_EQ(FicheProtocole::Fiche(), f);
  EXPECT_EQ(f->ListeTraces->Liste()->RowCount(), 8);
}

}  // namespace
