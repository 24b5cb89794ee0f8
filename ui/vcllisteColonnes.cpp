// The named-column list: its columns and their two orders, the look-ups, the cell drawing with the
// creation-row pictures, the header hints, and the creation and modification cycles that call the
// columns' edit routines.
#include <algorithm>
#include <cstdlib>

#include "core/values/Ansi1252.h"
#include "platform/gui/Saisie.h"
#include "platform/loop/MainLoop.h"
#include "platform/ui/BoiteMessage.h"
#include "ui/vclliste.h"

namespace vclliste {

TListCoord RegleCreation(TypeToucheDeValidation Touche) {
  return {Touche == TypeToucheDeValidation::tvRetour ? 1 : 0, 0};
}

TListCoord RegleModification(TypeToucheDeValidation Touche) {
  using TV = TypeToucheDeValidation;
  switch (Touche) {
    case TV::tvRetour:
    case TV::tvFlecheBas:
    case TV::tvPageBas:
      return {0, 1};
    case TV::tvTabulationArriere:
    case TV::tvDebut:
    case TV::tvFlecheGauche:
      return {-1, 0};
    case TV::tvFlecheHaut:
    case TV::tvPageHaut:
      return {0, -1};
    case TV::tvTabulationAvant:
    case TV::tvFin:
    case TV::tvFlecheDroite:
      return {1, 0};
    default:
      return {0, 0};
  }
}

}  // namespace vclliste

namespace {

TColonneListe* Donnee(const TNoeud* N) { return N ? static_cast<TColonneListe*>(N->Donnee) : nullptr; }

// A node of Liste holding C, or nil.
TNoeud* NoeudDe(const TColonneListe* C, const TListe* Liste) {
  for (TNoeud* n = Liste ? Liste->Premier : nullptr; n; n = n->Suivant)
    if (n->Donnee == C) return n;
  return nullptr;
}

// A cycle has nobody to answer it once the program was asked to stop: an edit routine that keeps
// going with no user would otherwise turn for ever.
bool ArretDemande() {
  const MainLoop* b = Application().Boucle();
  return b && b->StopRequested();
}

bool Blanc(const std::string& S) { return S.find_first_not_of(' ') == std::string::npos; }

}  // namespace

TVokStringList::TVokStringList(TComponent* Owner) : TVokDrawList(Owner) {
  positions_ = ListeCha::CreerListe();
  affichage_ = ListeCha::CreerListe();
}

TVokStringList::~TVokStringList() {
  CacherBulle();
  SupprimerColonnes();
  ListeCha::DetruireListe(positions_);
  ListeCha::DetruireListe(affichage_);
}

// ---------------------------------------------------------------------------------------------
// Columns

int32_t TVokStringList::AjouterColonne(const std::string& Nom, int32_t Largeur, TDessinColonne DessinEntete,
                                       TDessinColonne DessinCreation, TDessinColonne DessinDonnee,
                                       TEditionColonne Edition, const std::string& Titre) {
  const std::string nom = Nom.substr(0, 30);
  if (nom.empty())
    BoiteMessage::Afficher(std::string("ATTENTION : impossible de gérer une colonne nommée '' "_ansi), "",
                           BoiteMessage::MB_OK);
  else if (NumeroColonne(nom) > 0)
    BoiteMessage::Afficher(std::string("ATTENTION : la colonne nommée '"_ansi) + nom + std::string("' existe déjà "_ansi), "",
                           BoiteMessage::MB_OK);
  auto* c = new TColonneListe;
  c->Numero = NombreColonnes() + 1;
  c->Largeur = Largeur;
  c->Nom = nom;
  c->DessinEntete = std::move(DessinEntete);
  c->DessinCreation = std::move(DessinCreation);
  c->DessinDonnee = std::move(DessinDonnee);
  c->Edition = std::move(Edition);
  c->Titre = Titre.substr(0, 255);
  colonnes_.push_back(c);
  for (TListe* l : {positions_, affichage_}) {
    TNoeud* n = ListeCha::CreerNoeud();
    n->Donnee = c;
    ListeCha::Inserer(n, ListeCha::Nombre(l) + 1, l);
  }
  ordreEdition_.push_back(c->Numero);
  SetRightFixedCols(0);
  DeplacerColonne(c->Numero, c->Numero);
  return c->Numero;
}

void TVokStringList::DeplacerColonne(int32_t Numero, int32_t Position) {
  TColonneListe* c = const_cast<TColonneListe*>(Colonne(Numero));
  if (!c || Position == 0) return;
  TNoeud* n = NoeudDe(c, positions_);
  ListeCha::Retirer(n, positions_);
  ListeCha::Inserer(n, Position, positions_);
  ReconstruireAffichage();
  Reconstruire();
}

void TVokStringList::DefinirVisibilite(int32_t Numero, bool Visible) {
  TColonneListe* c = const_cast<TColonneListe*>(Colonne(Numero));
  if (!c || c->Visible == Visible) return;
  c->Visible = Visible;
  ReconstruireAffichage();
  Reconstruire();
}

void TVokStringList::DefinirEditable(int32_t Numero, bool Editable) {
  if (TColonneListe* c = const_cast<TColonneListe*>(Colonne(Numero))) c->Editable = Editable;
}

// The displayed order: the visible columns in the order of their declared positions.
void TVokStringList::ReconstruireAffichage() {
  while (TNoeud* n = ListeCha::Extraire(1, affichage_)) ListeCha::DetruireNoeud(n, nullptr);
  for (TNoeud* p = positions_->Premier; p; p = p->Suivant) {
    if (!Donnee(p)->Visible) continue;
    TNoeud* n = ListeCha::CreerNoeud();
    n->Donnee = p->Donnee;
    ListeCha::Inserer(n, ListeCha::Nombre(affichage_) + 1, affichage_);
  }
}

void TVokStringList::Reconstruire() {
  const bool visible = Visible();
  SetVisible(false);
  reconstruction_ = true;
  try {
    SetColCount(NombreAffichees());
    int32_t i = 0;
    for (TNoeud* n = affichage_->Premier; n; n = n->Suivant, ++i) DefinirLargeurColonne(i, Donnee(n)->Largeur);
  } catch (...) {
    reconstruction_ = false;
    SetVisible(visible);
    throw;
  }
  reconstruction_ = false;
  SetVisible(visible);
}

void TVokStringList::SupprimerColonnes() {
  while (TNoeud* n = ListeCha::Extraire(1, affichage_)) ListeCha::DetruireNoeud(n, nullptr);
  while (TNoeud* n = ListeCha::Extraire(1, positions_)) ListeCha::DetruireNoeud(n, nullptr);
  for (TColonneListe* c : colonnes_) delete c;
  colonnes_.clear();
  ordreEdition_.clear();
}

// ---------------------------------------------------------------------------------------------
// Look-ups

int32_t TVokStringList::NombreAffichees() const { return ListeCha::Nombre(affichage_); }

const TColonneListe* TVokStringList::Colonne(int32_t Numero) const {
  if (Numero < 1 || Numero > NombreColonnes()) return nullptr;
  return colonnes_[static_cast<size_t>(Numero - 1)];
}

TColonneListe* TVokStringList::ColonneAffichee(int32_t Position) const {
  return Donnee(ListeCha::NoeudA(Position, affichage_));
}

int32_t TVokStringList::NumeroColonne(const std::string& Nom) const {
  const std::string nom = Nom.substr(0, 30);
  for (const TColonneListe* c : colonnes_)
    if (c->Nom == nom) return c->Numero;
  return -1;
}

std::string TVokStringList::NomColonne(int32_t Numero) const {
  const TColonneListe* c = Colonne(Numero);
  return c ? c->Nom : std::string();
}

std::string TVokStringList::NomColonneAffichee(int32_t Position) const {
  const TColonneListe* c = ColonneAffichee(Position);
  return c ? c->Nom : std::string();
}

int32_t TVokStringList::NumeroAffichee(int32_t Position) const {
  const TColonneListe* c = ColonneAffichee(Position);
  return c ? c->Numero : -1;
}

int32_t TVokStringList::NumeroDeclare(int32_t Position) const {
  const TColonneListe* c = Donnee(ListeCha::NoeudA(Position, positions_));
  return c ? c->Numero : -1;
}

int32_t TVokStringList::PositionDeclaree(int32_t Numero) const {
  const TColonneListe* c = Colonne(Numero);
  return c ? ListeCha::PositionDe(NoeudDe(c, positions_), positions_) : 0;
}

int32_t TVokStringList::PositionAffichee(int32_t Numero) const {
  const TColonneListe* c = Colonne(Numero);
  return c ? ListeCha::PositionDe(NoeudDe(c, affichage_), affichage_) : 0;
}

int32_t TVokStringList::LargeurColonne(const std::string& Nom) const {
  const int32_t n = NumeroColonne(Nom);
  if (n < 0) return ColWidths(0);
  return colonnes_[static_cast<size_t>(n - 1)]->Largeur;
}

int32_t TVokStringList::LargeurColonne(int32_t Numero) const {
  if (const TColonneListe* c = Colonne(Numero)) return c->Largeur;
  return Numero >= 0 && Numero < ColCount() ? ColWidths(Numero) : DefaultColWidth();
}

bool TVokStringList::TitreAffiche(int32_t Position) const {
  const TColonneListe* c = ColonneAffichee(Position);
  return c && !Blanc(c->Titre);
}

std::string TVokStringList::ColonneAuPixel(int X) const {
  int gauche = BorderStyle() == TListBorderStyle::bsSingle ? 0 : 2;
  int32_t i = 0;
  for (TNoeud* n = affichage_->Premier; n; n = n->Suivant, ++i) {
    const int droite = gauche + ColWidths(i) + ListLineWidth();
    if (X < droite) return X >= gauche || i == 0 ? Donnee(n)->Nom : std::string();
    gauche = droite;
  }
  return {};
}

int32_t TVokStringList::GaucheColonne(const std::string& Nom) const {
  int32_t x = BorderStyle() == TListBorderStyle::bsSingle ? 3 : 1;
  int32_t i = 0;
  for (TNoeud* n = affichage_->Premier; n; n = n->Suivant, ++i) {
    if (Donnee(n)->Nom == Nom) break;
    x += ColWidths(i) + ListLineWidth();
  }
  return x;
}

int32_t TVokStringList::LargeurTotale() const {
  int64_t l = 1;
  for (int32_t i = 0; i < ColCount(); ++i) l += static_cast<int64_t>(ColWidths(i)) + ListLineWidth();
  if (BorderStyle() == TListBorderStyle::bsSingle) l += 4;
  int64_t hauteur = 0;
  for (int32_t r = 0; r < RowCount() && hauteur <= Height(); ++r) hauteur += RowHeights(r) + ListLineWidth();
  if (hauteur > Height() && (ScrollBars() == TListScrollBars::ssVertical || ScrollBars() == TListScrollBars::ssBoth))
    l += TScreen::kLargeurBarreDefilement;
  return static_cast<int32_t>(std::min<int64_t>(l, INT32_MAX));
}

// ---------------------------------------------------------------------------------------------
// Width reports and moved columns

void TVokStringList::LargeursColonnesChangees() {
  if (!reconstruction_) {
    int32_t i = 0;
    for (TNoeud* n = affichage_->Premier; n && i < ColCount(); n = n->Suivant, ++i) {
      TColonneListe* c = Donnee(n);
      if (c->Largeur == ColWidths(i)) continue;
      c->Largeur = ColWidths(i);
      if (SurTailleColonneChangee) SurTailleColonneChangee(this, c->Numero);
    }
  }
  TVokDrawList::LargeursColonnesChangees();
}

void TVokStringList::ColonneDeplacee(int32_t De, int32_t A) {
  TNoeud* n = ListeCha::Extraire(De + 1, affichage_);
  if (n) {
    ListeCha::Inserer(n, A + 1, affichage_);
    // The declared positions follow: the column goes just before the displayed column now after
    // it, or just after the one now before it.
    TColonneListe* c = Donnee(n);
    TNoeud* p = NoeudDe(c, positions_);
    ListeCha::Retirer(p, positions_);
    if (n->Suivant) {
      ListeCha::Inserer(p, ListeCha::PositionDe(NoeudDe(Donnee(n->Suivant), positions_), positions_), positions_);
    } else if (n->Precedent) {
      ListeCha::Inserer(p, ListeCha::PositionDe(NoeudDe(Donnee(n->Precedent), positions_), positions_) + 1,
                        positions_);
    } else {
      ListeCha::Inserer(p, 1, positions_);
    }
  }
  Invalidate();
  TVokDrawList::ColonneDeplacee(De, A);
}

// ---------------------------------------------------------------------------------------------
// Cell drawing

void TVokStringList::DessinerCellule(int32_t Col, int32_t Row, TListVokDrawState State, TRect Rect) {
  if (TColonneListe* c = ColonneAffichee(Col + 1)) {
    TCanvas& canvas = Canvas();
    const bool creation = (VokOptions() & AvecCreation) && Row == FixedRows() - 1;
    if (creation) {
      const TBitmap* gauche = nullptr;
      const TBitmap* droite = nullptr;
      const auto& images = ImagesCreation();
      if (CreateBitmap() == TCreateBitmap::cbIndicators && images.size() >= 2) gauche = &images[0], droite = &images[1];
      if (CreateBitmap() == TCreateBitmap::cbPlus && !images.empty()) gauche = &images[0];
      if (CreateBitmap() == TCreateBitmap::cbCustom) gauche = &ImagePersonnalisee;
      const bool derniere = Col == ColCount() - RightFixedCols() - 1;
      TRect r = Rect;
      if (Col == 0 && gauche) r.Left += gauche->Width + 2;
      if (derniere && droite) r.Right -= droite->Width + 2;
      if (c->DessinCreation) c->DessinCreation(this, Col, Row, State, r);
      if (Col == 0 && gauche && gauche->Width > 0)
        canvas.Draw(Rect.Left + 1, Rect.Top + (Rect.Height() - gauche->Height) / 2, *gauche);
      if (derniere && droite && droite->Width > 0)
        canvas.Draw(Rect.Right - droite->Width - 1, Rect.Top + (Rect.Height() - droite->Height) / 2, *droite);
    } else if (Row < FixedRows()) {
      if (c->DessinEntete) c->DessinEntete(this, Col, Row, State, Rect);
    } else if (c->DessinDonnee) {
      c->DessinDonnee(this, Col, Row, State, Rect);
    }
  }
  TVokDrawList::DessinerCellule(Col, Row, State, Rect);
}

// ---------------------------------------------------------------------------------------------
// Header hints

bool TVokStringList::CelluleEntete(TListCoord Cellule) const {
  const int32_t derniere = (VokOptions() & AvecCreation) ? FixedRows() - 1 : FixedRows();
  return Cellule.X >= 0 && Cellule.Y >= 0 && (Cellule.Y == 0 || Cellule.Y < derniere);
}

std::string TVokStringList::TexteBulle(TListCoord Cellule) {
  if (!ShowVokHint || !CelluleEntete(Cellule)) return {};
  const TColonneListe* c = ColonneAffichee(Cellule.X + 1);
  std::string texte = OnVokHint ? OnVokHint(this, Cellule.X, Cellule.Y) : std::string();
  if (texte.empty() && c && !Blanc(c->Titre)) texte = c->Titre;
  return texte;
}

void TVokStringList::MontrerBulle(TListCoord Cellule, const std::string& Texte) {
  const TRect r = RectangleCellule(Cellule.X, Cellule.Y);
  // Below the cell; under the cell itself when the list is too low for one more row.
  const int y = Height() < (FixedRows() + 1) * DefaultRowHeight() ? r.Top : r.Bottom + DefaultRowHeight();
  if (VclFanto::Fantome() == nullptr || !BulleAffichee()) {
    TFantome& f = PreparerFantomeBulle();
    f.SetCaption(Texte);
    f.AjusterBulle();
    VclFanto::PlacerFantome(ClientToScreen({r.Left, y}), true);
    f.Show();
  } else {
    TFantome& f = *VclFanto::Fantome();
    f.SetCaption(Texte);
    f.AjusterBulle();
    VclFanto::PlacerFantome(ClientToScreen({r.Left, y}), true);
  }
  celluleBulle_ = Cellule;
}

void TVokStringList::CacherBulle() {
  if (!BulleAffichee()) return;
  CacherFantome();
  Application().ShowHint = true;
  celluleBulle_ = {-1, -1};
}

void TVokStringList::BoutonDroitEnfonce(TListCoord Cellule, int X, int Y) {
  (void)X, (void)Y;
  const std::string texte = TexteBulle(Cellule);
  if (texte.empty()) return;
  Application().ShowHint = false;
  MontrerBulle(Cellule, texte);
  DefinirBulleAffichee(true);
}

void TVokStringList::MouseMove(uint8_t Shift, int X, int Y) {
  TVokDrawList::MouseMove(Shift, X, Y);
  if (!ShowVokHint) return;
  const TListCoord c = CelluleAuPoint(X, Y);
  const std::string texte = TexteBulle(c);
  if (!texte.empty()) {
    if (!curseurBulle_) curseurSauve_ = Cursor, curseurBulle_ = true;
    Screen().Cursor = HintCursor;
    if (BulleAffichee() && c != celluleBulle_) MontrerBulle(c, texte);
    return;
  }
  if (curseurBulle_) {
    curseurBulle_ = false;
    Screen().Cursor = curseurSauve_;
  }
  if (BulleAffichee()) {
    if (!TRect{0, 0, ClientWidth(), ClientHeight()}.Contient({X, Y})) {
      CacherBulle();
    } else {
      // Elsewhere in the list: the balloon goes, its state lasts until the mouse leaves.
      VclFanto::CacherFantome();
    }
  }
}

void TVokStringList::MouseUp(TMouseButton Bouton, uint8_t Shift, int X, int Y) {
  if (Bouton == TMouseButton::mbRight && BulleAffichee()) CacherBulle();
  TVokDrawList::MouseUp(Bouton, Shift, X, Y);
}

void TVokStringList::MouseLeave() {
  CacherBulle();
  TVokDrawList::MouseLeave();
}

// ---------------------------------------------------------------------------------------------
// Cycles

TListCoord TVokStringList::Offset(TListCoord Cellule, TypeToucheDeValidation Touche, bool Creation) {
  TListCoord o = Creation ? vclliste::RegleCreation(Touche) : vclliste::RegleModification(Touche);
  if (SurContinuerEdition) SurContinuerEdition(this, Cellule, Touche, o);
  return o;
}

void TVokStringList::Editer(TColonneListe& C, TListCoord Cellule, bool& Continuer, TypeToucheDeValidation& Touche) {
  struct Drapeaux {
    TVokStringList& l;
    ~Drapeaux() { l.DefinirEditionEnCours(false); }
  } restauration{*this};
  DefinirEditionEnCours(true);
  C.Edition(this, Cellule.X, Cellule.Y, Continuer, Touche);
}

void TVokStringList::CycleCreation(TListCoord Cellule) {
  if (colonnes_.empty()) {
    TVokDrawList::CycleCreation(Cellule);
    return;
  }
  if (!RequeteCreation(Cellule)) {
    Click();
    return;
  }
  const TListCoord courante{std::clamp(Courante().X, 0, std::max(ColCount() - 1, 0)),
                            std::clamp(Courante().Y, 0, std::max(RowCount() - 1, 0))};
  const int32_t ligneCreation = FixedRows() - 1;
  EntrerEtatEdition();
  struct Fin {
    TVokStringList& l;
    int32_t ligne;
    ~Fin() {
      try {
        if (l.SurTerminerEdition) l.SurTerminerEdition(&l);
      } catch (...) {
      }
      l.SortirEtatEdition();
      l.RepeindreLigne(ligne);
    }
  } fin{*this, ligneCreation};
  bool encore = true;
  while (encore && !ArretDemande()) {
    ViderSelection();
    bool continuer = true, edite = false;
    int32_t k = 1;
    while (continuer && k >= 1 && k <= static_cast<int32_t>(ordreEdition_.size()) && !ArretDemande()) {
      TColonneListe* c = const_cast<TColonneListe*>(Colonne(ordreEdition_[static_cast<size_t>(k - 1)]));
      if (!c) break;
      if (!Editable(c)) {
        ++k;
        continue;
      }
      const TListCoord cellule{PositionAffichee(c->Numero) - 1, ligneCreation};
      DeplacerCourante(cellule.X, cellule.Y, true, true);
      RendreVisible(cellule);
      RepeindreLigne(ligneCreation);
      TypeToucheDeValidation touche = TypeToucheDeValidation::tvRetour;
      Editer(*c, cellule, continuer, touche);
      edite = true;
      if (continuer) k += Offset(cellule, touche, true).X;
    }
    encore = edite && continuer && (!SurTerminerCreation || SurTerminerCreation(this));
    DeplacerCourante(courante.X, courante.Y, true, true);
  }
}

void TVokStringList::CycleModification(TListCoord Cellule) {
  if (colonnes_.empty()) {
    TVokDrawList::CycleModification(Cellule);
    return;
  }
  if (!RequeteModification(Cellule)) {
    if (OnDblClick) OnDblClick(this);
    return;
  }
  Modification();
  EntrerEtatEdition();
  struct Fin {
    TVokStringList& l;
    ~Fin() {
      l.celluleEditee_ = {-1, -1};
      l.SortirEtatEdition();
    }
  } fin{*this};
  TListCoord cellule = Cellule;
  TColonneListe* c = ColonneAffichee(cellule.X + 1);
  const int32_t affichees = NombreAffichees();
  bool continuer = Editable(c);
  while (continuer && !ArretDemande()) {
    DeplacerCourante(cellule.X, cellule.Y, true, true);
    RepeindreLigne(cellule.Y);
    const bool conseils = Application().ShowHint;
    Application().ShowHint = false;
    celluleEditee_ = cellule;
    TypeToucheDeValidation touche = TypeToucheDeValidation::tvRetour;
    try {
      Editer(*c, cellule, continuer, touche);
    } catch (...) {
      celluleEditee_ = {-1, -1};
      Application().ShowHint = conseils;
      throw;
    }
    celluleEditee_ = {-1, -1};
    Application().ShowHint = conseils;
    if (!continuer || ArretDemande()) break;
    const TListCoord o = Offset(cellule, touche, false);
    TListCoord suivante{cellule.X + o.X, cellule.Y + o.Y};
    if (suivante.X < 0 || suivante.X >= affichees || suivante.Y < FixedRows() || suivante.Y >= RowCount()) break;
    if (std::abs(o.X) == 1) {
      while (suivante.X >= 0 && suivante.X < affichees && !Editable(ColonneAffichee(suivante.X + 1)))
        suivante.X += o.X;
      if (suivante.X < 0 || suivante.X >= affichees) break;
    }
    c = ColonneAffichee(suivante.X + 1);
    if (!c || !c->Edition) break;
    cellule = suivante;
    SelectionnerLigne(cellule);
    DeplacerCourante(cellule.X, cellule.Y, true, true);
    MontrerSelection();
  }
  if (SurTerminerEdition) SurTerminerEdition(this);
  SortirEtatEdition();
  if (OnDblClick) OnDblClick(this);
}
