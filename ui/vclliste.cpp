// The list control's model, layout, scrolling and painting (the keyboard, the mouse, the
// selection and the gestures are in vcllisteSaisie.cpp).
#include "ui/vclliste.h"

#include <algorithm>
#include <limits>

#include "core/values/Ansi1252.h"
#include "core/values/ChaineRessource.h"
#include "platform/gui/Images.h"
#include "platform/gui/Saisie.h"
#include "ui/Ressources.h"
#include "ui/vcllisteInterne.h"

namespace vclliste {

const TChaineRessource RS_TropSupprimees{"vclliste_STooManyDeleted", 65150,
                                         "Trop de lignes ou colonnes supprimées"_ansi};
const TChaineRessource RS_GrilleTropGrande{"vclliste_SGridTooLarge", 65151, "Grille trop grande pour l'opération"_ansi};
const TChaineRessource RS_IndexHorsLimites{"vclliste_SIndexOutOfRange", 65152, "Index de grille hors limites"};
const TChaineRessource Consts_SIndexOutOfRange{"Consts_SIndexOutOfRange", 65153, "Indice de grille hors limites"};
const TChaineRessource Consts_SFixedColTooBig{
    "Consts_SFixedColTooBig", 65154, "Le nombre de colonnes fixes doit être inférieur au nombre de colonnes"_ansi};
const TChaineRessource Consts_SFixedRowTooBig{"Consts_SFixedRowTooBig", 65155,
                                              "Le nombre de lignes fixes doit être inférieur au nombre de lignes"_ansi};

namespace {
bool chainesEnregistrees = false;
}  // namespace

void Initialiser() {
  if (chainesEnregistrees) return;
  static const TChaineRessource* const kChaines[] = {&RS_TropSupprimees,      &RS_GrilleTropGrande,
                                                     &RS_IndexHorsLimites,    &Consts_SIndexOutOfRange,
                                                     &Consts_SFixedColTooBig, &Consts_SFixedRowTooBig};
  ChaineRessource::Enregistrer(kChaines);
  chainesEnregistrees = true;
}

void Finaliser() {}

[[noreturn]] void ErreurListe(const TChaineRessource& Chaine) {
  throw EInvalidListOperation(ChaineRessource::Charger(Chaine));
}

void ModifierEtendues(TEtendues& E, int32_t Nombre, int64_t Montant, int32_t Index, int32_t Defaut) {
  const int64_t nouveau = static_cast<int64_t>(Nombre) + Montant;
  if (nouveau < 0) ErreurListe(RS_TropSupprimees);
  if (nouveau > kTailleMaximale) ErreurListe(RS_GrilleTropGrande);
  // An insertion goes anywhere from the first entry to just after the last; a removal takes whole
  // entries from Index on.
  if (Index < 0 || Index > (Montant < 0 ? nouveau : Nombre)) ErreurListe(RS_IndexHorsLimites);
  if (!E.Present) return;
  auto& t = E.Tailles;
  t.resize(static_cast<size_t>(Nombre), Defaut);
  if (Montant >= 0)
    t.insert(t.begin() + Index, static_cast<size_t>(Montant), Defaut);
  else
    t.erase(t.begin() + Index, t.begin() + Index - Montant);
}

void DeplacerEtendue(TEtendues& E, int32_t De, int32_t A) {
  if (!E.Present) return;
  auto& t = E.Tailles;
  const int32_t n = static_cast<int32_t>(t.size());
  if (De < 0 || De >= n || A < 0 || A >= n) ErreurListe(RS_IndexHorsLimites);
  const int32_t v = t[static_cast<size_t>(De)];
  t.erase(t.begin() + De);
  t.insert(t.begin() + A, v);
}

}  // namespace vclliste

using vclliste::ErreurListe;

namespace {

constexpr int32_t kPositionMaximale = 32767;

int64_t Borne(int64_t v, int64_t bas, int64_t haut) { return std::max(bas, std::min(v, haut)); }

}  // namespace

// ---------------------------------------------------------------------------------------------
// Creation and properties

TVokCustomList::TVokCustomList(TComponent* Owner) : TCustomControl(Owner) {
  TabStop = true;
  SetColor(Couleurs::clWindow);
  SetBounds(0, 0, colCount_ * defaultColWidth_, rowCount_ * defaultRowHeight_);
  tabStops_.assign(static_cast<size_t>(colCount_), true);
  Ressources::ChargerCurseurs();
  Memoire::Initialiser(selection_);
  for (TComponent* o = Owner; o; o = o->Owner())
    if (dynamic_cast<TForm*>(o)) {
      ficheProprietaire_ = o;
      break;
    }
  ChargerImagesCreation();
  InitialiserPosition();
  MettreAJourBarres();
}

TVokCustomList::~TVokCustomList() {
  CacherFantome();
  LibererMinuterie();
  Memoire::Liberer(selection_);
  Ressources::LibererCurseurs();
}

void TVokCustomList::InitialiserPosition() {
  topLeft_ = {fixedCols_, fixedRows_};
  current_ = topLeft_;
  anchor_ = current_;
  tampon_.clear();
  heureTampon_ = Horloge::Courante().Maintenant();
}

void TVokCustomList::SetBorderStyle(TListBorderStyle v) {
  if (v == borderStyle_) return;
  borderStyle_ = v;
  MettreAJourBarres();
  Invalidate();
}

void TVokCustomList::SetScrollBars(TListScrollBars v) {
  if (v == scrollBars_) return;
  scrollBars_ = v;
  MettreAJourBarres();
  Invalidate();
}

void TVokCustomList::SetColCount(int32_t v) {
  const int32_t fixes = fixedCols_, droite = rightFixedCols_;
  if (v == 0) {
    fixedCols_ = 0;
    rightFixedCols_ = 0;
  } else {
    v = std::max(v, 1);
    if (fixedCols_ >= v) fixedCols_ = v - 1;
    if (fixedCols_ + rightFixedCols_ >= v) rightFixedCols_ = 0;
  }
  if (fixes != fixedCols_ || droite != rightFixedCols_) InitialiserPosition();
  ChangerTaille(v, rowCount_);
}

void TVokCustomList::SetRowCount(int32_t v) {
  v = std::max(v, 1);
  if (fixedRows_ > v) {
    fixedRows_ = v;
    InitialiserPosition();
  }
  ChangerTaille(colCount_, v);
  NombreLignesChange();
}

void TVokCustomList::ChangerTaille(int32_t NouvellesColonnes, int32_t NouvellesLignes) {
  const int32_t anciennesColonnes = colCount_, anciennesLignes = rowCount_;
  const TEtendues largeurs = colWidths_, hauteurs = rowHeights_;
  try {
    const auto ajuster = [](TEtendues& e, int32_t ancien, int32_t nouveau, int32_t defaut) {
      const int64_t montant = static_cast<int64_t>(nouveau) - ancien;
      vclliste::ModifierEtendues(e, ancien, montant, montant >= 0 ? ancien : nouveau, defaut);
    };
    ajuster(colWidths_, anciennesColonnes, NouvellesColonnes, defaultColWidth_);
    ajuster(rowHeights_, anciennesLignes, NouvellesLignes, defaultRowHeight_);
    colCount_ = NouvellesColonnes;
    rowCount_ = NouvellesLignes;
    tabStops_.resize(static_cast<size_t>(colCount_), true);
    RamenerDansLesLimites();
    MettreAJourBarres();
    TailleChangee(anciennesColonnes, anciennesLignes);
  } catch (...) {
    colCount_ = anciennesColonnes;
    rowCount_ = anciennesLignes;
    colWidths_ = largeurs;
    rowHeights_ = hauteurs;
    tabStops_.resize(static_cast<size_t>(colCount_), true);
    throw;
  }
  Invalidate();
}

// After the counts shrank: the selected rows beyond the last row leave the selection, and the
// current cell, the anchor and the top-left come back within the counts.
void TVokCustomList::RamenerDansLesLimites() {
  const int64_t lignesDonnees = std::max<int64_t>(0, static_cast<int64_t>(rowCount_) - fixedRows_);
  const uint32_t garde =
      Memoire::Rechercher(static_cast<uint32_t>(std::min<int64_t>(lignesDonnees + 1, UINT32_MAX)), selection_) - 1;
  const bool retirees = garde < selection_.Nombre;
  if (retirees) RemplacerSelection(std::vector<uint32_t>(selection_.Elements, selection_.Elements + garde));
  const auto ramener = [&](TListCoord& c) {
    c.X = static_cast<int32_t>(Borne(c.X, 0, std::max(colCount_ - 1, 0)));
    c.Y = static_cast<int32_t>(Borne(c.Y, 0, std::max(rowCount_ - 1, 0)));
  };
  ramener(current_);
  ramener(anchor_);
  if (retirees) NotifierSelection();
}

void TVokCustomList::SetFixedCols(int32_t v) {
  if (v < 0) ErreurListe(vclliste::Consts_SIndexOutOfRange);
  if (static_cast<int64_t>(v) + rightFixedCols_ >= colCount_) ErreurListe(vclliste::Consts_SFixedColTooBig);
  fixedCols_ = v;
  InitialiserPosition();
  MettreAJourBarres();
  Invalidate();
}

void TVokCustomList::SetRightFixedCols(int32_t v) {
  if (v < 0) ErreurListe(vclliste::Consts_SIndexOutOfRange);
  if (static_cast<int64_t>(v) + fixedCols_ > colCount_) ErreurListe(vclliste::Consts_SFixedColTooBig);
  rightFixedCols_ = v;
  InitialiserPosition();
  MettreAJourBarres();
  Invalidate();
}

void TVokCustomList::SetFixedRows(int32_t v) {
  if (v < 0) ErreurListe(vclliste::Consts_SIndexOutOfRange);
  if (v > rowCount_) ErreurListe(vclliste::Consts_SFixedRowTooBig);
  fixedRows_ = v;
  InitialiserPosition();
  MettreAJourBarres();
  Invalidate();
}

int32_t TVokCustomList::ColWidths(int32_t Index) const {
  if (colWidths_.Present && Index >= 0 && Index < static_cast<int32_t>(colWidths_.Tailles.size()))
    return colWidths_.Tailles[static_cast<size_t>(Index)];
  return defaultColWidth_;
}

int32_t TVokCustomList::RowHeights(int32_t Index) const {
  if (rowHeights_.Present && Index >= 0 && Index < static_cast<int32_t>(rowHeights_.Tailles.size()))
    return rowHeights_.Tailles[static_cast<size_t>(Index)];
  return defaultRowHeight_;
}

bool TVokCustomList::TabStops(int32_t Index) const {
  return Index >= 0 && Index < static_cast<int32_t>(tabStops_.size()) && tabStops_[static_cast<size_t>(Index)];
}

void TVokCustomList::DefinirLargeurColonne(int32_t Index, int32_t Largeur) {
  if (!colWidths_.Present) colWidths_ = {true, std::vector<int32_t>(static_cast<size_t>(colCount_), defaultColWidth_)};
  if (Index < 0 || Index >= colCount_) ErreurListe(vclliste::Consts_SIndexOutOfRange);
  colWidths_.Tailles[static_cast<size_t>(Index)] = std::max(Largeur, defaultMinColWidth_);
  LargeursColonnesChangees();
}

void TVokCustomList::DefinirHauteurLigne(int32_t Index, int32_t Hauteur) {
  if (!rowHeights_.Present)
    rowHeights_ = {true, std::vector<int32_t>(static_cast<size_t>(rowCount_), defaultRowHeight_)};
  if (Index < 0 || Index >= rowCount_) ErreurListe(vclliste::Consts_SIndexOutOfRange);
  rowHeights_.Tailles[static_cast<size_t>(Index)] = Hauteur;
  HauteursLignesChangees();
}

void TVokCustomList::SetDefaultMinColWidth(int32_t v) {
  if (v == defaultMinColWidth_) return;
  defaultMinColWidth_ = v;
  if (colWidths_.Present)
    for (int32_t& l : colWidths_.Tailles) l = std::max(l, v);
  defaultColWidth_ = std::max(defaultColWidth_, v);
  LargeursColonnesChangees();
}

void TVokCustomList::SetDefaultColWidth(int32_t v) {
  colWidths_ = {};
  defaultColWidth_ = std::max(v, defaultMinColWidth_);
  LargeursColonnesChangees();
}

void TVokCustomList::SetDefaultRowHeight(int32_t v) {
  rowHeights_ = {};
  defaultRowHeight_ = v;
  HauteursLignesChangees();
}

void TVokCustomList::SetDefaulTVokDrawing(bool v) {
  if (v == defaultDrawing_) return;
  defaultDrawing_ = v;
  Invalidate();
}

void TVokCustomList::SetFixedColor(TColor v) {
  if (v == fixedColor_) return;
  fixedColor_ = v;
  Invalidate();
}

void TVokCustomList::SetListLineWidth(int32_t v) {
  if (v == lineWidth_) return;
  lineWidth_ = v;
  MettreAJourBarres();
  Invalidate();
}

void TVokCustomList::SetOptions(TListOptions v) {
  if (v == options_) return;
  options_ = v;
  MettreAJourBarres();
  Invalidate();
}

void TVokCustomList::SetCreateColor(TColor v) {
  if (v == createColor_) return;
  createColor_ = v;
  Invalidate();
}

void TVokCustomList::SetVokOptions(TVokOptions v) {
  if (v & SansSelection) v &= static_cast<TVokOptions>(~AvecMultiSelec);
  const bool creation = (v & AvecCreation) && !(vokOptions_ & AvecCreation);
  if (v == vokOptions_) return;
  vokOptions_ = v;
  if (creation && fixedRows_ == 0) SetFixedRows(1);
  Invalidate();
}

void TVokCustomList::SetCreateBitmap(TCreateBitmap v) {
  if (v == createBitmap_) return;
  createBitmap_ = v;
  ChargerImagesCreation();
  Invalidate();
}

// The creation-row pictures, loaded once each: the two indicators in one list, or the plus.
void TVokCustomList::ChargerImagesCreation() {
  const auto charger = [this](const char* nom) {
    TBitmap b = Images::ImageParNom(nom);
    b.Transparent = true;
    b.TransparentColor = Couleurs::clSilver;
    imagesCreation_.push_back(std::move(b));
  };
  if (createBitmap_ == TCreateBitmap::cbIndicators && !imagesIndicateurs_) {
    imagesCreation_.clear();
    charger("CREATIONGAUCHE");
    charger("CREATIONDROITE");
    imagesIndicateurs_ = true, imagePlus_ = false;
  } else if (createBitmap_ == TCreateBitmap::cbPlus && !imagePlus_) {
    imagesCreation_.clear();
    charger("CREATIONPLUS");
    imagePlus_ = true, imagesIndicateurs_ = false;
  }
}

void TVokCustomList::LargeursColonnesChangees() {
  MettreAJourBarres();
  Invalidate();
  if (OnColWidthsChanged) OnColWidthsChanged(this);
}

void TVokCustomList::HauteursLignesChangees() {
  MettreAJourBarres();
  Invalidate();
  if (OnRowHeightsChanged) OnRowHeightsChanged(this);
}

void TVokCustomList::Invalidate() {
  CacherFantome();
  TCustomControl::Invalidate();
  if (SurAfficherInfos) SurAfficherInfos(this);
}

void TVokCustomList::BoundsChanged() {
  TCustomControl::BoundsChanged();
  MettreAJourBarres();
}

// ---------------------------------------------------------------------------------------------
// Layout

TRect TVokCustomList::ClientRect() const {
  const int bord = borderStyle_ == TListBorderStyle::bsSingle ? 2 : 0;
  const int barre = TScreen::kLargeurBarreDefilement;
  TRect r{bord, bord, Width() - bord - (barreV_.Visible ? barre : 0), Height() - bord - (barreH_.Visible ? barre : 0)};
  r.Right = std::max(r.Right, r.Left);
  r.Bottom = std::max(r.Bottom, r.Top);
  return r;
}

int32_t TVokCustomList::Taille(bool Colonnes, int32_t Index) const {
  return Colonnes ? ColWidths(Index) : RowHeights(Index);
}

TAxeListe TVokCustomList::CalculerAxe(bool Colonnes) const {
  TAxeListe a;
  const TRect client = ClientRect();
  a.LimiteClient = Colonnes ? client.Width() : client.Height();
  const TListOptions lignes = Colonnes ? (goFixedVertLine | goVertLine) : (goFixedHorzLine | goHorzLine);
  a.LargeurLigne = (options_ & lignes) ? lineWidth_ : 0;
  a.Nombre = Colonnes ? colCount_ : rowCount_;
  a.Fixes = Colonnes ? fixedCols_ : fixedRows_;
  a.Premier = Colonnes ? topLeft_.X : topLeft_.Y;
  int64_t limite = 0;
  for (int32_t i = 0; i < a.Fixes; ++i) limite += Taille(Colonnes, i) + a.LargeurLigne;
  a.LimiteFixe = static_cast<int32_t>(std::min<int64_t>(limite, std::numeric_limits<int32_t>::max()));
  a.Etendue = a.LimiteClient;
  a.PremierFixeFin = a.Nombre;
  if (Colonnes)
    for (int32_t i = a.Nombre - 1; i >= a.Nombre - rightFixedCols_ && i >= 0; --i) {
      const int32_t l = Taille(true, i) + a.LargeurLigne;
      if (a.Etendue - l < a.LimiteFixe) break;
      a.Etendue -= l;
      a.PremierFixeFin = i;
    }
  const int32_t fin = Colonnes ? a.Nombre - rightFixedCols_ : a.Nombre;
  const int64_t visible = Colonnes ? a.Etendue : static_cast<int64_t>(a.LimiteClient) + a.LargeurLigne;
  int64_t bord = a.LimiteFixe - (Colonnes && colCount_ == 1 ? pixelOffset_ : 0);
  a.DernierVisible = a.Premier - 1;
  a.DernierPartiel = a.Premier - 1;
  for (int32_t c = a.Premier; c < fin && bord < a.Etendue; ++c) {
    bord += Taille(Colonnes, c) + a.LargeurLigne;
    a.DernierPartiel = c;
    if (bord <= visible) a.DernierVisible = c;
  }
  a.LimiteGrille = static_cast<int32_t>(std::min<int64_t>(std::max<int64_t>(bord, a.LimiteFixe), a.Etendue));
  return a;
}

TAxeListe TVokCustomList::AxeColonnes() const { return CalculerAxe(true); }
TAxeListe TVokCustomList::AxeLignes() const { return CalculerAxe(false); }

int32_t TVokCustomList::VisibleColCount() const {
  const TAxeListe a = AxeColonnes();
  return a.DernierVisible - a.Premier + 1;
}

int32_t TVokCustomList::VisibleRowCount() const {
  const TAxeListe a = AxeLignes();
  return a.DernierVisible - a.Premier + 1;
}

// From the last scrolled cell back, as long as the cells still fit beside the fixed ones.
int32_t TVokCustomList::MaximumAxe(const TAxeListe& A, bool Colonnes) const {
  const int32_t fin = Colonnes ? A.Nombre - rightFixedCols_ : A.Nombre;
  const int64_t dispo =
      (Colonnes ? static_cast<int64_t>(A.Etendue) : static_cast<int64_t>(A.LimiteClient) + A.LargeurLigne) -
      A.LimiteFixe;
  int32_t resultat = fin - 1;
  int64_t somme = 0;
  for (int32_t i = fin - 1; i >= A.Fixes; --i) {
    somme += Taille(Colonnes, i) + A.LargeurLigne;
    if (somme > dispo) break;
    resultat = i;
  }
  return std::max(resultat, A.Fixes);
}

TListCoord TVokCustomList::HautGaucheMaximal() const {
  return {MaximumAxe(AxeColonnes(), true), MaximumAxe(AxeLignes(), false)};
}

// ---------------------------------------------------------------------------------------------
// Scroll bars and the top-left

int TVokCustomList::PositionBarre(int32_t Valeur, int32_t Fixes, int32_t Maximum) const {
  // Every cell fits: the bar has nothing to show and stays at 0.
  if (Maximum <= Fixes) return 0;
  const int64_t p =
      (static_cast<int64_t>(Valeur) - Fixes) * kPositionMaximale / (static_cast<int64_t>(Maximum) - Fixes);
  return static_cast<int>(Borne(p, -kPositionMaximale, kPositionMaximale));
}

void TVokCustomList::MettreAJourBarres() {
  const bool verticale = scrollBars_ == TListScrollBars::ssVertical || scrollBars_ == TListScrollBars::ssBoth;
  const bool horizontale = scrollBars_ == TListScrollBars::ssHorizontal || scrollBars_ == TListScrollBars::ssBoth;
  // A bar that appears or goes changes the client size, and so the ranges: a few passes settle.
  for (int passe = 0; passe < 3; ++passe) {
    const bool v = barreV_.Visible, h = barreH_.Visible;
    const TListCoord maximum = HautGaucheMaximal();
    barreV_.Max = maximum.Y > fixedRows_ ? kPositionMaximale : 0;
    if (colCount_ == 1) {
      barreH_.Max = std::max(ColWidths(0) - ClientWidth(), 0);
      pixelOffset_ = static_cast<int32_t>(Borne(pixelOffset_, 0, barreH_.Max));
    } else {
      barreH_.Max = maximum.X > fixedCols_ ? kPositionMaximale : 0;
    }
    barreV_.Visible = verticale && barreV_.Max > barreV_.Min;
    barreH_.Visible = horizontale && barreH_.Max > barreH_.Min;
    if (v == barreV_.Visible && h == barreH_.Visible) break;
  }
  const TListCoord maximum = HautGaucheMaximal();
  const TListCoord borne{static_cast<int32_t>(Borne(topLeft_.X, fixedCols_, maximum.X)),
                         static_cast<int32_t>(Borne(topLeft_.Y, fixedRows_, maximum.Y))};
  if (borne != topLeft_)
    DeplacerHautGauche(borne);
  else
    MettreAJourPositionsBarres();
}

void TVokCustomList::MettreAJourPositionsBarres() {
  const TListCoord maximum = HautGaucheMaximal();
  barreV_.Position = PositionBarre(topLeft_.Y, fixedRows_, maximum.Y);
  barreH_.Position = colCount_ == 1 ? pixelOffset_ : PositionBarre(topLeft_.X, fixedCols_, maximum.X);
}

void TVokCustomList::DeplacerHautGauche(TListCoord Nouveau) {
  if (Nouveau == topLeft_) return;
  const TListCoord ancien = topLeft_;
  topLeft_ = Nouveau;
  AvantChangementHautGauche(ancien, Nouveau);
  MettreAJourPositionsBarres();
  // Nothing scrolls window pixels here: the list is painted again from its new top-left.
  Invalidate();
  HautGaucheChange();
}

void TVokCustomList::SetTopRow(int32_t v) {
  const int32_t maximum = HautGaucheMaximal().Y;
  DeplacerHautGauche({topLeft_.X, static_cast<int32_t>(Borne(v, fixedRows_, std::max(maximum, fixedRows_)))});
}

void TVokCustomList::SetLeftCol(int32_t v) {
  const int32_t maximum = HautGaucheMaximal().X;
  DeplacerHautGauche({static_cast<int32_t>(Borne(v, fixedCols_, std::max(maximum, fixedCols_))), topLeft_.Y});
}

void TVokCustomList::RendreVisible(TListCoord Cellule) {
  Cellule.X = std::max(Cellule.X, fixedCols_);
  Cellule.Y = std::max(Cellule.Y, fixedRows_);
  TListCoord nouveau = topLeft_;
  const auto ajuster = [this](bool colonnes, int32_t cellule, int32_t& premier) {
    const TAxeListe a = CalculerAxe(colonnes);
    if (cellule < a.Premier) {
      premier = cellule;
    } else if (cellule > a.DernierVisible) {
      // The cell becomes the last fully visible one.
      const int64_t dispo =
          (colonnes ? static_cast<int64_t>(a.Etendue) : static_cast<int64_t>(a.LimiteClient) + a.LargeurLigne) -
          a.LimiteFixe;
      int64_t somme = 0;
      int32_t p = cellule;
      for (int32_t i = cellule; i >= a.Fixes; --i) {
        somme += Taille(colonnes, i) + a.LargeurLigne;
        if (somme > dispo) break;
        p = i;
      }
      premier = p;
    }
  };
  ajuster(true, Cellule.X, nouveau.X);
  ajuster(false, Cellule.Y, nouveau.Y);
  const TListCoord maximum = HautGaucheMaximal();
  nouveau.X = static_cast<int32_t>(Borne(nouveau.X, fixedCols_, std::max(maximum.X, fixedCols_)));
  nouveau.Y = static_cast<int32_t>(Borne(nouveau.Y, fixedRows_, std::max(maximum.Y, fixedRows_)));
  DeplacerHautGauche(nouveau);
}

void TVokCustomList::MontrerSelection() {
  if (selection_.Nombre == 0) return;
  const TAxeListe a = AxeLignes();
  const int64_t premiere = static_cast<int64_t>(a.Premier) - fixedRows_ + 1;
  const int64_t derniere = static_cast<int64_t>(a.DernierVisible) - fixedRows_ + 1;
  // The first selected row at or after the top row, found in the sorted set.
  if (premiere >= 1 && derniere >= premiere) {
    const uint32_t p = Memoire::Rechercher(static_cast<uint32_t>(premiere), selection_);
    if (p <= selection_.Nombre && selection_.Elements[p - 1] <= derniere) return;
  }
  const int64_t ligne = static_cast<int64_t>(selection_.Elements[0]) + fixedRows_ - 1;
  if (ligne >= rowCount_) return;
  RendreVisible({topLeft_.X, static_cast<int32_t>(ligne)});
}

void TVokCustomList::Defiler(TScrollBarKind Barre, TCodeDefilement Code, int Position) {
  if (editionEnCours_) return;
  if (!(vokOptions_ & AvecModification)) PrendreFocus();
  const bool verticale = Barre == TScrollBarKind::sbVertical;
  if (!verticale && colCount_ == 1) {
    // The one-column list scrolls by pixels.
    const int maximum = std::max(ColWidths(0) - ClientWidth(), 0);
    const int ligne = std::max(MetriquesTexte::Largeur(Font(), "0"), 1);
    int64_t d = pixelOffset_;
    switch (Code) {
      case SB_LINEUP: d -= ligne; break;
      case SB_LINEDOWN: d += ligne; break;
      case SB_PAGEUP: d -= ClientWidth(); break;
      case SB_PAGEDOWN: d += ClientWidth(); break;
      case SB_TOP: d = 0; break;
      case SB_BOTTOM: d = maximum; break;
      case SB_THUMBTRACK:
        if (!(options_ & goThumbTracking)) break;
        [[fallthrough]];
      case SB_THUMBPOSITION: d = Position; break;
      default: break;
    }
    pixelOffset_ = static_cast<int32_t>(Borne(d, 0, maximum));
    MettreAJourPositionsBarres();
  } else {
    const TAxeListe a = verticale ? AxeLignes() : AxeColonnes();
    const int32_t fixes = a.Fixes;
    const int32_t maximum = std::max(MaximumAxe(a, !verticale), fixes);
    const int32_t page = std::max(a.DernierVisible - a.Premier + 1, 1);
    int64_t p = a.Premier;
    switch (Code) {
      case SB_LINEUP: p -= 1; break;
      case SB_LINEDOWN: p += 1; break;
      case SB_PAGEUP: p -= page; break;
      case SB_PAGEDOWN: p += page; break;
      case SB_TOP: p = fixes; break;
      case SB_BOTTOM: p = maximum; break;
      case SB_THUMBTRACK:
        if (!(options_ & goThumbTracking)) break;
        [[fallthrough]];
      case SB_THUMBPOSITION:
        p = fixes + static_cast<int64_t>(Position) * (static_cast<int64_t>(maximum) - fixes) / kPositionMaximale;
        break;
      default: break;
    }
    p = Borne(p, fixes, maximum);
    TListCoord n = topLeft_;
    (verticale ? n.Y : n.X) = static_cast<int32_t>(p);
    DeplacerHautGauche(n);
  }
  CacherFantome();
  Invalidate();
}

bool TVokCustomList::MouseWheel(uint8_t Shift, int Delta, TPoint P) {
  (void)P;
  dernierShift_ = Shift;
  if (Delta < 0) {
    if (topLeft_.Y < HautGaucheMaximal().Y) DeplacerHautGauche({topLeft_.X, topLeft_.Y + 1});
  } else if (Delta > 0) {
    if (topLeft_.Y > fixedRows_) DeplacerHautGauche({topLeft_.X, topLeft_.Y - 1});
  }
  return true;
}

// ---------------------------------------------------------------------------------------------
// Cells and points

TRect TVokCustomList::RectangleCellule(int32_t Col, int32_t Row) const {
  if (Col < 0 || Row < 0 || Col >= colCount_ || Row >= rowCount_) return {};
  const auto position = [this](bool colonnes, int32_t index, int32_t& debut) {
    const TAxeListe a = CalculerAxe(colonnes);
    int64_t x;
    if (index < a.Fixes) {
      x = 0;
      for (int32_t i = 0; i < index; ++i) x += Taille(colonnes, i) + a.LargeurLigne;
    } else if (colonnes && index >= a.Nombre - rightFixedCols_) {
      if (index < a.PremierFixeFin) return false;
      x = a.Etendue;
      for (int32_t i = a.PremierFixeFin; i < index; ++i) x += Taille(true, i) + a.LargeurLigne;
    } else {
      if (index < a.Premier || index > a.DernierPartiel) return false;
      x = a.LimiteFixe - (colonnes && colCount_ == 1 ? pixelOffset_ : 0);
      for (int32_t i = a.Premier; i < index; ++i) x += Taille(colonnes, i) + a.LargeurLigne;
    }
    debut = static_cast<int32_t>(x);
    return true;
  };
  int32_t x = 0, y = 0;
  if (!position(true, Col, x) || !position(false, Row, y)) return {};
  return {x, y, x + ColWidths(Col), y + RowHeights(Row)};
}

TListCoord TVokCustomList::CelluleAuPoint(int X, int Y) const {
  const auto chercher = [this](bool colonnes, int v) -> int32_t {
    const TAxeListe a = CalculerAxe(colonnes);
    if (v < 0 || v >= a.LimiteClient) return -1;
    const auto parcourir = [&](int32_t de, int32_t a_, int64_t debut) -> int32_t {
      for (int32_t i = de; i < a_ && debut <= v; ++i) {
        debut += Taille(colonnes, i) + a.LargeurLigne;
        if (v < debut) return i;
      }
      return -1;
    };
    if (v < a.LimiteFixe) return parcourir(0, a.Fixes, 0);
    if (colonnes && v >= a.Etendue) return parcourir(a.PremierFixeFin, a.Nombre, a.Etendue);
    const int32_t fin = colonnes ? a.Nombre - rightFixedCols_ : a.Nombre;
    return parcourir(a.Premier, fin, a.LimiteFixe - (colonnes && colCount_ == 1 ? pixelOffset_ : 0));
  };
  const int32_t c = chercher(true, X), r = chercher(false, Y);
  if (c < 0 || r < 0) return {-1, -1};
  return {c, r};
}

// ---------------------------------------------------------------------------------------------
// Painting

void TVokCustomList::Paint(TCanvas& C) {
  TSauvegardeCanvas sauvegarde(C);
  TRect r{0, 0, Width(), Height()};
  if (borderStyle_ == TListBorderStyle::bsSingle) {
    if (Ctl3D) {
      Cadre3D(C, r, Couleurs::clBtnShadow, Couleurs::clBtnHighlight, 1);
      Cadre3D(C, r, Couleurs::cl3DDkShadow, Couleurs::cl3DLight, 1);
    } else {
      C.Brush.Color = Couleurs::clBlack;
      C.Brush.Style = TBrushStyle::bsSolid;
      C.FrameRect(r);
      C.FrameRect(r.Reduit(1, 1));
    }
  }
  const TRect client = ClientRect();
  // The scroll bars: their track in the button face, the thumb in the shadow colour.
  const int barre = TScreen::kLargeurBarreDefilement;
  const auto peindreBarre = [&](const TEtatBarre& b, TRect piste, bool verticale) {
    if (!b.Visible) return;
    C.Brush.Style = TBrushStyle::bsSolid;
    C.Brush.Color = Couleurs::clBtnFace;
    C.FillRect(piste);
    const int longueur = verticale ? piste.Height() : piste.Width();
    const int course = std::max(longueur - barre, 0);
    const int p =
        b.Max > b.Min ? static_cast<int>(static_cast<int64_t>(b.Position - b.Min) * course / (b.Max - b.Min)) : 0;
    C.Brush.Color = Couleurs::clBtnShadow;
    C.FillRect(verticale ? Bornes(piste.Left + 2, piste.Top + p, barre - 4, barre)
                         : Bornes(piste.Left + p, piste.Top + 2, barre, barre - 4));
  };
  peindreBarre(barreV_, {client.Right, client.Top, client.Right + barre, client.Bottom}, true);
  peindreBarre(barreH_, {client.Left, client.Bottom, client.Right, client.Bottom + barre}, false);
  if (barreV_.Visible && barreH_.Visible) {
    C.Brush.Color = Couleurs::clBtnFace;
    C.FillRect({client.Right, client.Bottom, client.Right + barre, client.Bottom + barre});
  }
  // The grid, on the clip in client coordinates.
  TRect zone = client;
  if (const TRect* clip = C.Clip()) zone = Intersection(zone, clip->Decale(-C.Origine.X, -C.Origine.Y));
  C.Origine = {C.Origine.X + client.Left, C.Origine.Y + client.Top};
  zone = zone.Decale(-client.Left, -client.Top);
  C.DefinirClip(zone);
  PeindreGrille(C, zone);
}

TCanvas& TVokCustomList::Canvas() { return canvasPeinture_ ? *canvasPeinture_ : mesure_; }

void TVokCustomList::PeindreGrille(TCanvas& C, const TRect& Zone) {
  struct Garde {
    TCanvas*& c;
    ~Garde() { c = nullptr; }
  } garde{canvasPeinture_};
  canvasPeinture_ = &C;
  const TAxeListe ax = AxeColonnes(), ay = AxeLignes();
  const int dx = colCount_ == 1 ? -pixelOffset_ : 0;
  const int xDroite = ax.Etendue;
  int xFinDroite = xDroite;
  for (int32_t i = ax.PremierFixeFin; i < ax.Nombre; ++i) xFinDroite += ColWidths(i) + ax.LargeurLigne;
  const int32_t finCol = ax.DernierPartiel, finRow = ay.DernierPartiel;
  struct Region {
    int32_t c0, c1, r0, r1;
    int x0, y0, x1, y1;
    bool fixe;
  };
  const Region regions[] = {
      {0, fixedCols_ - 1, 0, fixedRows_ - 1, 0, 0, ax.LimiteFixe, ay.LimiteFixe, true},
      {ax.Premier, finCol, 0, fixedRows_ - 1, ax.LimiteFixe + dx, 0, ax.LimiteGrille, ay.LimiteFixe, true},
      {0, fixedCols_ - 1, ay.Premier, finRow, 0, ay.LimiteFixe, ax.LimiteFixe, ay.LimiteGrille, true},
      {ax.Premier, finCol, ay.Premier, finRow, ax.LimiteFixe + dx, ay.LimiteFixe, ax.LimiteGrille, ay.LimiteGrille,
       false},
      {ax.PremierFixeFin, ax.Nombre - 1, 0, fixedRows_ - 1, xDroite, 0, xFinDroite, ay.LimiteFixe, true},
      {ax.PremierFixeFin, ax.Nombre - 1, ay.Premier, finRow, xDroite, ay.LimiteFixe, xFinDroite, ay.LimiteGrille, true},
  };
  // 1. The grid lines: black in the fixed areas, silver (gray on a silver list) in the data area.
  const TColor donnees = Couleurs::CouleurRGB(Color()) == Couleurs::clSilver ? Couleurs::clGray : Couleurs::clSilver;
  for (const Region& g : regions)
    PeindreLignes(C, g.c0, g.c1, g.r0, g.r1, g.x0, g.y0, g.x1, g.y1, g.fixe ? Couleurs::clBlack : donnees,
                  options_ & (g.fixe ? goFixedVertLine : goVertLine),
                  options_ & (g.fixe ? goFixedHorzLine : goHorzLine));
  // 2. The cells, region by region.
  for (const Region& g : regions)
    PeindreRegion(C, Zone, g.c0, g.c1, g.r0, g.r1, g.x0, g.y0, g.x1, g.y1, g.fixe ? fixedColor_ : Color(), g.fixe);
  // 3. What lies right of the last column and below the last row.
  const int xFin = ax.PremierFixeFin < ax.Nombre ? xFinDroite : ax.LimiteGrille;
  C.Brush.Style = TBrushStyle::bsSolid;
  C.Brush.Color = Color();
  if (ax.PremierFixeFin < ax.Nombre && ax.LimiteGrille < xDroite)
    C.FillRect({ax.LimiteGrille, 0, xDroite, ay.LimiteGrille});
  if (xFin < ax.LimiteClient) C.FillRect({xFin, 0, ax.LimiteClient, ay.LimiteClient});
  if (ay.LimiteGrille < ay.LimiteClient) C.FillRect({0, ay.LimiteGrille, xFin, ay.LimiteClient});
}

void TVokCustomList::PeindreLignes(TCanvas& C, int32_t Col0, int32_t Col1, int32_t Row0, int32_t Row1, int X0, int Y0,
                                   int XFin, int YFin, TColor Couleur, bool Verticales, bool Horizontales) {
  if (Col1 < Col0 || Row1 < Row0 || lineWidth_ <= 0) return;
  C.Pen.Color = Couleur;
  C.Pen.Width = lineWidth_;
  C.Pen.Style = TPenStyle::psSolid;
  const int demi = lineWidth_ / 2;
  const TAxeListe ax = AxeColonnes(), ay = AxeLignes();
  if (Verticales) {
    int x = X0;
    for (int32_t c = Col0; c <= Col1 && x < XFin; ++c) {
      x += ColWidths(c);
      C.MoveTo(x + demi, Y0);
      C.LineTo(x + demi, YFin);
      x += ax.LargeurLigne;
    }
  }
  if (Horizontales) {
    int y = Y0;
    for (int32_t r = Row0; r <= Row1 && y < YFin; ++r) {
      y += RowHeights(r);
      C.MoveTo(X0, y + demi);
      C.LineTo(XFin, y + demi);
      y += ay.LargeurLigne;
    }
  }
}

void TVokCustomList::PeindreRegion(TCanvas& C, const TRect& Zone, int32_t Col0, int32_t Col1, int32_t Row0,
                                   int32_t Row1, int X0, int Y0, int XFin, int YFin, TColor Couleur, bool Fixe) {
  if (Col1 < Col0 || Row1 < Row0) return;
  const TAxeListe ax = AxeColonnes(), ay = AxeLignes();
  const int32_t premiereDonnees = fixedCols_, derniereDonnees = colCount_ - rightFixedCols_ - 1;
  const bool creation = vokOptions_ & AvecCreation;
  bool curseur = false;
  int y = Y0;
  for (int32_t r = Row0; r <= Row1 && y < YFin; ++r) {
    // The owner moves its data cursor on the row about to be drawn.
    if (r >= fixedRows_) {
      if (!curseur) {
        if (SurSauverPointeurs) SurSauverPointeurs(this);
        if (SurAccederAuPremier) SurAccederAuPremier(this, {Col0, r});
        curseur = true;
      } else if (SurAvancer) {
        SurAvancer(this, {Col0, r});
      }
    }
    const int h = RowHeights(r);
    const bool ligneSelectionnee =
        r >= fixedRows_ && !(vokOptions_ & SansSelection) && EstSelectionnee(r - fixedRows_ + 1);
    const bool ligneCreation = creation && r == fixedRows_ - 1;
    int x = X0;
    for (int32_t c = Col0; c <= Col1 && x < XFin; ++c) {
      const int w = ColWidths(c);
      const TRect rect{x, y, x + w, y + h};
      if (!Intersection(rect, Zone).Vide()) {
        TListVokDrawState etat = Fixe ? gdFixed : 0;
        if (ligneSelectionnee && c >= premiereDonnees && c <= derniereDonnees) etat |= gdSelected;
        if (defaultDrawing_) {
          C.Brush.Style = TBrushStyle::bsSolid;
          C.Font = Font();
          if (etat & gdSelected) {
            C.Brush.Color = Couleurs::clHighlight;
            C.Font.Color = Couleurs::clHighlightText;
          } else {
            C.Brush.Color = ligneCreation ? createColor_ : Couleur;
          }
          C.FillRect(rect);
        }
        DessinerCellule(c, r, etat, rect);
        if (defaultDrawing_ && Ctl3D && Fixe && !ligneCreation) {
          // The raised look of a fixed cell.
          C.Pen.Color = Couleurs::clBtnHighlight;
          C.Pen.Width = 1;
          C.Pen.Style = TPenStyle::psSolid;
          C.MoveTo(rect.Left, rect.Top);
          C.LineTo(rect.Right, rect.Top);
          if ((options_ & goFixedVertLine) || c == Col0) {
            C.MoveTo(rect.Left, rect.Top);
            C.LineTo(rect.Left, rect.Bottom);
          }
        }
      }
      x += w + ax.LargeurLigne;
    }
    y += h + ay.LargeurLigne;
  }
  if (curseur && SurRestaurerPointeurs) SurRestaurerPointeurs(this);
}

// ---------------------------------------------------------------------------------------------
// TVokDrawList

void TVokDrawList::DefinirNombreLignes(int32_t Nombre, int32_t Mode, int32_t Ligne) {
  const int64_t lignes = static_cast<int64_t>(std::max(Nombre, 0)) + FixedRows();
  if (lignes > vclliste::kTailleMaximale) ErreurListe(vclliste::RS_GrilleTropGrande);
  SetRowCount(static_cast<int32_t>(lignes));
  if (Ligne != 0)
    SetTopRow(
        static_cast<int32_t>(std::min<int64_t>(static_cast<int64_t>(Ligne) + FixedRows() - 1, HautGaucheMaximal().Y)));
  if (Mode == 2) MontrerSelection();
}

void TVokDrawList::DessinerCellule(int32_t Col, int32_t Row, TListVokDrawState State, TRect Rect) {
  if (OnDrawCell) OnDrawCell(this, Col, Row, Rect, State);
}

bool TVokDrawList::PeutSelectionnerCellule(int32_t Col, int32_t Row) {
  bool peut = true;
  if (OnSelectCell) OnSelectCell(this, Col, Row, peut);
  return peut;
}

void TVokDrawList::NombreLignesChange() {
  if (OnRowCountChanged) OnRowCountChanged(this);
}

void TVokDrawList::AvantChangementHautGauche(TListCoord Ancien, TListCoord Nouveau) {
  if (OnPreTopLeftChanged) OnPreTopLeftChanged(this, Ancien, Nouveau);
}

void TVokDrawList::ColonneDeplacee(int32_t De, int32_t A) {
  if (OnColumnMoved) OnColumnMoved(this, De, A);
}

void TVokDrawList::LigneDeplacee(int32_t De, int32_t A) {
  if (OnRowMoved) OnRowMoved(this, De, A);
}

void TVokDrawList::HautGaucheChange() {
  if (OnTopLeftChanged) OnTopLeftChanged(this);
}

void TVokDrawList::NotifierSelection() {
  if (SurSelection) SurSelection(this);
  TVokCustomList::NotifierSelection();
}
