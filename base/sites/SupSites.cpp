#include "base/sites/SupSites.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

#include "base/SupParametresGrille.h"
#include "base/SupParco.h"
#include "base/cours/SupCours.h"
#include "base/fichiers/SupRelationCours.h"
#include "base/ressources/SupRessource.h"
#include "base/sites/SupSite.h"
#include "base/sites/SupTrajetSite.h"
#include "core/records/Xi.h"

namespace {

using D = TMethodesDomaine;

int32_t PlacesParJour() { return SupParametresGrille::Parametres().PlacesParJour; }

void Poser32(uint8_t* p, int32_t v) { std::memcpy(p, &v, 4); }
int32_t Lire32(const uint8_t* p) {
  int32_t v;
  std::memcpy(&v, p, 4);
  return v;
}

}  // namespace

void* TSites::TableSites() const { return SupSite::Fichier().Table; }

void* TSites::TableTrajets() const { return SupTrajetSite::Fichier().Table; }

bool TSites::CreerTables() {
  if (SupSite::Fichier().CreerTable() && SupTrajetSite::Fichier().CreerTable()) return true;
  LibererTables();
  return false;
}

void TSites::LibererTables() {
  SupSite::Fichier().LibererTable();
  SupTrajetSite::Fichier().LibererTable();
}

bool TSites::InscrireFichiers() {
  const bool sites = SupSite::Fichier().InscrireFichier() == SupSite::kPlace;
  return SupTrajetSite::Fichier().InscrireFichier() == SupTrajetSite::kPlace && sites;
}

void TSites::EmpilerPositions() {
  SupSite::Fichier().EmpilerPosition();
  SupTrajetSite::Fichier().EmpilerPosition();
}

void TSites::DepilerPositions() {
  SupTrajetSite::Fichier().DepilerPosition();
  SupSite::Fichier().DepilerPosition();
}

void TSites::ParametresParDefaut() {
  const uint32_t p = static_cast<uint32_t>(PlacesParJour());
  TypeParametresSite s;
  s.Pause1Position = 1;
  s.Pause2Position = static_cast<int32_t>(std::max(p / 2, static_cast<uint32_t>(s.Pause1Position + 2)));
  s.Pause3Position = static_cast<int32_t>(std::max(p, static_cast<uint32_t>(s.Pause2Position + 3)) - 1);
  parametres_ = s;
}

void TSites::LireParametres(TStream& Flux) {
  uint8_t b[kTailleParametres];
  Flux.ReadBuffer(b, kTailleParametres);
  TypeParametresSite& s = parametres_;
  s.Activation = b[0];
  s.Pause1Active = b[4];
  s.Pause1Position = Lire32(b + 8);
  s.Pause2Active = b[12];
  s.Pause2Position = Lire32(b + 16);
  s.Pause3Active = b[20];
  s.Pause3Position = Lire32(b + 24);
  s.MaxChangementsProfs = Lire32(b + 28);
  s.MaxChangementsEleves = Lire32(b + 32);
}

void TSites::EcrireParametres(TStream& Flux) const {
  const TypeParametresSite& s = parametres_;
  uint8_t b[kTailleParametres] = {};
  b[0] = s.Activation;
  b[4] = s.Pause1Active;
  Poser32(b + 8, s.Pause1Position);
  b[12] = s.Pause2Active;
  Poser32(b + 16, s.Pause2Position);
  b[20] = s.Pause3Active;
  Poser32(b + 24, s.Pause3Position);
  Poser32(b + 28, s.MaxChangementsProfs);
  Poser32(b + 32, s.MaxChangementsEleves);
  Flux.WriteBuffer(b, kTailleParametres);
}

uint8_t TSites::PauseActive(int32_t N) const {
  switch (N) {
    case 1: return parametres_.Pause1Active;
    case 2: return parametres_.Pause2Active;
    case 3: return parametres_.Pause3Active;
    default: return 0;
  }
}

int32_t TSites::PositionPause(int32_t N) const {
  switch (N) {
    case 1: return parametres_.Pause1Position;
    case 2: return parametres_.Pause2Position;
    case 3: return parametres_.Pause3Position;
    default: return PlacesParJour() - 1;
  }
}

int32_t TSites::MaxChangementsDeSite(uint8_t Genre) const {
  if (Genre == 0) return parametres_.MaxChangementsProfs;
  if (Genre >= 1 && Genre <= 4) return parametres_.MaxChangementsEleves;
  return PlacesParJour();
}

uint32_t TSites::SiteParDefaut(uint8_t Genre) const { return Genre == 1 ? 0 : SupSite::SiteParDefaut(); }

uint32_t TSites::NumeroDeSite(uint32_t Site) const { return SupSite::NumeroDe(Site); }

bool TSites::ChercherSite(uint32_t NumeroSite, uint32_t& Site, uint8_t Genre) const {
  Site = SupSite::ArticleDeNumero(NumeroSite);
  if (Site != 0) return true;
  Site = SiteParDefaut(Genre);
  return false;
}

// ---- The used sites of the current course -------------------------------------------------------

namespace {

// The walk routine over the course's room relations: the room (current in ".RES") is used, through
// the current relation, on its site, the default site when it has none or its site is gone.
bool AjouterSalle(intptr_t Donnee) {
  auto* ensemble = reinterpret_cast<TUsedSites*>(Donnee);
  const TypeEnregistrementRessource* salle = SupRessource::Article();
  const TypeEnregistrementRelationCours* relation = SupRelationCours::Article();
  uint32_t site = salle->MotC;
  if (site != 0 && !SupSite::Existe(site)) site = 0;
  ensemble->AjouterSite(site, relation->Semaines, Xi::NumeroCourant(SupRessource::Fichier().Table),
                        Xi::NumeroCourant(SupRelationCours::Fichier().Table));
  return false;
}

}  // namespace

bool TSites::CreerSitesUtilises(std::unique_ptr<TUsedSites>& Resultat, const TypeDomaineHebdomadaire& Semaines,
                                bool SemainesPlacees, bool AvecUtilisateurs) {
  if (AvecUtilisateurs) Resultat = std::make_unique<TUsedSitesAvecUtilisateurs>(*this, Semaines, 0, true);
  else Resultat = std::make_unique<TUsedSites>(*this, Semaines, 0, true);
  const TypeEnregistrementCours* cours = SupCours::Article();
  if (cours == nullptr || Xi::NumeroCourant(SupCours::Fichier().Table) == 0) return true;
  if (cours->Site != 0) {
    Resultat->AjouterSite(cours->Site, SemainesPlacees ? cours->Semaines : cours->SemainesPotentielles, 0, 0);
    return true;
  }
  (void)SupParco::PourChaqueRessourceDuGenreDuCours(SupRessource::kSalle, &AjouterSalle,
                                                    reinterpret_cast<intptr_t>(Resultat.get()), false, Semaines);
  uint32_t site = 0;
  TypeDomaineHebdomadaire semaines;
  bool compatible = true;
  (void)Resultat->AnalyserSites(site, semaines, compatible);
  return compatible;
}

// ---- Used sites -------------------------------------------------------------------------------------

void TUsedSite::AjouterSemaines(const TypeDomaineHebdomadaire& Ajout, uint32_t, uint32_t) {
  Semaines = D::Union(Semaines, Ajout);
}

bool TUsedSite::UtilisateurSuivant(int32_t& Indice, TUsedSite*& Utilisateur) const {
  Indice = -1;
  Utilisateur = nullptr;
  return false;
}

bool TListeUsedSite::Suivant(int32_t& Indice, TUsedSite*& Element) const {
  for (int32_t i = std::max(Indice, -1) + 1; i < Count(); ++i) {
    if (Items(i) == nullptr) continue;
    Indice = i;
    Element = static_cast<TUsedSite*>(Items(i));
    return true;
  }
  Indice = -1;
  Element = nullptr;
  return false;
}

TUsedSiteAvecUtilisateurs::TUsedSiteAvecUtilisateurs(uint32_t Site, const TypeDomaineHebdomadaire& Semaines,
                                                     uint32_t Ressource, uint32_t Relation)
    : TUsedSite(Site, Semaines) {
  Utilisations.Add(new TUsedSiteAvecUtilisateur(Site, Semaines, Ressource, Relation));
}

void TUsedSiteAvecUtilisateurs::AjouterSemaines(const TypeDomaineHebdomadaire& Ajout, uint32_t Ressource,
                                                uint32_t Relation) {
  TUsedSite::AjouterSemaines(Ajout, Ressource, Relation);
  Utilisations.Add(new TUsedSiteAvecUtilisateur(Site, Ajout, Ressource, Relation));
}

bool TUsedSiteAvecUtilisateurs::UtilisateurSuivant(int32_t& Indice, TUsedSite*& Utilisateur) const {
  return Utilisations.Suivant(Indice, Utilisateur);
}

// ---- Used-site sets ---------------------------------------------------------------------------------

TUsedSites::TUsedSites(TSites& Sites, const TypeDomaineHebdomadaire& Semaines, uint32_t SiteRemplace,
                       bool LibererSites)
    : Sites(&Sites), SiteParDefaut(Sites.SiteParDefaut(0)), SiteRemplace(SiteRemplace), Semaines(Semaines),
      Utilises(std::make_unique<TAssociationCardinalObjet>(LibererSites, false)) {}

std::unique_ptr<TUsedSites> TUsedSites::Creer(TSites& Ensemble, const TypeDomaineHebdomadaire& Domaine,
                                              uint32_t Remplace, bool LibererSites) const {
  return std::make_unique<TUsedSites>(Ensemble, Domaine, Remplace, LibererSites);
}

std::unique_ptr<TUsedSites> TUsedSitesAvecUtilisateurs::Creer(TSites& Ensemble, const TypeDomaineHebdomadaire& Domaine,
                                                              uint32_t Remplace, bool LibererSites) const {
  return std::make_unique<TUsedSitesAvecUtilisateurs>(Ensemble, Domaine, Remplace, LibererSites);
}

bool TUsedSites::AjouterSiteDe(uint32_t, TUsedSite* Element, void*) {
  AjouterSite(Element->Site, Element->Semaines, 0, 0);
  return false;
}

bool TUsedSitesAvecUtilisateurs::AjouterSiteDe(uint32_t, TUsedSite* Element, void*) {
  if (Element->NombreUtilisateurs() == 0) {
    AjouterSite(Element->Site, Element->Semaines, 0, 0);
    return false;
  }
  int32_t indice = -1;
  TUsedSite* usage = nullptr;
  while (Element->UtilisateurSuivant(indice, usage))
    AjouterSite(usage->Site, usage->Semaines, usage->Ressource(), usage->Relation());
  return false;
}

void TUsedSites::AjouterSite(uint32_t Site, const TypeDomaineHebdomadaire& Ajout, uint32_t Ressource,
                             uint32_t Relation) {
  const TypeDomaineHebdomadaire w = D::Intersection(Ajout, Semaines);
  if (D::EstVide(w)) return;
  AjouterSemainesDuSite(SiteEffectif(Site), w, Ressource, Relation);
}

void TUsedSites::AjouterSemainesDuSite(uint32_t Site, const TypeDomaineHebdomadaire& W, uint32_t, uint32_t) {
  if (TUsedSite* e = SiteUtilise(Site)) e->AjouterSemaines(W, 0, 0);
  else Inscrire(new TUsedSite(Site, W));
}

void TUsedSitesAvecUtilisateurs::AjouterSemainesDuSite(uint32_t Site, const TypeDomaineHebdomadaire& W,
                                                       uint32_t Ressource, uint32_t Relation) {
  if (TUsedSite* e = SiteUtilise(Site)) e->AjouterSemaines(W, Ressource, Relation);
  else Inscrire(new TUsedSiteAvecUtilisateurs(Site, W, Ressource, Relation));
}

TUsedSites* TUsedSites::Fusionner(const TUsedSites* Autre, bool Copie) {
  if (Copie) {
    std::unique_ptr<TUsedSites> copie = Creer(*Sites, Semaines, SiteRemplace, true);
    (void)copie->Fusionner(this, false);
    (void)copie->Fusionner(Autre, false);
    return copie.release();
  }
  // Merging a set into itself changes nothing (and walking the uses it appends would never end).
  if (Autre == nullptr || Autre == this || Autre->NombreDeSites() == 0) return this;
  Semaines = D::Union(Semaines, Autre->Semaines);
  (void)Autre->PourChaqueSite(
      [this](uint32_t Cle, TUsedSite* Element, void* Donnee) { return AjouterSiteDe(Cle, Element, Donnee); },
      nullptr);
  return this;
}

TUsedSite* TUsedSites::SiteUtilise(uint32_t Site) const {
  return static_cast<TUsedSite*>(Utilises->GetValeur(Site));
}

void TUsedSites::Inscrire(TUsedSite* Element) {
  if (Element == nullptr) return;
  // Replacing an element goes through a removal, so that an owning set frees the former one.
  TObject* ancien = Utilises->GetValeur(Element->Site);
  if (ancien == Element) return;
  if (ancien != nullptr) (void)Utilises->SupprimerCle(Element->Site);
  Utilises->SetValeur(Element->Site, Element);
}

std::unique_ptr<TListeUsedSite> TUsedSites::ListeSites() const {
  auto liste = std::make_unique<TListeUsedSite>(false);
  (void)PourChaqueSite(
      [&liste](uint32_t, TUsedSite* Element, void*) {
        liste->Add(Element);
        return false;
      },
      nullptr);
  return liste;
}

bool TUsedSites::PourChaqueSite(const TRoutineSite& Routine, void* Donnee) const {
  return Utilises->Parcourir(
      [&Routine](const uint32_t& Cle, TObject* const& Valeur, void* d) {
        return Routine(Cle, static_cast<TUsedSite*>(Valeur), d);
      },
      Donnee);
}

TypeDomaineHebdomadaire TUsedSites::DomaineTotal() const {
  TypeDomaineHebdomadaire total;
  (void)PourChaqueSite(
      [&total](uint32_t, TUsedSite* Element, void*) {
        total = D::Union(total, Element->Semaines);
        return false;
      },
      nullptr);
  return total;
}

void TUsedSites::Restreindre(const TypeDomaineHebdomadaire& Restriction, TypeDomaineHebdomadaire& Domaine) {
  Domaine = TypeDomaineHebdomadaire{};
  (void)PourChaqueSite(
      [&](uint32_t Cle, TUsedSite* Element, void*) {
        if (!D::SeRencontrent(Element->Semaines, Restriction)) {
          Utilises->DiffererSuppression(Cle, Element);
        } else {
          Element->Semaines = D::Intersection(Element->Semaines, Restriction);
          Domaine = D::Union(Domaine, Element->Semaines);
        }
        return false;
      },
      nullptr);
  (void)Utilises->AppliquerSuppressionsDifferees();
  Semaines = Domaine;
}

bool TUsedSites::AnalyserSites(uint32_t& Site, TypeDomaineHebdomadaire& SemainesSite, bool& Compatible) const {
  Site = 0;
  SemainesSite = TypeDomaineHebdomadaire{};
  Compatible = true;
  const std::unique_ptr<TListeUsedSite> liste = ListeSites();
  const int32_t n = liste->Count();
  auto element = [&liste](int32_t i) { return static_cast<const TUsedSite*>(liste->Items(i)); };
  if (n == 0) return true;
  if (n == 1) {
    Site = element(0)->Site;
    SemainesSite = element(0)->Semaines;
    return true;
  }
  // First pass: each site against the one just before it.
  for (int32_t i = 1; i < n; ++i)
    if (D::SeRencontrent(element(i)->Semaines, element(i - 1)->Semaines)) {
      Compatible = false;
      return false;
    }
  // Second pass: the pairs that are not neighbours; the first meeting of each site j, the last one kept.
  for (int32_t j = 0; j + 2 < n; ++j)
    for (int32_t k = j + 2; k < n; ++k)
      if (D::SeRencontrent(element(j)->Semaines, element(k)->Semaines)) {
        Compatible = false;
        SemainesSite = D::Intersection(element(j)->Semaines, element(k)->Semaines);
        break;
      }
  return false;
}

bool TUsedSites::SitesEnConflit(const TypeDomaineHebdomadaire& Restriction,
                                std::unique_ptr<TUsedSites>& Conflits) const {
  Conflits = Creer(*Sites, TypeDomaineHebdomadaire{}, SiteRemplace, false);
  const std::unique_ptr<TListeUsedSite> liste = ListeSites();
  TypeDomaineHebdomadaire cumul;
  for (int32_t i = 0; i < liste->Count(); ++i) {
    const auto* ei = static_cast<const TUsedSite*>(liste->Items(i));
    const TypeDomaineHebdomadaire w = D::Intersection(ei->Semaines, Restriction);
    if (D::EstVide(w)) continue;
    for (int32_t j = 0; j < liste->Count(); ++j) {
      auto* ej = static_cast<TUsedSite*>(liste->Items(j));
      if (j == i || !D::SeRencontrent(ej->Semaines, w)) continue;
      cumul = D::Union(cumul, D::Intersection(ej->Semaines, w));
      Conflits->Inscrire(ej);
    }
  }
  Conflits->Semaines = cumul;
  return Conflits->NombreDeSites() > 0;
}

std::unique_ptr<TUsedSites> TUsedSites::Copier(const TUsedSites* Autre) const {
  auto copie = std::make_unique<TUsedSites>(*Sites, Semaines, SiteRemplace, true);
  if (Autre == nullptr || Autre->NombreDeSites() == 0) {
    (void)copie->Fusionner(this, false);
    return copie;
  }
  const TypeDomaineHebdomadaire pris = Autre->DomaineTotal();
  copie->Semaines = D::Union(copie->Semaines, pris);
  (void)copie->Fusionner(Autre, false);
  TUsedSites* cible = copie.get();
  (void)PourChaqueSite(
      [cible, &pris](uint32_t, TUsedSite* Element, void*) {
        const TypeDomaineHebdomadaire reste = D::Difference(Element->Semaines, pris);
        if (!D::EstVide(reste)) cible->AjouterSite(Element->Site, reste, 0, 0);
        return false;
      },
      nullptr);
  return copie;
}

// ---- Travels between used sites --------------------------------------------------------------------

bool TUsedTrajetSite::Portee(int64_t& Jours, int32_t& NombreSemaines) const {
  Jours = 0;
  NombreSemaines = 0;
  return false;
}

int32_t TUsedTrajetSiteDuree::NombrePlaces() const {
  const int64_t places =
      static_cast<int64_t>(DureeTrajet) * static_cast<int64_t>(SupParametresGrille::Parametres().PlacesParHeure) / 60;
  return static_cast<int32_t>(std::clamp<int64_t>(places, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

bool TUsedTrajetSiteInterdit::Portee(int64_t& Jours, int32_t& NombreSemaines) const {
  if (DureeTrajet >= 0) return TUsedTrajetSite::Portee(Jours, NombreSemaines);
  Jours = 0;
  NombreSemaines = 0;
  switch (DureeTrajet) {
    case -0x7FFFFFFF: NombreSemaines = 1; break;
    case -0x7FFFFFFE: NombreSemaines = 2; break;
    case -0x7FFFFFFD: NombreSemaines = 4; break;
    default: Jours = -static_cast<int64_t>(DureeTrajet); break;
  }
  return true;
}

TUsedTrajetsSites::TUsedTrajetsSites(TSites& Sites, const TUsedSites& UsedSites) {
  for (auto& classe : Trajets)
    for (auto& sens : classe) sens = std::make_unique<TAssociationCardinalObjet>(true, false);
  TFichierSup& fichier = SupTrajetSite::Fichier();
  if (Sites.TableTrajets() == nullptr) return;
  TPositionSauvee position(fichier);
  std::vector<uint32_t> sites;
  (void)UsedSites.PourChaqueSite(
      [&sites](uint32_t Cle, TUsedSite*, void*) {
        sites.push_back(Cle);
        return false;
      },
      nullptr);
  using E = TypeEnregistrementTrajetSite;
  // The travels of one order whose first key is the site, as records read before any is recorded.
  auto trajets = [&fichier](int32_t Ordre, uint32_t Site) {
    E* e = SupTrajetSite::Article();
    std::memset(static_cast<void*>(e), 0, sizeof *e);
    if (Ordre == SupTrajetSite::kOrdreDepartArrivee) e->SiteDepart = Site;
    else e->SiteArrivee = Site;
    const std::vector<uint32_t> numeros = fichier.NumerosDepuisCle(Ordre, [Ordre, Site] {
      const E* c = SupTrajetSite::Article();
      return (Ordre == SupTrajetSite::kOrdreDepartArrivee ? c->SiteDepart : c->SiteArrivee) == Site;
    });
    std::vector<E> lus;
    for (uint32_t n : numeros)
      if (Xi::AllerA(fichier.Table, n)) lus.push_back(*SupTrajetSite::Article());
    return lus;
  };
  for (uint32_t s : sites) {
    for (const E& t : trajets(SupTrajetSite::kOrdreDepartArrivee, s)) Enregistrer(t, 1, t.SiteArrivee, s);
    for (const E& t : trajets(SupTrajetSite::kOrdreArriveeDepart, s)) Enregistrer(t, 0, t.SiteDepart, s);
  }
}

void TUsedTrajetsSites::Enregistrer(const TypeEnregistrementTrajetSite& Trajet, int32_t Sens, uint32_t SiteAutre,
                                    uint32_t SiteUtilise) {
  const int32_t classe = Trajet.DureeTrajet >= 0 ? 0 : 1;
  std::unique_ptr<TUsedTrajetSite> objet;
  if (classe == 0) objet = std::make_unique<TUsedTrajetSiteDuree>(Trajet.SiteDepart, Trajet.SiteArrivee, Trajet.DureeTrajet);
  else objet = std::make_unique<TUsedTrajetSiteInterdit>(Trajet.SiteDepart, Trajet.SiteArrivee, Trajet.DureeTrajet);
  ++Nombres[classe][Sens];
  int64_t jours = 0;
  int32_t semaines = 0;
  if (objet->Portee(jours, semaines))
    Etendues[Sens] = std::max(Etendues[Sens], SupSites::EtendueEnSemaines(jours, semaines));
  TAssociationCardinalObjet& externe = *Trajets[classe][Sens];
  auto* interne = static_cast<TAssociationCardinalObjet*>(externe.GetValeur(SiteAutre));
  if (interne == nullptr) {
    interne = new TAssociationCardinalObjet(true, false);
    externe.SetValeur(SiteAutre, interne);
  }
  // The travel file holds one travel per ordered pair; should two meet, the later one stands.
  (void)interne->SupprimerCle(SiteUtilise);
  interne->SetValeur(SiteUtilise, objet.release());
}

TUsedTrajetSite* TUsedTrajetsSites::ChercherTrajet(int32_t Classe, int32_t Sens, uint32_t SiteAutre,
                                                   uint32_t SiteUtilise) const {
  if (Classe < 0 || Classe > 1 || Sens < 0 || Sens > 1) return nullptr;
  auto* interne = static_cast<TAssociationCardinalObjet*>(Trajets[Classe][Sens]->GetValeur(SiteAutre));
  return interne == nullptr ? nullptr : static_cast<TUsedTrajetSite*>(interne->GetValeur(SiteUtilise));
}

int32_t TUsedTrajetsSites::EtendueTotale(int32_t Classe) const {
  if (Classe < 0 || Classe > 1) return 0;
  return Nombres[Classe][0] + Nombres[Classe][1];
}

bool TUsedTrajetsSites::ElargirDomaine(const TypeDomaineHebdomadaire& Semaines, TypeDomaineHebdomadaire& Resultat) const {
  const TypeDomaineHebdomadaire source = Semaines;  // the caller may pass one set for both
  Resultat = source;
  if ((Etendues[0] == 0 && Etendues[1] == 0) || D::EstVide(source) || D::EstInclus(D::Annee(), source)) return false;
  // Elargir answers True when nothing was widened.
  return !D::Elargir(static_cast<uint32_t>(Etendues[0]), static_cast<uint32_t>(Etendues[1]), source, Resultat);
}

namespace SupSites {

int32_t EtendueEnSemaines(int64_t Jours, int32_t NombreSemaines) {
  if (NombreSemaines > 0) return std::min(NombreSemaines - 1, 52);
  if (Jours > 1) return static_cast<int32_t>(std::min<int64_t>((Jours - 1 + 6) / 7, 52));
  return 0;
}

TSites& Sites() {
  static TSites sites;
  return sites;
}

bool PlaceDesSites(int32_t Place) { return Place == SupSite::kPlace || Place == SupTrajetSite::kPlace; }

}  // namespace SupSites
