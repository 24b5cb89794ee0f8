// The fixture of the list control's tests: a shown form of 600 x 400 client pixels holding a list
// at (0, 0) of 3 columns (one fixed) of 64 pixels and 21 rows (one fixed) of 24 pixels, with one-
// pixel lines, no border and no scroll bars, so that exactly ten data rows are visible (the header
// takes 25 pixels, each row 25). Data row n is row n and lies at y = 25 n.
#pragma once

#include <string>
#include <vector>

#include "platform/gui/Saisie.h"
#include "tests/ui/FenetresEssai.h"
#include "ui/vclliste.h"

// A list that lets the tests reach its protected side.
class TListeEssai : public TVokDrawList {
 public:
  using TVokCustomList::CacherFantome;
  using TVokCustomList::PreparerFantomeBulle;
  using TVokCustomList::PreparerFantomeGlisser;
  using TVokDrawList::TVokDrawList;
};

class ListeEssai : public FenetresEssai {
 protected:
  void SetUp() override {
    FenetresEssai::SetUp();
    fiche = new TForm(nullptr);
    fiche->SetBorderStyle(TFormBorderStyle::bsNone);
    fiche->SetBounds(100, 100, 600, 400);
    liste = new TListeEssai(fiche);
    liste->SetParent(fiche);
    liste->SetBorderStyle(TListBorderStyle::bsNone);
    liste->SetScrollBars(TListScrollBars::ssNone);
    liste->SetColCount(3);
    liste->DefinirNombreLignes(20);
    liste->SetBounds(0, 0, 3 * 65, 11 * 25);
    fiche->Show();
  }
  void TearDown() override {
    VclFanto::CacherFantome();
    delete fiche;
    FenetresEssai::TearDown();
  }

  // The middle of a cell, in form coordinates (the list sits at the form's origin).
  TPoint Centre(int32_t Col, int32_t Row) const {
    const TRect r = liste->RectangleCellule(Col, Row);
    return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
  }
  void Cliquer(int32_t Col, int32_t Row, uint8_t Shift = 0) {
    Saisie::EnfoncerSouris(*fiche, Centre(Col, Row), TMouseButton::mbLeft, Shift);
    Saisie::RelacherSouris(*fiche, Centre(Col, Row), TMouseButton::mbLeft, Shift);
  }
  // Selects exactly these data rows.
  void Selectionner(const std::vector<int32_t>& Lignes) {
    liste->ViderSelection();
    for (int32_t l : Lignes) liste->BasculerLigne({1, l});
  }
  std::vector<int32_t> Selection() const {
    std::vector<int32_t> l;
    for (int32_t i = 1; i <= liste->NombreSelectionnes(); ++i) l.push_back(liste->LigneSelectionnee(i));
    return l;
  }

  TForm* fiche = nullptr;
  TListeEssai* liste = nullptr;
};
