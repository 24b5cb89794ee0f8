// The list control towards the user: the selection, the requests asked of the owner before
// anything changes, the keyboard, the quick search, the mouse, the sizing and moving of columns
// and rows, and the delete and move gestures.
#include <algorithm>
#include <cstdlib>

#include "core/objects/Exceptions.h"
#include "core/values/Ansi1252.h"
#include "platform/gui/Saisie.h"
#include "platform/ui/SaisieEnCours.h"
#include "ui/vclliste.h"
#include "ui/vcllisteInterne.h"

namespace {

constexpr uint32_t kDelaiSuppression = 400;  // ms before a held press starts the delete gesture
constexpr uint32_t kDelaiDeplacement = 10;   // ms before the move gesture starts
constexpr uint32_t kDelaiDefilement = 60;    // ms between two scrolls while selecting
constexpr int64_t kDelaiRecherche = 1000;    // ms after which the quick-search buffer starts afresh
constexpr size_t kLongueurRecherche = 20;
constexpr int kSeuilGeste = 5;  // pixels the mouse moves before a gesture starts early

// A letter or a digit of Windows-1252.
bool LettreOuChiffre(char c) {
  const auto u = static_cast<unsigned char>(c);
  if ((u >= '0' && u <= '9') || (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z')) return true;
  // The letters of the 1252 page between 0x80 and 0xBF: Š Œ Ž š œ ž Ÿ ª µ º.
  static constexpr unsigned char kLettres[] = {0x8A, 0x8C, 0x8E, 0x9A, 0x9C, 0x9E, 0x9F, 0xAA, 0xB5, 0xBA};
  if (std::find(std::begin(kLettres), std::end(kLettres), u) != std::end(kLettres)) return true;
  return u >= 0xC0 && u != 0xD7 && u != 0xF7;
}

int32_t Deplace(int32_t Position, int32_t De, int32_t A) {
  if (Position == De) return A;
  if (Position >= std::min(De, A) && Position <= std::max(De, A)) return Position + (De < A ? -1 : 1);
  return Position;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Requests and actions

bool TVokCustomList::PeutSelectionnerCellule(int32_t Col, int32_t Row) {
  (void)Col, (void)Row;
  return true;
}

bool TVokCustomList::EditionPossible() { return vokOptions_ & (AvecCreation | AvecModification); }

bool TVokCustomList::RequeteSelection(TListCoord Cellule) {
  // An edit that runs is ended (by the named-column list, which runs it) and the row not taken.
  if (editionEnCours_) return false;
  if ((vokOptions_ & SansSelection) || Cellule.Y < fixedRows_ || Cellule.X < fixedCols_) return false;
  return !SurRequeteSelection || SurRequeteSelection(this, Cellule);
}

bool TVokCustomList::RequeteCreation(TListCoord Cellule) {
  if (!(vokOptions_ & AvecCreation) || Cellule.Y != fixedRows_ - 1) return false;
  return !SurRequeteCreation || SurRequeteCreation(this, Cellule);
}

bool TVokCustomList::RequeteModification(TListCoord Cellule) {
  if (!(vokOptions_ & AvecModification)) return false;
  return !SurRequeteModification || SurRequeteModification(this, Cellule);
}

bool TVokCustomList::RequeteSuppression(TListCoord Cellule) {
  if (!(vokOptions_ & AvecSuppression) || Cellule.Y < fixedRows_ || Cellule.X < fixedCols_) return false;
  return !SurRequeteSuppression || SurRequeteSuppression(this, Cellule);
}

bool TVokCustomList::RequeteDeplacement(TListCoord Cellule) {
  if (!(vokOptions_ & AvecDeplacement) || Cellule.Y < fixedRows_ || Cellule.X < fixedCols_) return false;
  return !SurRequeteDeplacement || SurRequeteDeplacement(this, Cellule);
}

bool TVokCustomList::Creation() { return SurCreation && SurCreation(this); }
void TVokCustomList::Modification() {
  if (SurModification) SurModification(this);
}
void TVokCustomList::Suppression() {
  if (SurSuppression) SurSuppression(this);
}
void TVokCustomList::Deplacement(TMouseButton Bouton, uint8_t Shift, int X, int Y) {
  if (SurDeplacement) SurDeplacement(this, Bouton, Shift, X, Y);
}

// Without declared columns the owner edits by itself: the list only enters its editing state on
// the clicked cell (the named-column list runs its cycles over its columns instead).
void TVokCustomList::CycleCreation(TListCoord Cellule) {
  if (!RequeteCreation(Cellule)) {
    Click();
    return;
  }
  ViderSelection();
  EntrerEtatEdition();
  DeplacerCourante(Cellule.X, Cellule.Y, true, false);
  Click();
}

void TVokCustomList::CycleModification(TListCoord Cellule) {
  if (!RequeteModification(Cellule)) {
    if (OnDblClick) OnDblClick(this);
    return;
  }
  Modification();
  EntrerEtatEdition();
  SelectionnerLigne(Cellule);
  DeplacerCourante(Cellule.X, Cellule.Y, true, false);
  MontrerSelection();
  if (OnDblClick) OnDblClick(this);
}

void TVokCustomList::TailleColonneChangee(int32_t Index) {
  if (SurTailleColonneChangee) SurTailleColonneChangee(this, Index);
}

void TVokCustomList::EntrerEtatEdition() {
  geste_ = 2;
  SetOptions(static_cast<TListOptions>((options_ & ~goRangeSelect) | goEditing));
}

void TVokCustomList::SortirEtatEdition() {
  if (geste_ == 2) geste_ = 0;
  SetOptions(static_cast<TListOptions>((options_ & ~goEditing) | goRangeSelect));
}

// ---------------------------------------------------------------------------------------------
// Selection

void TVokCustomList::NotifierSelection() {
  if (SurAfficherInfos) SurAfficherInfos(this);
}

void TVokCustomList::RepeindreLigne(int32_t Row) {
  const TAxeListe a = AxeLignes();
  if (Row < fixedRows_ || (Row >= a.Premier && Row <= a.DernierPartiel)) TCustomControl::Invalidate();
}

bool TVokCustomList::EstSelectionnee(int32_t LigneDonnees) const {
  uint32_t p = 0;
  return LigneDonnees >= 1 && Memoire::Chercher(static_cast<uint32_t>(LigneDonnees), selection_, p);
}

int32_t TVokCustomList::LigneSelectionnee(int32_t Indice) const {
  if (Indice < 1 || static_cast<uint32_t>(Indice) > selection_.Nombre) return 0;
  return static_cast<int32_t>(selection_.Elements[Indice - 1]);
}

void TVokCustomList::SelectionnerLigne(TListCoord Cellule) {
  if (Cellule.Y < fixedRows_ || Cellule.Y >= rowCount_ || !RequeteSelection(Cellule)) return;
  const auto n = static_cast<uint32_t>(Cellule.Y - fixedRows_ + 1);
  for (uint32_t i = 0; i < selection_.Nombre; ++i)
    if (selection_.Elements[i] != n) RepeindreLigne(static_cast<int32_t>(selection_.Elements[i]) + fixedRows_ - 1);
  if (!EstSelectionnee(static_cast<int32_t>(n))) RepeindreLigne(Cellule.Y);
  Memoire::Reinitialiser(selection_);
  Memoire::Inserer(n, selection_);
  NotifierSelection();
}

void TVokCustomList::BasculerLigne(TListCoord Cellule) {
  if (Cellule.Y < fixedRows_ || Cellule.Y >= rowCount_) return;
  if (geste_ == 2) geste_ = 0;
  const auto n = static_cast<uint32_t>(Cellule.Y - fixedRows_ + 1);
  if (!Memoire::Supprimer(n, selection_)) {
    if (!RequeteSelection(Cellule)) return;
    Memoire::Inserer(n, selection_);
  }
  RepeindreLigne(Cellule.Y);
  NotifierSelection();
}

void TVokCustomList::EtendreSelection(TListCoord Cellule) {
  if (selection_.Nombre == 0 || Cellule.Y < fixedRows_ || Cellule.Y >= rowCount_) return;
  const auto n = static_cast<uint32_t>(Cellule.Y - fixedRows_ + 1);
  if (EstSelectionnee(static_cast<int32_t>(n))) return;
  const uint32_t premiere = selection_.Elements[0], derniere = selection_.Elements[selection_.Nombre - 1];
  const uint32_t de = n > derniere ? premiere : n, a = n > derniere ? n : derniere;
  std::vector<uint32_t> lignes;
  lignes.reserve(a - de + 1);
  for (uint32_t l = de; l <= a; ++l)
    if (RequeteSelection({Cellule.X, static_cast<int32_t>(l) + fixedRows_ - 1})) lignes.push_back(l);
  RemplacerSelection(lignes);
  TCustomControl::Invalidate();
  NotifierSelection();
}

void TVokCustomList::RemplacerSelection(const std::vector<uint32_t>& Lignes) {
  Memoire::Reinitialiser(selection_);
  if (Lignes.empty()) return;
  // One union sizes the set once (adding the values one by one would grow it five at a time).
  const auto n = static_cast<uint32_t>(Lignes.size());
  const TypeEnsembleMemoire vue{n, n, const_cast<uint32_t*>(Lignes.data())};
  Memoire::Union(vue, selection_);
}

void TVokCustomList::ViderSelection() {
  Memoire::Reinitialiser(selection_);
  TCustomControl::Invalidate();
  NotifierSelection();
}

// ---------------------------------------------------------------------------------------------
// The current cell and the focus

void TVokCustomList::DefinirCourante(int32_t Col, int32_t Row) { DeplacerCourante(Col, Row, true, true); }

void TVokCustomList::DeplacerCourante(int32_t Col, int32_t Row, bool Deplacer, bool Montrer) {
  if (Col < 0 || Row < 0 || Col >= colCount_ || Row >= rowCount_)
    vclliste::ErreurListe(vclliste::Consts_SIndexOutOfRange);
  if (!PeutSelectionnerCellule(Col, Row)) return;
  const TListCoord ancienne = current_;
  current_ = {Col, Row};
  if (Deplacer || !(options_ & goRangeSelect)) anchor_ = current_;
  RepeindreLigne(ancienne.Y);
  RepeindreLigne(Row);
  if (Montrer) RendreVisible(current_);
}

bool TVokCustomList::PrendreFocus() {
  if (Focused()) return true;
  if (!CanFocus()) return false;
  SetFocus();
  return Focused();
}

void TVokCustomList::DoEnter() {
  TCustomControl::Invalidate();
  TCustomControl::DoEnter();
}

void TVokCustomList::DoExit() {
  TCustomControl::Invalidate();
  CacherFantome();
  TCustomControl::DoExit();
}

uint32_t TVokCustomList::CodesDialogue() const {
  uint32_t codes = DLGC_WANTARROWS;
  if (options_ & goTabs) codes |= DLGC_WANTTAB;
  if (options_ & goEditing) codes |= DLGC_WANTCHARS | DLGC_WANTALLKEYS;
  return codes;
}

// ---------------------------------------------------------------------------------------------
// Keyboard

void TVokCustomList::KeyDown(int& Touche, uint8_t Shift) {
  dernierShift_ = Shift;
  TCustomControl::KeyDown(Touche, Shift);
  if (Touche == 0) return;
  const int32_t derniereColonne = std::max(colCount_ - rightFixedCols_ - 1, fixedCols_);
  TListCoord haut = topLeft_;
  TListCoord cible = current_;
  if (Shift & ssCtrl) {
    // With Ctrl the keys scroll and move the current cell, never the selection.
    switch (Touche) {
      case VK_PRIOR: cible.Y = topLeft_.Y; break;
      case VK_NEXT: cible.Y = AxeLignes().DernierVisible; break;
      case VK_END: cible = {derniereColonne, rowCount_ - 1}; break;
      case VK_HOME: cible = {fixedCols_, fixedRows_}; break;
      case VK_UP: --haut.Y; break;
      case VK_DOWN: ++haut.Y; break;
      default: return;
    }
  } else {
    const bool selection = selection_.Nombre > 0;
    const int32_t depart = selection ? static_cast<int32_t>(selection_.Elements[0]) + fixedRows_ - 1 : current_.Y;
    const int32_t page = std::max(VisibleRowCount(), 1);
    int32_t ligne = depart;
    switch (Touche) {
      case VK_PRIOR: ligne = std::max(depart - page, fixedRows_); break;
      case VK_NEXT:
        ligne = static_cast<int32_t>(std::min<int64_t>(static_cast<int64_t>(depart) + page, rowCount_ - 1));
        break;
      case VK_END: ligne = rowCount_ - 1; break;
      case VK_HOME: ligne = fixedRows_; break;
      case VK_UP:
        if (depart > fixedRows_) ligne = depart - 1;
        break;
      case VK_DOWN:
        if (selection && depart < rowCount_ - 1) ligne = depart + 1;
        break;
      case VK_DELETE:
        if (selection && RequeteSuppression({fixedCols_, depart})) Suppression();
        return;
      case VK_ESCAPE:
        if (EditionPossible() && EnEdition()) NotifierSelection();
        return;
      default: return;
    }
    // A list without data rows has nothing to select.
    if (rowCount_ <= fixedRows_) return;
    tampon_.clear();
    NaviguerVers(ligne);
    haut = topLeft_;
    cible.Y = ligne;
  }
  const TListCoord maximum = HautGaucheMaximal();
  haut.X = std::clamp(haut.X, fixedCols_, std::max(maximum.X, fixedCols_));
  haut.Y = std::clamp(haut.Y, fixedRows_, std::max(maximum.Y, fixedRows_));
  if (haut != topLeft_) DeplacerHautGauche(haut);
  FinNavigation(cible.X, cible.Y);
}

// Selects the row alone and scrolls to it when it lies above the top row or beyond the visible
// rows.
void TVokCustomList::NaviguerVers(int32_t Ligne) {
  SelectionnerLigne({current_.X, Ligne});
  const TAxeListe a = AxeLignes();
  if (Ligne < a.Premier || Ligne > a.DernierVisible) SetTopRow(Ligne);
}

// The current cell, held within the data cells, moves when its column changes (or its row, while
// the list cannot edit); then the list takes the focus.
void TVokCustomList::FinNavigation(int32_t Col, int32_t Row) {
  const int32_t derniereColonne = std::max(colCount_ - rightFixedCols_ - 1, fixedCols_);
  Col = std::clamp(Col, std::min(fixedCols_, colCount_ - 1), std::min(derniereColonne, colCount_ - 1));
  Row = std::clamp(Row, std::min(fixedRows_, rowCount_ - 1), rowCount_ - 1);
  if (Col >= 0 && (Col != current_.X || (Row != current_.Y && !EditionPossible()))) {
    DeplacerCourante(Col, Row, !(dernierShift_ & ssShift), true);
    Click();
  }
  PrendreFocus();
}

void TVokCustomList::KeyPress(char& Caractere) {
  TCustomControl::KeyPress(Caractere);
  if (Caractere == 0) return;
  if (Caractere == '\r' && EditionPossible()) {
    Caractere = 0;
    return;
  }
  if (SurParseur && (LettreOuChiffre(Caractere) || Caractere == '\b' || Caractere == ' ')) RechercheRapide(Caractere);
}

void TVokCustomList::RechercheRapide(char Caractere) {
  // A list without data rows has nothing to find.
  if (rowCount_ <= fixedRows_) return;
  const int64_t maintenant = Horloge::Courante().Maintenant();
  if (maintenant - heureTampon_ > kDelaiRecherche) tampon_.clear();
  if (Caractere == '\b') {
    if (!tampon_.empty()) tampon_.pop_back();
  } else if (tampon_.size() < kLongueurRecherche) {
    tampon_ += Caractere;
  }
  heureTampon_ = maintenant;
  const int32_t trouvee = SurParseur(this, tampon_);
  if (trouvee < 0) return;
  const auto ligne = static_cast<int32_t>(
      std::clamp<int64_t>(static_cast<int64_t>(trouvee) + fixedRows_ - 1, fixedRows_, rowCount_ - 1));
  if (selection_.Nombre == 0 || ligne != static_cast<int32_t>(selection_.Elements[0]) + fixedRows_ - 1) {
    const std::string tampon = tampon_;
    NaviguerVers(ligne);
    tampon_ = tampon;
    FinNavigation(current_.X, ligne);
  }
}

// ---------------------------------------------------------------------------------------------
// Mouse

// Whether a client point lies in the sizing zone of a column border in the header rows (Colonne)
// or of a row border in the fixed columns; Index is the column or row, Bord the border's position.
bool TVokCustomList::ZoneTaille(int X, int Y, bool& Colonne, int32_t& Index, int& Bord) const {
  const TAxeListe ax = AxeColonnes(), ay = AxeLignes();
  const int zone = std::max(lineWidth_, 7);
  const auto chercher = [&](bool colonnes, const TAxeListe& a, int v) {
    const auto dans = [&](int32_t de, int32_t jusqua, int64_t debut) {
      for (int32_t i = de; i <= jusqua; ++i) {
        const int64_t bord = debut + Taille(colonnes, i);
        if (v >= bord - zone / 2 && v < bord - zone / 2 + zone) {
          Index = i;
          Bord = static_cast<int>(bord);
          return true;
        }
        debut = bord + a.LargeurLigne;
        if (debut - zone > v) return false;
      }
      return false;
    };
    return dans(0, a.Fixes - 1, 0) || dans(a.Premier, a.DernierPartiel, a.LimiteFixe);
  };
  if (Y >= 0 && Y < ay.LimiteFixe && chercher(true, ax, X)) {
    Colonne = true;
    return true;
  }
  if (X >= 0 && X < ax.LimiteFixe && chercher(false, ay, Y)) {
    Colonne = false;
    return true;
  }
  return false;
}

int TVokCustomList::CurseurAuPoint(int X, int Y) const {
  bool colonne = false;
  int32_t index = 0;
  int bord = 0;
  if (ZoneTaille(X, Y, colonne, index, bord)) {
    if (colonne && (options_ & goColSizing)) return crHSplit;
    if (!colonne && (options_ & goRowSizing)) return crVSplit;
  }
  return Cursor;
}

void TVokCustomList::DessinerLigneXor(int Position) {
  // Drawing the same exclusive-or line twice erases it.
  const auto it = std::find(lignesXor_.begin(), lignesXor_.end(), Position);
  if (it != lignesXor_.end())
    lignesXor_.erase(it);
  else
    lignesXor_.push_back(Position);
}

void TVokCustomList::MouseDown(TMouseButton Bouton, uint8_t Shift, int X, int Y) {
  dernierShift_ = Shift;
  const TListCoord cellule = CelluleAuPoint(X, Y);
  // An open entry field is validated (abandoned when required and empty) and the press goes no further.
  if (SaisieEnCours::EntreeEnCours()) {
    SaisieEnCours::TerminerSaisie(false);
    return;
  }
  if (editionEnCours_) {
    PrendreFocus();
    return;
  }
  tampon_.clear();
  if (!PrendreFocus()) {
    Saisie::LibererCapture(this);
    return;
  }
  if (Bouton == TMouseButton::mbRight) BoutonDroitEnfonce(cellule, X, Y);
  if (Bouton == TMouseButton::mbLeft) {
    bool colonne = false;
    int32_t index = 0;
    int bord = 0;
    const bool donnees = cellule.Y >= fixedRows_ && cellule.X >= fixedCols_ && cellule.X < colCount_ - rightFixedCols_;
    if (ZoneTaille(X, Y, colonne, index, bord) && (options_ & (colonne ? goColSizing : goRowSizing))) {
      etat_ = colonne ? 3 : 2;
      indexTaille_ = index;
      decalageTaille_ = (colonne ? X : Y) - bord;
      positionTaille_ = colonne ? X : Y;
      DessinerLigneXor(positionTaille_);
    } else if (cellule.Y < 0) {
      // Outside any row.
    } else if ((Shift & ssDouble) && !(Shift & (ssShift | ssCtrl | ssAlt)) && cellule.Y >= fixedRows_ &&
               (vokOptions_ & AvecModification) && editable_) {
      if (!EstSelectionnee(cellule.Y - fixedRows_ + 1)) SelectionnerLigne(cellule);
      CycleModification(cellule);
    } else if (!donnees) {
      if ((vokOptions_ & AvecCreation) && editable_ && cellule.Y == fixedRows_ - 1) {
        CycleCreation(cellule);
      } else if (cellule.X < fixedCols_ && cellule.Y >= fixedRows_ && (options_ & goRowMoving)) {
        etat_ = 4;
        origineDeplacement_ = positionDeplacement_ = cellule.Y;
        DessinerLigneXor(RectangleCellule(0, cellule.Y).Top);
      } else if (cellule.Y < fixedRows_ && cellule.X >= fixedCols_ && (options_ & goColMoving)) {
        etat_ = 5;
        origineDeplacement_ = positionDeplacement_ = cellule.X;
        DessinerLigneXor(RectangleCellule(cellule.X, 0).Left);
      }
    } else if (!EnEdition() && !(options_ & goEditing) && (options_ & goRangeSelect)) {
      const bool selectionnee = EstSelectionnee(cellule.Y - fixedRows_ + 1);
      if ((Shift & ssCtrl) && (Shift & ssAlt)) {
        if (vokOptions_ & AvecDeplacement) ArmerGeste(64, kDelaiDeplacement, X, Y, cellule);
      } else if ((Shift & ssShift) && (vokOptions_ & AvecMultiSelec)) {
        EtendreSelection(cellule);
      } else if (((Shift & ssCtrl) || (vokOptions_ & AvecToggle)) && ((vokOptions_ & AvecMultiSelec) || selectionnee)) {
        BasculerLigne(cellule);
      } else {
        SelectionnerLigne(cellule);
        if (editable_ && (vokOptions_ & AvecSuppression)) ArmerGeste(4, kDelaiSuppression, X, Y, cellule);
      }
      // Selecting: the list scrolls on its timer while the mouse lies beyond the data cells; not
      // while a gesture is armed, whose row is meant to be dragged out of the list.
      if (!minuterie_) DemarrerSelection(X, Y);
      Click();
    }
  }
  TerminerMouseDown(Bouton, Shift, X, Y);
}

void TVokCustomList::DemarrerSelection(int X, int Y) {
  etat_ = 1;
  sourisGeste_ = {X, Y};
  if (!minuterieDefilement_) {
    minuterieDefilement_ = new TTimer(this);
    minuterieDefilement_->SetInterval(kDelaiDefilement);
    minuterieDefilement_->SetOnTimer([this](TComponent*) {
      if (etat_ == 1 && !ligneGlissee_) DefilementTemporise();
    });
  }
  minuterieDefilement_->SetEnabled(true);
}

void TVokCustomList::TerminerMouseDown(TMouseButton Bouton, uint8_t Shift, int X, int Y) {
  const TForm* fiche = dynamic_cast<const TForm*>(ficheProprietaire_);
  if ((!fiche || fiche->Visible()) && !bulleAffichee_) PrendreFocus();
  try {
    TCustomControl::MouseDown(Bouton, Shift, X, Y);
  } catch (...) {
    if (etat_ == 4 || etat_ == 5) {
      lignesXor_.clear();
      etat_ = 0;
    }
    throw;
  }
}

void TVokCustomList::MouseMove(uint8_t Shift, int X, int Y) {
  dernierShift_ = Shift;
  sourisGeste_ = {X, Y};
  if (minuterie_ && !ligneGlissee_) {
    const TPoint ecran = ClientToScreen({X, Y});
    if (std::abs(ecran.X - minuterie_->Point.X) > kSeuilGeste || std::abs(ecran.Y - minuterie_->Point.Y) > kSeuilGeste)
      DemarrerGeste();
  } else if (ligneGlissee_) {
    SuivreGeste(X, Y);
  }
  if (etat_ == 2 || etat_ == 3) {
    DessinerLigneXor(positionTaille_);
    positionTaille_ = etat_ == 3 ? X : Y;
    DessinerLigneXor(positionTaille_);
  } else if (etat_ == 4 || etat_ == 5) {
    const TListCoord c = CelluleAuPoint(X, Y);
    int32_t p = etat_ == 4 ? c.Y : c.X;
    if (etat_ == 4 && p >= fixedRows_ && p != positionDeplacement_) {
      DessinerLigneXor(RectangleCellule(0, positionDeplacement_).Top);
      positionDeplacement_ = p;
      DessinerLigneXor(RectangleCellule(0, p).Top);
    } else if (etat_ == 5 && p >= fixedCols_ && p < colCount_ - rightFixedCols_ && p != positionDeplacement_) {
      DessinerLigneXor(RectangleCellule(positionDeplacement_, 0).Left);
      positionDeplacement_ = p;
      DessinerLigneXor(RectangleCellule(p, 0).Left);
    }
  }
  Screen().Cursor = CurseurAuPoint(X, Y);
  TCustomControl::MouseMove(Shift, X, Y);
}

void TVokCustomList::MouseUp(TMouseButton Bouton, uint8_t Shift, int X, int Y) {
  dernierShift_ = Shift;
  if (ligneGlissee_) {
    FinGlisser(Bouton, Shift, X, Y);
  } else if (minuterie_) {
    // Released before the gesture started.
    LibererMinuterie();
    geste_ = 0;
  }
  if (etat_ == 3 || etat_ == 2) {
    DessinerLigneXor(positionTaille_);
    const bool colonne = etat_ == 3;
    const TRect r = colonne ? RectangleCellule(indexTaille_, 0) : RectangleCellule(0, indexTaille_);
    const int taille = positionTaille_ - decalageTaille_ - (colonne ? r.Left : r.Top);
    etat_ = 0;
    if (taille > 1) {
      if (colonne) {
        DefinirLargeurColonne(indexTaille_, taille);
        TailleColonneChangee(indexTaille_);
      } else {
        DefinirHauteurLigne(indexTaille_, taille);
      }
    }
  } else if (etat_ == 4 || etat_ == 5) {
    lignesXor_.clear();
    const bool colonne = etat_ == 5;
    etat_ = 0;
    const int32_t de = origineDeplacement_, a = positionDeplacement_;
    if (de != a) {
      vclliste::DeplacerEtendue(colonne ? colWidths_ : rowHeights_, de, a);
      if (colonne) {
        if (de < static_cast<int32_t>(tabStops_.size()) && a < static_cast<int32_t>(tabStops_.size())) {
          const bool t = tabStops_[static_cast<size_t>(de)];
          tabStops_.erase(tabStops_.begin() + de);
          tabStops_.insert(tabStops_.begin() + a, t);
        }
        current_.X = Deplace(current_.X, de, a);
        anchor_.X = Deplace(anchor_.X, de, a);
        ColonneDeplacee(de, a);
        LargeursColonnesChangees();
      } else {
        current_.Y = Deplace(current_.Y, de, a);
        anchor_.Y = Deplace(anchor_.Y, de, a);
        LigneDeplacee(de, a);
        HauteursLignesChangees();
      }
    }
  }
  etat_ = 0;
  if (minuterieDefilement_) minuterieDefilement_->SetEnabled(false);
  TCustomControl::MouseUp(Bouton, Shift, X, Y);
}

void TVokCustomList::MouseEnter() {
  if (OnMouseEnter) OnMouseEnter(this);
}

void TVokCustomList::MouseLeave() {
  if (OnMouseLeave) OnMouseLeave(this);
}

void TVokCustomList::DefilementTemporise() {
  const TAxeListe ax = AxeColonnes(), ay = AxeLignes();
  TListCoord ancre = anchor_;
  const int32_t derniereColonne = std::max(colCount_ - rightFixedCols_ - 1, fixedCols_);
  if (sourisGeste_.X < ax.LimiteFixe && ancre.X > fixedCols_)
    --ancre.X;
  else if (sourisGeste_.X >= ax.LimiteGrille && ancre.X < derniereColonne)
    ++ancre.X;
  if (sourisGeste_.Y < ay.LimiteFixe && ancre.Y > fixedRows_)
    --ancre.Y;
  else if (sourisGeste_.Y >= ay.LimiteGrille && ancre.Y < rowCount_ - 1)
    ++ancre.Y;
  if (ancre == anchor_) return;
  anchor_ = ancre;
  RendreVisible(anchor_);
}

// ---------------------------------------------------------------------------------------------
// Gestures

void TVokCustomList::ArmerGeste(int32_t Geste, uint32_t DelaiMs, int X, int Y, TListCoord Cellule) {
  LibererMinuterie();
  geste_ = Geste;
  minuterie_ = new TListTimer(this);
  minuterie_->Point = ClientToScreen({X, Y});
  minuterie_->Col = Cellule.X;
  minuterie_->Row = Cellule.Y;
  minuterie_->SetInterval(DelaiMs);
  minuterie_->SetOnTimer([this](TComponent*) { DemarrerGeste(); });
}

void TVokCustomList::LibererMinuterie() {
  delete minuterieFinie_;
  minuterieFinie_ = nullptr;
  delete minuterie_;
  minuterie_ = nullptr;
}

void TVokCustomList::DemarrerGeste() {
  if (!minuterie_) return;
  const TListCoord cellule{minuterie_->Col, minuterie_->Row};
  const TPoint presse = minuterie_->Point;
  // The timer may be the caller: it is stopped now and freed at the next safe point.
  minuterie_->SetEnabled(false);
  delete minuterieFinie_;
  minuterieFinie_ = minuterie_;
  minuterie_ = nullptr;
  const bool accorde = geste_ == 4 ? RequeteSuppression(cellule) : RequeteDeplacement(cellule);
  if (!accorde) {
    geste_ = 0;
    return;
  }
  conseilsSuspendus_ = Application().ShowHint;
  Application().ShowHint = false;
  ligneGlissee_ = true;
  celluleFantome_ = cellule;
  AfficherFantomeGeste(cellule, ScreenToClient(presse));
}

void TVokCustomList::FinGlisser(TMouseButton Bouton, uint8_t Shift, int X, int Y) {
  ligneGlissee_ = false;
  CacherFantome();
  Application().ShowHint = conseilsSuspendus_;
  const int32_t geste = geste_;
  geste_ = 0;
  if (geste == 64) {
    Deplacement(Bouton, Shift, X, Y);
  } else if (geste == 4 && !Bornes(0, 0, Width(), Height()).Contient({X, Y})) {
    Suppression();
  }
}

// ---------------------------------------------------------------------------------------------
// The ghost

TFantome& TVokCustomList::PreparerFantomeGlisser() {
  TFantome& f = VclFanto::CreerFantome();
  fantomeAMoi_ = true;
  f.SetCaption(std::string("Sélection"_ansi));
  f.SetColor(geste_ == 4 ? Couleurs::clRed : Couleurs::clGreen);
  f.SansCadre = true;
  f.SetBounds(0, 0, defaultColWidth_, defaultRowHeight_);
  TCanvas& c = Canvas();
  TFont police = Font();
  police.Color = Couleurs::clWhite;
  f.SetFont(police);
  f.Canvas().Brush = c.Brush;
  f.Canvas().Pen = c.Pen;
  return f;
}

TFantome& TVokCustomList::PreparerFantomeBulle() {
  TFantome& f = VclFanto::CreerFantome();
  fantomeAMoi_ = true;
  f.SansCadre = true;
  f.SetBounds(0, 0, defaultColWidth_, defaultRowHeight_);
  f.SetBulle(true);
  TCanvas& c = Canvas();
  f.Canvas().Brush = c.Brush;
  f.Canvas().Pen = c.Pen;
  TFont police = f.Font();
  police.Name = "Arial";
  police.Style = 0;
  police.Color = Couleurs::clBlack;
  f.SetFont(police);
  f.SetColor(0xE1FFFF);
  return f;
}

void TVokCustomList::CacherFantome() {
  if (!fantomeAMoi_) return;
  fantomeAMoi_ = false;
  VclFanto::CacherFantome();
  Saisie::LibererCapture(this);
  if (ligneGlissee_) {
    ligneGlissee_ = false;
    geste_ = 0;
    Application().ShowHint = conseilsSuspendus_;
  }
  bulleAffichee_ = false;
}

// The text the owner gives for a cell, twelve blanks when it gives none.
static std::string TexteFantome(TVokCustomList& L, const TInfoFantomeEvent& E, TListCoord Cellule) {
  std::string t = E ? E(&L, Cellule.X, Cellule.Y) : std::string();
  return t.empty() ? std::string(12, ' ') : t;
}

void TVokCustomList::AfficherFantomeGeste(TListCoord Cellule, TPoint Client) {
  TFantome& f = PreparerFantomeGlisser();
  f.SetCaption(TexteFantome(*this, SurAccederInfoFantome, Cellule));
  ColorerFantome(Client);
  f.Show();
}

// Places the ghost at the mouse and colours it by where the mouse lies.
void TVokCustomList::ColorerFantome(TPoint Client) {
  TFantome* f = VclFanto::Fantome();
  if (!f) return;
  const TPoint ecran = ClientToScreen(Client);
  if (ShowVokLigne && SurAccederInfoFantome) {
    VclFanto::PlacerFantomeLigne(ecran, Client, ClientWidth(), ClientHeight());
    return;
  }
  const bool dedans = TRect{0, 0, ClientWidth(), ClientHeight()}.Contient(Client);
  TColor fond = dedans ? Couleurs::clNavy : (geste_ == 4 ? Couleurs::clRed : Couleurs::clGreen);
  TColor forme = Couleurs::clWhite;
  if (SurAccederCouleursFantome) SurAccederCouleursFantome(this, fond, forme);
  f->SetColor(fond);
  TFont police = f->Font();
  police.Color = forme;
  f->SetFont(police);
  VclFanto::PlacerFantome(ecran, true);
}

void TVokCustomList::SuivreGeste(int X, int Y) {
  TFantome* f = VclFanto::Fantome();
  if (!f || !fantomeAMoi_) return;
  if (ShowVokLigne && SurAccederInfoFantome) {
    const TListCoord c = CelluleAuPoint(X, Y);
    if (c != celluleFantome_) {
      celluleFantome_ = c;
      f->Hide();
      f->SetCaption(TexteFantome(*this, SurAccederInfoFantome, c));
      f->Show();
    }
  }
  ColorerFantome({X, Y});
}
