#include "ui/ListeSimpleProfilsServeur.h"

#include <algorithm>

#include "core/objects/Exceptions.h"
#include "core/records/Comparai.h"
#include "core/records/Xi.h"
#include "net/utilisateurs/BaseUtilisateurs.h"
#include "net/utilisateurs/ProfilServeur.h"
#include "net/utilisateurs/Utilisateur.h"
#include "objectdb/Traduction.h"
#include "ui/Fiche.h"
#include "ui/Saisies.h"
#include "ui/VclFanto.h"
#include "ui/VclHint.h"

namespace {

// A record of the list table: a profile and its position in the server-profile table's order 1.
struct TypeEntreeListe {
  uint32_t Ident = 0;
  int32_t Position = 0;
};
constexpr int32_t kOrdrePosition = 1;

TForm* fiche = nullptr;
bool affichee = false;
TColor couleurTitre = Couleurs::clBtnFace;
TSurSelectionProfil surSelection;
TypeEntreeListe* table = nullptr;

// The metric of the vertical scroll bar's arrow height.
constexpr int kSM_CYVSCROLL = 17;
constexpr int kCurseurDoubleClic = 1;

struct TColonneProfils {
  const char* Nom;
  int32_t Largeur;
  const char* CleTitre;  // header hint, or nil
  const char* CleEntete;
};
constexpr TColonneProfils kColonnes[] = {
    {"00", 230, nullptr, "ListeSimpleProfilsServeurListeProfilsServeurLabel"},
    {"01", 300, nullptr, "ListeSimpleProfilsServeurListeProfilsServeurBaseAssociee"},
    {"02", 150, "ListeSimpleProfilsServeurEslPrincipalAdministrateurs",
     "ListeSimpleProfilsServeurListeProfilsServeurAdminist"},
};

void LibererTable() {
  Xi::Detruire(table);
  table = nullptr;
}

void CreerTable() {
  LibererTable();
  void* t = nullptr;
  Xi::Creer(t, 0, sizeof(TypeEntreeListe), 1);
  if (!t) throw Exception("Table de la liste des profils serveur refusée");
  auto* e = static_cast<TypeEntreeListe*>(t);
  if (!Xi::DefinirOrdre(t, kOrdrePosition, 1, false) ||
      !Xi::DefinirColonne(t, kOrdrePosition, 1, &e->Position, 4, &Comparai::ComparerEntier)) {
    Xi::Detruire(t);
    throw Exception("Ordre de la liste des profils serveur refusé");
  }
  table = e;
}

// The file name of a path: the folders dropped at "\" and at "/".
std::string NomFichier(const std::string& Chemin) {
  const size_t p = Chemin.find_last_of("\\/");
  return p == std::string::npos ? Chemin : Chemin.substr(p + 1);
}

// The text of a column for the current server profile.
std::string TexteColonne(const std::string& Nom, bool Bulle) {
  const TypeProfilServeur& p = *BaseUtilisateurs::ProfilsServeurs();
  if (Nom == "00") return p.Nom();
  if (Nom == "01") return Bulle ? p.CheminBase() : NomFichier(p.CheminBase());
  if (Nom == "02") {
    std::string t;
    TexteAdministrateursProfilServeur(t);
    return t;
  }
  return {};
}

// Saves the positions of the server-profile table and of the list table, restored when it goes.
struct Positions {
  Positions() {
    Xi::SauverPosition(BaseUtilisateurs::ProfilsServeurs());
    if (table) Xi::SauverPosition(table);
  }
  ~Positions() {
    (void)Xi::RestaurerPosition(BaseUtilisateurs::ProfilsServeurs());
    if (table) (void)Xi::RestaurerPosition(table);
  }
};

bool AllerALigne(int32_t Ligne) {
  return table && Ligne >= 1 && Xi::AllerAPosition(table, kOrdrePosition, static_cast<uint32_t>(Ligne));
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// The form

TFicheListeSimpleProfilsServeur::TFicheListeSimpleProfilsServeur(TComponent* Owner) : TForm(Owner) {
  SetBorderStyle(TFormBorderStyle::bsNone);
  SetBounds(0, 0, 700, 400);
  PanelPrincipal = new TVokPanel(this);
  PanelPrincipal->SetParent(this);
  PanelPrincipal->SetBevelOuter(TBevelCut::bvNone);
  PanelPrincipal->SetAlign(TAlign::alClient);
  PanelBoutons = new TVokPanel(PanelPrincipal);
  PanelBoutons->SetParent(PanelPrincipal);
  PanelBoutons->SetBevelOuter(TBevelCut::bvNone);
  PanelBoutons->SetHeight(37);
  PanelBoutons->SetAlign(TAlign::alBottom);
  BtnCreerRaccourci = new TBitBtn(PanelBoutons);
  BtnCreerRaccourci->SetParent(PanelBoutons);
  BtnCreerRaccourci->SetBounds(5, 6, 160, 25);
  BtnLancerServeur = new TBitBtn(PanelBoutons);
  BtnLancerServeur->SetParent(PanelBoutons);
  BtnLancerServeur->SetBounds(0, 6, 160, 25);
  PanelListe = new TVokPanel(PanelPrincipal);
  PanelListe->SetParent(PanelPrincipal);
  PanelListe->SetBevelOuter(TBevelCut::bvNone);
  PanelListe->SetAlign(TAlign::alClient);
  PanelTitreListe = new TVokPanel(PanelListe);
  PanelTitreListe->SetParent(PanelListe);
  PanelTitreListe->SetHeight(27);
  PanelTitreListe->SetAlign(TAlign::alTop);
  PanelTitreListe->SetAlignment(TAlignment::taLeftJustify);
  ListeProfils = new TVokStringList(PanelListe);
  ListeProfils->SetParent(PanelListe);
  ListeProfils->SetFixedCols(0);
  ListeProfils->SetDefaultRowHeight(20);
  ListeProfils->SetScrollBars(TListScrollBars::ssVertical);
  TFont gras = ListeProfils->Font();
  gras.Style |= fsBold;
  ListeProfils->SetFont(gras);
  ListeProfils->ShowHint = true;
  ListeProfils->SetAlign(TAlign::alClient);

  ListeProfils->SurAccederAuPremier = ListeProfils->SurAvancer = [this](TComponent*, TListCoord C) {
    return ListeProfilsSurAcceder(C);
  };
  ListeProfils->SurSauverPointeurs = [this](TComponent*) { ListeProfilsSurSauverPointeurs(); };
  ListeProfils->SurRestaurerPointeurs = [this](TComponent*) { ListeProfilsSurRestaurerPointeurs(); };
  ListeProfils->SurSelection = [this](TComponent*) { ListeProfilsSurSelection(); };
  ListeProfils->OnMouseMove = [this](TComponent*, uint8_t S, int X, int Y) { ListeProfilsMouseMove(S, X, Y); };
  ListeProfils->OnDblClick = [this](TComponent*) { ListeProfilsDblClick(); };
  PanelBoutons->OnPreResize = [this](TComponent*) { PanelBoutonsPreResize(); };
  PanelListe->OnPostResize = [this](TComponent*) { PanelListePostResize(); };
  BtnCreerRaccourci->OnClick = [this](TComponent*) { BtnCreerRaccourciClick(); };
  BtnLancerServeur->OnClick = [this](TComponent*) { BtnLancerServeurClick(); };
  FormCreate();
  PanelBoutonsPreResize();
  PanelListePostResize();
}

TFicheListeSimpleProfilsServeur::~TFicheListeSimpleProfilsServeur() {
  // FormDestroy: the unit forgets the form.
  if (fiche == this) fiche = nullptr;
}

void TFicheListeSimpleProfilsServeur::FormCreate() {
  PanelTitreListe->SetCaption(" " + Traduction::Traduire("ListeSimpleProfilsServeurChoixDuServeur"));
  PanelTitreListe->SetColor(couleurTitre);
  BtnCreerRaccourci->SetCaption(Traduction::Traduire("ListeSimpleProfilsServeurCreerRaccourciServeur"));
  BtnLancerServeur->SetCaption(Traduction::Traduire("ListeSimpleProfilsServeurSeConnecter"));
  BtnCreerRaccourci->SetEnabled(false);
  BtnLancerServeur->SetEnabled(false);
  ListeProfils->SupprimerColonnes();
  for (const TColonneProfils& c : kColonnes)
    ListeProfils->AjouterColonne(
        c.Nom, c.Largeur, [this](TVokStringList* L, int32_t Col, int32_t, TListVokDrawState, TRect R) { DessinerEntete(L, Col, R); },
        nullptr,
        [this](TVokStringList* L, int32_t Col, int32_t, TListVokDrawState, TRect R) { DessinerDonnee(L, Col, R); },
        nullptr, c.CleTitre ? Traduction::Traduire(c.CleTitre) : std::string());
}

void TFicheListeSimpleProfilsServeur::DessinerEntete(TVokStringList* Liste, int32_t Col, TRect Rect) {
  TCanvas& c = Liste->Canvas();
  c.Font.Style |= fsBold;
  const int32_t numero = Liste->NumeroAffichee(Col + 1);
  if (numero < 1 || numero > static_cast<int32_t>(std::size(kColonnes))) return;
  VclFanto::DessinerTexteCentre(c, Rect, Traduction::Traduire(kColonnes[numero - 1].CleEntete), true);
}

void TFicheListeSimpleProfilsServeur::DessinerDonnee(TVokStringList* Liste, int32_t Col, TRect Rect) {
  VclFanto::DessinerTexteAvecMarges(Liste->Canvas(), Rect, 1, 2, TexteColonne(Liste->NomColonneAffichee(Col + 1), false),
                                    0);
}

bool TFicheListeSimpleProfilsServeur::ListeProfilsSurAcceder(TListCoord Cellule) {
  if (!AllerALigne(Cellule.Y - ListeProfils->FixedRows() + 1)) return false;
  return ProfilServeur::ChercherProfilServeur(table->Ident);
}

void TFicheListeSimpleProfilsServeur::ListeProfilsSurSauverPointeurs() {
  Xi::SauverPosition(BaseUtilisateurs::ProfilsServeurs());
  if (table) Xi::SauverPosition(table);
}

void TFicheListeSimpleProfilsServeur::ListeProfilsSurRestaurerPointeurs() {
  (void)Xi::RestaurerPosition(BaseUtilisateurs::ProfilsServeurs());
  if (table) (void)Xi::RestaurerPosition(table);
}

bool TFicheListeSimpleProfilsServeur::AllerASelection() { return AllerALigne(ListeProfils->LigneSelectionnee(1)); }

void TFicheListeSimpleProfilsServeur::ListeProfilsSurSelection() {
  bool lancer = false, raccourci = false;
  if (ListeProfils->NombreSelectionnes() == 1 && BaseUtilisateurs::ProfilsServeurs()) {
    Positions positions;
    if (AllerASelection()) {
      if (ProfilServeur::ChercherProfilServeur(table->Ident)) lancer = BaseUtilisateurs::ProfilsServeurs()->Actif();
      raccourci = true;
    }
  }
  BtnLancerServeur->SetEnabled(lancer);
  BtnCreerRaccourci->SetEnabled(raccourci);
}

void TFicheListeSimpleProfilsServeur::ListeProfilsMouseMove(uint8_t Shift, int X, int Y) {
  (void)Shift;
  if (!BaseUtilisateurs::ProfilsServeurs()) return;
  Positions positions;
  const TListCoord c = ListeProfils->CelluleAuPoint(X, Y);
  if (c.X < ListeProfils->FixedCols() || c.Y < ListeProfils->FixedRows()) {
    ListeProfils->Cursor = 0;
    return;
  }
  const bool actif = AllerALigne(c.Y - ListeProfils->FixedRows() + 1) &&
                     ProfilServeur::ChercherProfilServeur(table->Ident) &&
                     BaseUtilisateurs::ProfilsServeurs()->Actif();
  ListeProfils->Cursor = actif ? kCurseurDoubleClic : 0;
  TColonnesToujours toujours;
  toujours.set(2);
  VclHint::AfficherBulleCellule(*ListeProfils, X, Y, toujours, [this](int32_t Colonne, int32_t Ligne, std::string& Nom) {
    Nom = ListeProfils->NomColonneAffichee(Colonne);
    ListeProfils->Hint.clear();
    if (AllerALigne(Ligne) && ProfilServeur::ChercherProfilServeur(table->Ident))
      ListeProfils->Hint = TexteColonne(Nom, true);
  });
}

void TFicheListeSimpleProfilsServeur::ListeProfilsDblClick() { BtnLancerServeurClick(); }

void TFicheListeSimpleProfilsServeur::PanelBoutonsPreResize() {
  BtnCreerRaccourci->SetLeft(PanelPrincipal->Left() + PanelBoutons->Left() + 5);
  BtnLancerServeur->SetLeft(PanelBoutons->Width() - BtnLancerServeur->Width() - 5);
}

void TFicheListeSimpleProfilsServeur::PanelListePostResize() {
  if (ListeProfils->ColCount() < 1 || ListeProfils->NombreAffichees() < 1) return;
  int32_t autres = 0;
  for (int32_t c = 1; c < ListeProfils->ColCount(); ++c) autres += ListeProfils->ColWidths(c) + 1;
  ListeProfils->DefinirLargeurColonne(0, ListeProfils->Width() - autres - kSM_CYVSCROLL);
}

void TFicheListeSimpleProfilsServeur::BtnCreerRaccourciClick() {
  if (Saisies::TerminerSaisie(true)) return;
  uint32_t ident = 0;
  {
    Xi::SauverPosition(table);
    if (AllerASelection()) ident = table->Ident;
    (void)Xi::RestaurerPosition(table);
  }
  if (ident == 0) return;
  ProfilServeur::CreerRaccourciProfilServeur(ident);
}

void TFicheListeSimpleProfilsServeur::BtnLancerServeurClick() {
  if (Saisies::TerminerSaisie(true)) return;
  uint32_t ident = 0;
  bool trouve = false;
  Xi::SauverPosition(table);
  if (AllerASelection()) ident = table->Ident, trouve = true;
  (void)Xi::RestaurerPosition(table);
  if (trouve && surSelection) surSelection(ident);
}

// ---------------------------------------------------------------------------------------------
// The unit

namespace ListeSimpleProfilsServeur {

TFicheListeSimpleProfilsServeur* Fiche() { return static_cast<TFicheListeSimpleProfilsServeur*>(fiche); }
bool Affichee() { return affichee; }

void AfficherListeProfilsServeur(TVokPanel* Conteneur, TColor Couleur, TSurSelectionProfil SurSelection) {
  if (!BaseUtilisateurs::ProfilsServeurs() || affichee) return;
  if (fiche && Fiche::AnnulerLiberationDifferee(fiche)) {
    delete fiche;
    fiche = nullptr;
  }
  affichee = true;
  couleurTitre = Couleur;
  surSelection = std::move(SurSelection);
  Fiche::CreerFiche([](TComponent* Owner) -> TForm* { return new TFicheListeSimpleProfilsServeur(Owner); }, fiche);
  ActualiserListeProfilsServeur();
  if (Conteneur) Fiche()->PanelPrincipal->SetParent(Conteneur);
}

void MasquerListeProfilsServeur() {
  if (!fiche) return;
  TFicheListeSimpleProfilsServeur* f = Fiche();
  f->PanelPrincipal->SetParent(f);
  affichee = false;
  Fiche::DiffererLiberation(fiche);
}

void ActualiserListeProfilsServeur() {
  if (!affichee || !fiche) return;
  CreerTable();
  auto* p = BaseUtilisateurs::ProfilsServeurs();
  if (p) {
    const uint32_t n = Xi::Nombre(p);
    for (uint32_t i = 1; i <= n; ++i) {
      Xi::SauverPosition(p);
      if (Xi::AllerAPosition(p, BaseUtilisateurs::kProfilNom, i) && p->Actif()) {
        table->Ident = p->Identifiant();
        table->Position = static_cast<int32_t>(i);
        (void)Xi::Inserer(table);
      }
      (void)Xi::RestaurerPosition(p);
    }
  }
  Fiche()->ListeProfils->DefinirNombreLignes(static_cast<int32_t>(Xi::Nombre(table)), 1, 0);
}

uint32_t IdentALaLigne(int32_t Ligne) {
  if (!table) return 0;
  Xi::SauverPosition(table);
  const uint32_t ident = AllerALigne(Ligne) ? table->Ident : 0;
  (void)Xi::RestaurerPosition(table);
  return ident;
}

int32_t NombreLignes() { return table ? static_cast<int32_t>(Xi::Nombre(table)) : 0; }

void Finaliser() {
  LibererTable();
  surSelection = nullptr;
  affichee = false;
}

}  // namespace ListeSimpleProfilsServeur

void TexteAdministrateursProfilServeur(std::string& Texte) {
  Texte.clear();
  auto* u = BaseUtilisateurs::Utilisateurs();
  auto* p = BaseUtilisateurs::ProfilsServeurs();
  if (!u || !p) return;
  const uint32_t profil = p->Identifiant();
  Xi::SauverPosition(u);
  for (bool ok = Xi::Premier(u, BaseUtilisateurs::kUtilIdent); ok; ok = Xi::Suivant(u, BaseUtilisateurs::kUtilIdent)) {
    if (Utilisateur::EstSuperUtilisateur() || !Utilisateur::AccedeProfilServeur(profil)) continue;
    if (!Texte.empty()) Texte += ", ";
    Texte += u->Code.Texte();
  }
  (void)Xi::RestaurerPosition(u);
}

void FermerPanneauUtilisateurs() {}
void ActualiserPanneauUtilisateurs() {}
void FermerPanneauAffectations() {}
void ActualiserPanneauAffectations() {}
