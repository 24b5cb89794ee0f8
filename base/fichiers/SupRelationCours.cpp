#include "base/fichiers/SupRelationCours.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "base/EcrGlobale.h"
#include "base/MoteurPlacement.h"
#include "base/SupDomaine.h"
#include "base/SupFichiers.h"
#include "base/SupMAJRessource.h"
#include "base/SupTraitement.h"
#include "base/cours/SupCours.h"
#include "base/cours/SupFractionnementCours.h"
#include "base/fichiers/DeclarationFichier.h"
#include "base/ressources/SupRelationRessource.h"
#include "base/ressources/SupRessource.h"
#include "core/records/Comparai.h"
#include "net/NetClient.h"
#include "net/netmodif.h"
#include "net/utilisateurs/SupDroitFonctionnel.h"

namespace SupRelationCours {

namespace {

using E = TypeEnregistrementRelationCours;
using D = TMethodesDomaine;

// Reads the two identifiers and the weeks; a relation whose resource or course does not exist is
// dropped. The kind is the resource's.
bool Lire(TFichierSup& Fichier, const uint8_t* Stocke, TypeGenreModif Genre) {
  if (!DeclarationFichier::LireChamps(Fichier, Stocke, Genre)) return false;
  E* e = Article();
  const uint8_t genre = SupRessource::GenreDeLaRessource(e->Ressource);
  if (genre == SupRessource::kGenreAucun) return false;
  e->Genre = genre;
  return true;
}

using namespace Champ;
const TypeDescriptionFichier& DescriptionFichier() {
  static const TypeDescriptionFichier d = DeclarationFichier::Decrire({
      "SupRelationCours", ".RLC", 0x1A, kPlace, kTailleStockee, false,
      {Identifiant(), Reference("Ressource", SupRessource::kPlace, 0), Reference("Cours", SupCours::kPlace, 4),
       Octet("Genre"), Semaines("Semaines", 8)},
      {{false, {{"Ressource", &Comparai::ComparerCardinal}, {"Cours", &Comparai::ComparerCardinal}}},
       {false,
        {{"Cours", &Comparai::ComparerCardinal}, {"Genre", &Comparai::ComparerOctet},
         {"Ressource", &Comparai::ComparerCardinal}}},
       {false, {{"Identifiant", &Comparai::ComparerEntierBis}}}},
      &Lire, &DeclarationFichier::EcrireChamps});
  return d;
}

void* Table() { return Fichier().Table; }
void* TableCours() { return SupCours::Fichier().Table; }
void* TableRessources() { return SupRessource::Fichier().Table; }
void MarquerBase() { EcrGlobale::MarquerBaseModifiee(EcrGlobale::FicheGlobales()); }
TypeRessourcesAMettreAJour& APerimer() { return SupMAJRessource::RessourcesAMettreAJour(); }

// The course's weeks and whether it has mobile sessions; False when the course does not exist.
bool LireCours(uint32_t Cours, TypeDomaineHebdomadaire& Semaines, bool& Mobile, uint8_t* Genre = nullptr,
               TypeDomaineHebdomadaire* Effectives = nullptr) {
  if (TableCours() == nullptr || Cours == 0) return false;
  SupCours::EmpilerPosition();
  const bool existe = Xi::AllerA(TableCours(), Cours);
  if (existe) {
    const TypeEnregistrementCours* c = SupCours::Article();
    Semaines = c->Semaines;
    Mobile = c->SeancesMobiles != 0;
    if (Genre != nullptr) *Genre = c->Genre;
    if (Effectives != nullptr) *Effectives = SupCours::SemainesEffectives();
  }
  SupCours::DepilerPosition();
  return existe;
}

// The record numbers of the relations walked from the key the buffer is given, while they keep it.
std::vector<uint32_t> DuCours(uint32_t Cours) {
  if (Table() == nullptr) return {};
  E* e = Article();
  std::memset(static_cast<void*>(e), 0, sizeof(E));
  e->Cours = Cours;
  return Fichier().NumerosDepuisCle(kOrdreCoursGenre, [e, Cours] { return e->Cours == Cours; });
}
std::vector<uint32_t> RessourceDansCours(uint32_t Ressource, uint32_t Cours) {
  if (Table() == nullptr) return {};
  E* e = Article();
  EmpilerPosition();
  std::memset(static_cast<void*>(e), 0, sizeof(E));
  e->Ressource = Ressource;
  e->Cours = Cours;
  std::vector<uint32_t> numeros = Fichier().NumerosDepuisCle(
      kOrdreRessourceCours, [e, Ressource, Cours] { return e->Ressource == Ressource && e->Cours == Cours; });
  DepilerPosition();
  return numeros;
}

// A copy of a relation's record (by record number); False when it holds none.
bool LireRelation(uint32_t Relation, E& Copie) {
  if (Table() == nullptr || Relation == 0) return false;
  EmpilerPosition();
  const bool existe = Xi::AllerA(Table(), Relation);
  if (existe) std::memcpy(static_cast<void*>(&Copie), Article(), sizeof(E));
  DepilerPosition();
  return existe;
}

uint32_t Courant(void* Table) { return Table != nullptr ? Xi::NumeroCourant(Table) : 0; }

// Reloads the current relation from the table (dropping unsaved edits); False when it holds none.
bool Revalider() {
  EmpilerPosition();
  DepilerPosition();
  return Xi::XiStatut == Xi::kStatutEgal;
}

void AvantOrdre(uint8_t*, void*, int32_t, TypeGenreModif Genre) {
  if (Genre != GM_Creation && Article() != nullptr) SupMAJRessource::AjouterRessource(Article()->Ressource, APerimer());
}

// Refreshes the retained flag of every course the request's orders touched.
void ActualiserCoursTouches() {
  const TypeEnsembleMemoire& touches = SupFichiers::CoursTouches();
  if (TableCours() == nullptr || touches.Nombre == 0) return;
  SupCours::EmpilerPosition();
  const std::vector<uint32_t> cours(touches.Elements, touches.Elements + touches.Nombre);
  for (uint32_t c : cours)
    if (Xi::AllerA(TableCours(), c)) SupFractionnementCours::ActualiserCoursRetenu();
  SupCours::DepilerPosition();
}

void ApresOrdre(uint8_t*, void*, int32_t, TypeGenreModif Genre) {
  // A refused conversion leaves a half-converted buffer: nothing to act on.
  if (!NetClient::OrdreApplique()) return;
  const E* e = Article();
  // A received change may put the relation on another resource (the server's duplication rewrites
  // relations): the new resource is stale as well as the former one.
  if (Genre != GM_Suppression) SupMAJRessource::AjouterRessource(e->Ressource, APerimer());
  if (Genre != GM_Suppression) (void)Memoire::Inserer(e->Cours, SupFichiers::CoursTouches());
  ActualiserCoursTouches();
}

class TFichierRelationsCours final : public TFichierSup {
 public:
  TFichierRelationsCours() : TFichierSup(DescriptionFichier(), &CreerRelationsParDefaut) {
    TFichierSup::AvantOrdre = &SupRelationCours::AvantOrdre;
    TFichierSup::ApresOrdre = &SupRelationCours::ApresOrdre;
  }
};

// Deletes the relation of that record number with the local steps of SupprimerRelation.
bool SupprimerLocalement(bool AussiFractions);

}  // namespace

TFichierSup& Fichier() {
  static TFichierRelationsCours fichier;
  return fichier;
}

E* Article() { return reinterpret_cast<E*>(Fichier().Enregistrement()); }

void ViderArticle() { Fichier().ViderArticle(); }
bool CreerTable() { return Fichier().CreerTable(); }
void LibererTable() { Fichier().LibererTable(); }
bool ChercherParIdentifiant(int32_t Identifiant) { return Fichier().ChercherParIdentifiant(Identifiant); }
void EmpilerPosition() { Fichier().EmpilerPosition(); }
void DepilerPosition() { (void)Fichier().DepilerPosition(); }
bool CreerRelationsParDefaut() { return Fichier().ContenuParDefaut(kCodeCreerParDefaut); }
int32_t InscrireFichier() { return Fichier().InscrireFichier(); }

bool CreerTableRelations(void*& Table, bool Unique) {
  const TypeDescriptionFichier& d = DescriptionFichier();
  Xi::Creer(Table, 0, static_cast<int32_t>(d.TailleEnregistrement), static_cast<int32_t>(d.Ordres.size()));
  if (Table == nullptr) return false;
  auto* tampon = static_cast<uint8_t*>(Table);
  bool ok = true;
  for (std::size_t o = 0; o < d.Ordres.size() && ok; ++o) {
    const auto numero = static_cast<int32_t>(o + 1);
    const bool unique = numero == kOrdreCoursGenre ? Unique : d.Ordres[o].Unique;
    ok = Xi::DefinirOrdre(Table, numero, static_cast<int32_t>(d.Ordres[o].Colonnes.size()), unique);
    for (std::size_t c = 0; c < d.Ordres[o].Colonnes.size() && ok; ++c) {
      const TypeColonneFichier& col = d.Ordres[o].Colonnes[c];
      ok = Xi::DefinirColonne(Table, numero, static_cast<int32_t>(c + 1), tampon + col.Decalage, col.Taille,
                              col.Comparaison);
    }
  }
  if (!ok) {
    Xi::Detruire(Table);
    Table = nullptr;
  }
  return ok;
}

// --- TParcoursRelationsCours

TParcoursRelationsCours::TParcoursRelationsCours() { (void)CreerTableRelations(table_, false); }

TParcoursRelationsCours::~TParcoursRelationsCours() { Xi::Detruire(table_); }

uint32_t TParcoursRelationsCours::Nombre() const { return table_ != nullptr ? Xi::Nombre(table_) : 0; }

void TParcoursRelationsCours::Copier(int32_t Ordre, uint32_t Ressource, uint32_t Cours) {
  if (table_ == nullptr || Table() == nullptr) return;
  const std::vector<uint32_t> numeros =
      Ordre == kOrdreCoursGenre ? DuCours(Cours) : RessourceDansCours(Ressource, Cours);
  auto* copie = static_cast<E*>(table_);
  for (uint32_t n : numeros) {
    E relation;
    if (!LireRelation(n, relation)) continue;
    std::memcpy(static_cast<void*>(copie), &relation, sizeof(E));
    copie->Identifiant = static_cast<int32_t>(n);
    if (Xi::Inserer(table_)) continue;
    // A unique private order holds an entry of that key already: the copy's weeks join it.
    if (Xi::XiStatut == Xi::kStatutDoublon && Xi::Trouver(table_, kOrdreCoursGenre)) {
      copie->Semaines = D::Union(copie->Semaines, relation.Semaines);
      (void)Xi::Modifier(table_);
    }
  }
}

void TParcoursRelationsCours::AjouterRelationsDuCours(uint32_t Cours) { Copier(kOrdreCoursGenre, 0, Cours); }

void TParcoursRelationsCours::AjouterRelationsRessourceCours(uint32_t Ressource, uint32_t Cours) {
  Copier(kOrdreRessourceCours, Ressource, Cours);
}

bool TParcoursRelationsCours::Parcourir(int32_t Ordre) {
  if (table_ == nullptr || Routine == nullptr) return false;
  struct Entree {
    uint32_t Relation, Ressource, Cours;
    TypeDomaineHebdomadaire Semaines;
  };
  std::vector<Entree> entrees;
  const auto* copie = static_cast<const E*>(table_);
  for (bool encore = Xi::Premier(table_, Ordre); encore; encore = Xi::Suivant(table_, Ordre))
    entrees.push_back({static_cast<uint32_t>(copie->Identifiant), copie->Ressource, copie->Cours, copie->Semaines});
  bool resultat = false;
  for (const Entree& e : entrees) {
    if (!SansFiltre && !D::SeRencontrent(e.Semaines, Filtre) && !(AvecSemainesVides && D::EstVide(e.Semaines)))
      continue;
    if (SauverRelation) EmpilerPosition();
    if (SauverRessource && TableRessources() != nullptr) SupRessource::EmpilerPosition();
    if (SauverCours && TableCours() != nullptr) SupCours::EmpilerPosition();
    bool atteinte = !AllerARelation || (Table() != nullptr && Xi::AllerA(Table(), e.Relation));
    if (atteinte && AllerARessource) atteinte = Xi::AllerA(TableRessources(), e.Ressource);
    if (atteinte && AllerACours) atteinte = Xi::AllerA(TableCours(), e.Cours);
    resultat = atteinte ? Routine(Donnee) : ValeurEchec;
    if (SauverCours && TableCours() != nullptr) SupCours::DepilerPosition();
    if (SauverRessource && TableRessources() != nullptr) SupRessource::DepilerPosition();
    if (SauverRelation) DepilerPosition();
    if (resultat) break;
  }
  return resultat;
}

// --- Requests

namespace {

// The working steps of a local creation; the positions are the caller's.
bool AjouterLocalement(uint32_t Cours, uint32_t Ressource, const TypeDomaineHebdomadaire& Semaines) {
  if (Table() == nullptr || TableCours() == nullptr || TableRessources() == nullptr) return false;
  ViderArticle();
  if (!Xi::AllerA(TableCours(), Cours) || !Xi::AllerA(TableRessources(), Ressource)) return false;
  const bool groupe = SupRessource::EstGroupeDeSalles();
  if (!groupe && !RessourceDansCours(Ressource, Cours).empty()) return false;
  const TypeEnregistrementCours* c = SupCours::Article();
  const TypeDomaineHebdomadaire semaines = c->SeancesMobiles != 0 ? Semaines : D::Intersection(Semaines, c->Semaines);
  if (D::EstVide(semaines)) return false;
  ViderArticle();
  E* e = Article();
  e->Cours = Cours;
  e->Ressource = Ressource;
  e->Genre = SupRessource::Article()->Genre;
  e->Semaines = semaines;
  if (!Xi::Inserer(Table())) return false;
  netmodif::NotifierModification(GM_Creation, Fichier().NumeroTable(), 0);
  MarquerBase();
  const uint32_t relation = Courant(Table());
  SupCours::ActualiserGroupesDeSalles(semaines, false);
  (void)Xi::AllerA(Table(), relation);
  return true;
}

}  // namespace

bool AjouterRessourceAuCours(uint32_t Cours, uint32_t Ressource, const TypeDomaineHebdomadaire& Semaines) {
  SupTraitement::TraitementEmpile code(kCodeAjouterRessource);
  if (TableCours() == nullptr || TableRessources() == nullptr) return false;
  TPositionSauvee cours(SupCours::Fichier()), ressource(SupRessource::Fichier());
  if (!NetClient::PasserParServeur()) return AjouterLocalement(Cours, Ressource, Semaines);
  const int32_t idCours = SupCours::Fichier().IdentifiantDe(Cours), idRessource = SupRessource::IdentifiantDe(Ressource);
  if (idCours == 0 || idRessource == 0) return false;
  uint8_t donnees[kTailleAjout] = {};
  std::memcpy(donnees, &idCours, 4);
  std::memcpy(donnees + 4, &idRessource, 4);
  std::memcpy(donnees + 8, Semaines.Octets.data(), 7);
  int32_t identifiant = 0;
  return NetClient::EnvoyerRequeteServeur(kCodeAjouterRessource, 0, kTailleAjout, donnees, false, &identifiant,
                                          sizeof identifiant) &&
         ChercherParIdentifiant(identifiant);
}

bool ModifierPresenceRessource(const TypeDomaineHebdomadaire& Semaines) {
  if (Table() == nullptr || !SupDroitFonctionnel::DroitModifierCours()) return false;
  TypeDomaineHebdomadaire semainesCours;
  bool mobile = false;
  if (!LireCours(Article()->Cours, semainesCours, mobile)) return false;
  SupTraitement::TraitementEmpile code(kCodeModifierPresence);
  if (NetClient::PasserParServeur()) {
    int32_t identifiant = 0;
    return NetClient::EnvoyerRequeteServeur(kCodeModifierPresence, Fichier().IdentifiantCourant(), 7,
                                            Semaines.Octets.data(), false, &identifiant, sizeof identifiant) &&
           ChercherParIdentifiant(identifiant);
  }
  if (!Revalider()) return false;
  if (mobile ? D::EstVide(Semaines) : !D::SeRencontrent(Semaines, semainesCours)) return SupprimerRelation(false);
  Article()->Semaines = mobile ? Semaines : D::Intersection(Semaines, semainesCours);
  if (!Xi::Modifier(Table())) return false;
  netmodif::NotifierModification(GM_Modification, Fichier().NumeroTable(), Fichier().IdentifiantCourant());
  MarquerBase();
  return true;
}

namespace {

bool SupprimerLocalement(bool AussiFractions) {
  if (!Revalider()) return false;
  const uint32_t relation = Courant(Table());
  const E e = *Article();
  TypeDomaineHebdomadaire semaines;
  bool mobile = false;
  uint8_t genre = 0;
  if (!LireCours(e.Cours, semaines, mobile, &genre)) {
    (void)SupprimerRelationCourante();
    MarquerBase();
    return true;
  }
  // A whole course needs the placement engine afterwards: without it nothing is deleted.
  if (genre == SupCours::kCoursEntier && !MoteurPlacement::Services().CalculerEtatCompactage)
    MoteurPlacement::CalculerEtatCompactage();
  if (genre == SupCours::kCoursEntier && AussiFractions) {
    const uint32_t rang = RangRelationDansCours();
    SupCours::EmpilerPosition();
    if (Xi::AllerA(TableCours(), e.Cours))
      (void)SupFractionnementCours::PourChaqueFractionDuCours(
          [&] {
            if (AllerARelationDansCours(Courant(TableCours()), e.Ressource, rang)) (void)SupprimerLocalement(false);
            return false;
          },
          false);
    SupCours::DepilerPosition();
  }
  // The fractions' deletions moved the table: back to the relation's own record.
  if (!Xi::AllerA(Table(), relation)) return false;
  (void)SupprimerRelationCourante();
  if (genre == SupCours::kCoursEntier) {
    SupCours::EmpilerPosition();
    if (Xi::AllerA(TableCours(), e.Cours)) {
      try {
        MoteurPlacement::CalculerEtatCompactage();
      } catch (...) {
        SupCours::DepilerPosition();
        throw;
      }
    }
    SupCours::DepilerPosition();
  }
  MarquerBase();
  return true;
}

}  // namespace

bool SupprimerRelation(bool AussiFractions) {
  if (Table() == nullptr) return false;
  SupTraitement::TraitementEmpile code(kCodeSupprimerRelation);
  SupMAJRessource::AjouterRessource(Article()->Ressource, APerimer());
  if (NetClient::PasserParServeur()) {
    const uint8_t aussi = AussiFractions;
    return NetClient::EnvoyerRequeteServeur(kCodeSupprimerRelation, Fichier().IdentifiantCourant(), 1, &aussi, false,
                                            nullptr);
  }
  return SupprimerLocalement(AussiFractions);
}

bool SupprimerRelationCourante() {
  netmodif::NotifierModification(GM_Suppression, Fichier().NumeroTable(), Fichier().IdentifiantCourant());
  (void)Xi::Supprimer(Table());
  return true;
}

bool SupprimerRelationParNumero(uint32_t Relation, bool AussiFractions) {
  if (Table() == nullptr || Relation == 0) return false;
  EmpilerPosition();
  bool resultat = false;
  try {
    resultat = Xi::AllerA(Table(), Relation) && SupprimerRelation(AussiFractions);
  } catch (...) {
    DepilerPosition();
    throw;
  }
  DepilerPosition();
  return resultat;
}

void SupprimerRelationsDeLEnsemble(const TypeEnsembleMemoire& Ensemble, bool AussiFractions) {
  const std::vector<uint32_t> relations(Ensemble.Elements, Ensemble.Elements + Ensemble.Nombre);
  for (uint32_t r : relations) (void)SupprimerRelationParNumero(r, AussiFractions);
}

bool SupprimerRessourcesDuCours(bool AussiFractions) {
  if (Table() == nullptr || TableCours() == nullptr) return false;
  SupTraitement::TraitementEmpile code(kCodeSupprimerRessourcesDuCours);
  const uint32_t cours = Courant(TableCours());
  if (cours == 0) return false;
  if (NetClient::PasserParServeur()) {
    const uint8_t aussi = AussiFractions;
    return NetClient::EnvoyerRequeteServeur(kCodeSupprimerRessourcesDuCours, SupCours::Fichier().IdentifiantCourant(),
                                            1, &aussi, false, nullptr);
  }
  EmpilerPosition();
  const std::vector<uint32_t> relations = DuCours(cours);
  DepilerPosition();
  for (uint32_t r : relations) (void)SupprimerRelationParNumero(r, AussiFractions);
  return true;
}

bool RetirerRessourceDuCours(uint32_t Cours, uint32_t Ressource, const TypeDomaineHebdomadaire& Semaines) {
  SupTraitement::TraitementEmpile code(kCodeRetirerRessource);
  if (Table() == nullptr || TableCours() == nullptr || TableRessources() == nullptr) return false;
  const int32_t idCours = SupCours::Fichier().IdentifiantDe(Cours), idRessource = SupRessource::IdentifiantDe(Ressource);
  if (NetClient::PasserParServeur()) {
    if (idCours == 0 || idRessource == 0) return false;
    uint8_t donnees[kTailleRetrait] = {};
    std::memcpy(donnees, &idCours, 4);
    std::memcpy(donnees + 4, &idRessource, 4);
    std::memcpy(donnees + 8, Semaines.Octets.data(), 7);
    std::memcpy(donnees + 15, SupDomaine::PeriodeDeTravail().Octets.data(), 7);
    return NetClient::EnvoyerRequeteServeur(kCodeRetirerRessource, 0, kTailleRetrait, donnees, false, nullptr);
  }
  if (!SupCours::Fichier().Existe(Cours) || !SupRessource::RessourceExiste(Ressource)) return false;
  const TypeDomaineHebdomadaire retrait = D::Intersection(Semaines, SupDomaine::PeriodeDeTravail());
  bool change = false;
  EmpilerPosition();
  try {
    for (uint32_t r : RessourceDansCours(Ressource, Cours)) {
      if (!Xi::AllerA(Table(), r) || !D::SeRencontrent(Article()->Semaines, retrait)) continue;
      const TypeDomaineHebdomadaire reste = D::Difference(Article()->Semaines, retrait);
      if (D::EstVide(reste)) {
        change = SupprimerRelation(false) || change;
        continue;
      }
      Article()->Semaines = reste;
      if (!Xi::Modifier(Table())) continue;
      netmodif::NotifierModification(GM_Modification, Fichier().NumeroTable(), Fichier().IdentifiantCourant());
      SupMAJRessource::AjouterRessource(Ressource, APerimer());
      change = true;
    }
  } catch (...) {
    DepilerPosition();
    throw;
  }
  DepilerPosition();
  if (change) MarquerBase();
  return change;
}

bool RetirerRessourceCourante(const TypeDomaineHebdomadaire& Semaines) {
  return RetirerRessourceDuCours(Courant(TableCours()), Courant(TableRessources()), Semaines);
}

bool DupliquerRessourcesDuCours(uint32_t Source, uint32_t Cible, const TypeDomaineHebdomadaire& Semaines,
                                bool SansSallesInaccessibles) {
  SupTraitement::TraitementEmpile code(kCodeDupliquer);
  if (Table() == nullptr || TableCours() == nullptr) return false;
  TPositionSauvee cours(SupCours::Fichier());
  if (NetClient::PasserParServeur()) {
    const int32_t idSource = SupCours::Fichier().IdentifiantDe(Source), idCible = SupCours::Fichier().IdentifiantDe(Cible);
    if (idSource == 0 || idCible == 0) return false;
    uint8_t donnees[kTailleDuplication] = {};
    std::memcpy(donnees, &idSource, 4);
    std::memcpy(donnees + 4, &idCible, 4);
    std::memcpy(donnees + 8, Semaines.Octets.data(), 7);
    donnees[15] = SansSallesInaccessibles;
    return NetClient::EnvoyerRequeteServeur(kCodeDupliquer, 0, kTailleDuplication, donnees, false, nullptr);
  }
  if (!SupCours::Fichier().Existe(Source) || !SupCours::Fichier().Existe(Cible)) return false;
  EmpilerPosition();
  try {
    std::vector<uint32_t> reprises = DuCours(Cible);
    const std::vector<uint32_t> sources = DuCours(Source);
    for (uint32_t s : sources) {
      E source;
      if (!LireRelation(s, source)) continue;
      if (SansSallesInaccessibles && source.Genre == SupRessource::kSalle &&
          SupDroitFonctionnel::RessourceInaccessible(source.Ressource))
        continue;
      const TypeDomaineHebdomadaire w = D::Intersection(source.Semaines, Semaines);
      if (D::EstVide(w)) continue;
      if (reprises.empty()) {
        (void)AjouterRessourceAuCours(Cible, source.Ressource, w);
        continue;
      }
      const uint32_t r = reprises.front();
      reprises.erase(reprises.begin());
      if (!Xi::AllerA(Table(), r)) continue;
      E* e = Article();
      const int32_t identifiant = e->Identifiant;
      std::memcpy(static_cast<void*>(e), &source, sizeof(E));
      e->Identifiant = identifiant;
      e->Cours = Cible;
      if (!Xi::Modifier(Table())) continue;
      netmodif::NotifierModification(GM_Modification, Fichier().NumeroTable(), identifiant);
      SupMAJRessource::AjouterRessource(source.Ressource, APerimer());
      (void)ModifierPresenceRessource(w);
    }
    for (uint32_t r : reprises) (void)SupprimerRelationParNumero(r, true);
  } catch (...) {
    DepilerPosition();
    throw;
  }
  DepilerPosition();
  MarquerBase();
  return true;
}

void ActualiserPresencesDuCours() {
  if (Table() == nullptr || TableCours() == nullptr || SupCours::Article() == nullptr) return;
  const uint32_t cours = Courant(TableCours());
  if (cours == 0) return;
  const TypeDomaineHebdomadaire semainesCours = SupCours::Article()->Semaines;
  EmpilerPosition();
  try {
    for (uint32_t r : DuCours(cours)) {
      if (!Xi::AllerA(Table(), r) || D::EstInclus(Article()->Semaines, semainesCours)) continue;
      if (D::SeRencontrent(Article()->Semaines, semainesCours))
        (void)ModifierPresenceRessource(D::Intersection(Article()->Semaines, semainesCours));
      else
        (void)SupprimerRelationCourante();
    }
  } catch (...) {
    DepilerPosition();
    throw;
  }
  DepilerPosition();
}

// --- Walks and reads

bool PourChaqueRelationDuCours(uint32_t Cours, TypeRoutineRelation Routine, intptr_t Donnee, bool SauverPosition) {
  TParcoursRelationsCours parcours;
  parcours.AjouterRelationsDuCours(Cours);
  parcours.SauverRelation = SauverPosition;
  parcours.Routine = Routine;
  parcours.Donnee = Donnee;
  return parcours.Parcourir(kOrdreCoursGenre);
}

bool PourChaqueRessourceDuCoursCourant(TypeRoutineRelation Routine, intptr_t Donnee, bool SauverPosition) {
  const uint32_t cours = Courant(TableCours());
  return cours != 0 && PourChaqueRelationDuCours(cours, Routine, Donnee, SauverPosition);
}

bool PourChaqueRelationRessourceCours(uint32_t Ressource, uint32_t Cours, TypeRoutineRelation Routine,
                                      bool SauverPosition, intptr_t Donnee) {
  TParcoursRelationsCours parcours;
  parcours.AjouterRelationsRessourceCours(Ressource, Cours);
  parcours.SauverRelation = SauverPosition;
  parcours.Routine = Routine;
  parcours.Donnee = Donnee;
  // The copies' identifier field holds the record number: order 3 is record-number order.
  return parcours.Parcourir(kOrdreIdentifiant);
}

bool PourChaqueRelationDeLaRessourceCourante(uint32_t Cours, TypeRoutineRelation Routine, intptr_t Donnee,
                                             bool SauverPosition) {
  const uint32_t ressource = Courant(TableRessources());
  return ressource != 0 && PourChaqueRelationRessourceCours(ressource, Cours, Routine, SauverPosition, Donnee);
}

uint32_t NombreOccurrencesRessourceDansCours(uint32_t Cours, uint32_t Ressource) {
  return static_cast<uint32_t>(RessourceDansCours(Ressource, Cours).size());
}

void RelationsRessourceCours(uint32_t Ressource, uint32_t Cours, TypeEnsembleMemoire& Ensemble) {
  for (uint32_t r : RessourceDansCours(Ressource, Cours)) (void)Memoire::Inserer(r, Ensemble);
}

bool AllerARelationDansCours(uint32_t Cours, uint32_t Ressource, uint32_t Rang) {
  if (Rang == 0) return false;
  const std::vector<uint32_t> relations = RessourceDansCours(Ressource, Cours);
  return Rang <= relations.size() && Xi::AllerA(Table(), relations[Rang - 1]);
}

uint32_t RangRelationDansCours() {
  const uint32_t relation = Courant(Table());
  if (relation == 0 || !Revalider()) return 0;
  const std::vector<uint32_t> relations = RessourceDansCours(Article()->Ressource, Article()->Cours);
  const auto p = std::find(relations.begin(), relations.end(), relation);
  return p == relations.end() ? 0 : static_cast<uint32_t>(p - relations.begin() + 1);
}

bool AllerARelationHomologueDansCours(uint32_t Cours) {
  const uint32_t rang = RangRelationDansCours();
  return rang != 0 && AllerARelationDansCours(Cours, Article()->Ressource, rang);
}

bool AllerARelationHomologue() { return AllerARelationHomologueDansCours(Courant(TableCours())); }

bool RessourcePresenteDansCours(uint32_t Cours, const TypeDomaineHebdomadaire& Semaines) {
  const TypeEnregistrementRessource* r = SupRessource::Article();
  if (Table() == nullptr || r == nullptr || r->Genre == SupRessource::kGroupement) return false;
  TypeDomaineHebdomadaire semaines, effectives;
  bool mobile = false;
  if (!LireCours(Cours, semaines, mobile, nullptr, &effectives)) return false;
  const TypeDomaineHebdomadaire w = D::Intersection(Semaines, effectives);
  if (D::EstVide(w)) return false;
  for (uint32_t n : RessourceDansCours(Courant(TableRessources()), Cours)) {
    E relation;
    if (LireRelation(n, relation) && D::SeRencontrent(relation.Semaines, w)) return true;
  }
  return false;
}

bool RessourceCouranteDansCoursCourant() {
  const TypeEnregistrementRessource* r = SupRessource::Article();
  const TypeEnregistrementCours* c = SupCours::Article();
  if (Table() == nullptr || r == nullptr || c == nullptr || r->Genre == SupRessource::kGroupement) return false;
  const bool mobile = c->SeancesMobiles != 0;
  const TypeDomaineHebdomadaire semaines = c->Semaines;
  for (uint32_t n : RessourceDansCours(Courant(TableRessources()), Courant(TableCours()))) {
    E relation;
    if (LireRelation(n, relation) && (mobile || D::SeRencontrent(relation.Semaines, semaines))) return true;
  }
  return false;
}

namespace {
// The distinct resources of the course's relations that Garder keeps.
template <typename Filtre>
uint32_t RessourcesDistinctes(uint32_t Cours, Filtre Garder) {
  if (Table() == nullptr) return 0;
  EmpilerPosition();
  std::vector<uint32_t> ressources;
  for (uint32_t n : DuCours(Cours))
    if (Xi::AllerA(Table(), n) && Garder(*Article())) ressources.push_back(Article()->Ressource);
  DepilerPosition();
  std::sort(ressources.begin(), ressources.end());
  return static_cast<uint32_t>(std::unique(ressources.begin(), ressources.end()) - ressources.begin());
}
}  // namespace

uint32_t NombreClassesDuCours(uint32_t Cours) {
  return RessourcesDistinctes(Cours, [](const E& e) {
    return e.Genre == SupRessource::kDiplome || e.Genre == SupRessource::kTD || e.Genre == SupRessource::kOption;
  });
}

uint32_t NombreRessourcesDuCours() {
  const TypeEnregistrementCours* c = SupCours::Article();
  if (c == nullptr) return 0;
  const bool mobile = c->SeancesMobiles != 0;
  const TypeDomaineHebdomadaire semaines = c->Semaines;
  return RessourcesDistinctes(Courant(TableCours()), [mobile, &semaines](const E& e) {
    return e.Genre != SupRessource::kGroupement && (mobile || D::SeRencontrent(e.Semaines, semaines));
  });
}

void OccupationsSalleParSemaine(uint32_t Salle, std::array<uint32_t, 52>& Occupations) {
  Occupations.fill(0);
  const uint32_t cours = Courant(TableCours());
  if (Table() == nullptr || cours == 0) return;
  const uint32_t groupe = SupRelationRessource::GroupeDeSallesDeLaSalle(Salle);
  EmpilerPosition();
  for (uint32_t n : DuCours(cours)) {
    if (!Xi::AllerA(Table(), n)) continue;
    const E& e = *Article();
    if (e.Genre != SupRessource::kSalle || (e.Ressource != Salle && (groupe == 0 || e.Ressource != groupe))) continue;
    for (int w = 1; w <= 52; ++w)
      if (e.Semaines.Contient(w)) ++Occupations[static_cast<std::size_t>(w - 1)];
  }
  DepilerPosition();
}

bool AjouterRessourcesDuCours(TypeEnsembleMemoire& Ensemble) {
  const uint32_t cours = Courant(TableCours());
  if (Table() == nullptr || cours == 0) return false;
  EmpilerPosition();
  for (uint32_t n : DuCours(cours))
    if (Xi::AllerA(Table(), n)) (void)Memoire::Inserer(Article()->Ressource, Ensemble);
  DepilerPosition();
  return false;
}

}  // namespace SupRelationCours
