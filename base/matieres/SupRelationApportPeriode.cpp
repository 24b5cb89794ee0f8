#include "base/matieres/SupRelationApportPeriode.h"

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include "base/EcrGlobale.h"
#include "base/SupFichiers.h"
#include "base/SupTraitement.h"
#include "base/fichiers/DeclarationFichier.h"
#include "base/fichiers/SupTypologieCours.h"
#include "base/matieres/SupApportMatiere.h"
#include "base/ressources/SupRessource.h"
#include "core/objects/Erreur.h"
#include "core/records/Xi.h"
#include "net/NetClient.h"
#include "net/netmodif.h"

NV_DEFINE_CLASS(TVerificateurRelationApportPeriode, TVerificateurNetXi)

namespace SupRelationApportPeriode {

namespace {

using E = TypeEnregistrementRelationApportPeriode;
using CodeEmpile = SupTraitement::TraitementEmpile;

constexpr int32_t kCAL = 3;  // calendars, in the base order

void* Table() { return Fichier().Table; }
void MarquerBase() { EcrGlobale::MarquerBaseModifiee(EcrGlobale::FicheGlobales()); }

// The field table's layout; without a calendar there is no period.
bool Lire(TFichierSup& f, const uint8_t* s, TypeGenreModif Genre) {
  if (!DeclarationFichier::LireChamps(f, s, Genre)) return false;
  if (Article()->Calendrier == 0) Article()->Periode = 0;
  return true;
}

using namespace Champ;
const TypeDescriptionFichier& DescriptionFichier() {
  static const TypeDescriptionFichier d = DeclarationFichier::Decrire({
      "SupRelationApportPeriode", ".RAP", 0x36, kPlace, kTailleStockee, true,
      {Identifiant(), Reference("Classe", SupRessource::kPlace, 0), Reference("Apport", SupApportMatiere::kPlace, 4),
       Reference("Calendrier", kCAL, 8, TypeSiAbsente::AucuneSiZero), Cardinal("Periode", 12), Booleen("Coche", 16)},
      {{false, {"Identifiant"}}, {true, {"Classe", "Apport"}}, {false, {"Classe"}}, {false, {"Apport"}},
       {false, {"Calendrier"}}},
      &Lire});
  return d;
}

class TFichierRelations final : public TFichierSup {
 public:
  TFichierRelations() : TFichierSup(DescriptionFichier(), &SupRelationApportPeriode::ContenuParDefaut) {}

 protected:
  TVerificateurNetXi* CreerVerificateur(int32_t NumeroTable) override {
    return new TVerificateurRelationApportPeriode(NumeroTable);
  }
};

// The relations whose field Champ (the only column of `Ordre`) holds Valeur; none for 0.
std::vector<uint32_t> RelationsOu(int32_t Ordre, uint32_t E::*Champ, uint32_t Valeur) {
  if (Table() == nullptr || Valeur == 0) return {};
  E* e = Article();
  e->*Champ = Valeur;
  return Fichier().NumerosDepuisCle(Ordre, [=] { return e->*Champ == Valeur; });
}

// Sends a deletion of every relation of a class or a contribution, or deletes them here one by one.
bool SupprimerRelationsOu(uint32_t Code, int32_t Identifiant, int32_t Ordre, uint32_t E::*Champ, uint32_t Valeur) {
  if (Table() == nullptr) return false;
  CodeEmpile code(Code);
  if (NetClient::PasserParServeur())
    return NetClient::EnvoyerRequeteServeur(Code, 0, sizeof Identifiant, &Identifiant, false, nullptr);
  (void)Fichier().Visiter(RelationsOu(Ordre, Champ, Valeur), [] {
    (void)SupprimerRelation();
    return 0;
  });
  return true;
}

// Locally: a new relation, or the checked mark of the pair's relation.
bool CreerLocalement(uint32_t Classe, uint32_t Apport, bool Coche) {
  ViderArticle();
  E* e = Article();
  e->Classe = Classe;
  e->Apport = Apport;
  e->Coche = Coche;
  bool fait = false;
  if (Xi::Inserer(Table())) {
    netmodif::NotifierModification(GM_Creation, Fichier().NumeroTable(), 0);
    fait = true;
  } else if (Xi::XiStatut == Xi::kStatutDoublon && Xi::Trouver(Table(), kOrdreClasseApport)) {
    Article()->Coche = Coche;
    fait = Xi::Modifier(Table());
    if (fait) netmodif::NotifierModification(GM_Modification, Fichier().NumeroTable(), Fichier().IdentifiantCourant());
  }
  MarquerBase();
  return fait;
}

}  // namespace

TFichierSup& Fichier() {
  static TFichierRelations fichier;
  return fichier;
}

E* Article() { return reinterpret_cast<E*>(Fichier().Enregistrement()); }

// --- Housekeeping

void ViderArticle() { Fichier().ViderArticle(); }
bool CreerTable() { return Fichier().CreerTable(); }
void LibererTable() { Fichier().LibererTable(); }
void EmpilerPosition() { Fichier().EmpilerPosition(); }
void DepilerPosition() { (void)Fichier().DepilerPosition(); }
bool ChercherParIdentifiant(int32_t Identifiant) { return Fichier().ChercherParIdentifiant(Identifiant); }
int32_t InscrireFichier() { return Fichier().InscrireFichier(); }
bool ContenuParDefaut() { return CreerRelationsApportPeriodeParDefaut(); }
bool CreerRelationsApportPeriodeParDefaut() { return Fichier().ContenuParDefaut(kCodeCreerParDefaut); }

// --- Requests

bool CreerRelationCochee(uint32_t Classe, uint32_t Apport, bool Coche) {
  if (Table() == nullptr) return false;
  CodeEmpile code(kCodeCreerCochee);
  // Both must exist, through the server as here: a relation to nothing would be dropped at the next load.
  if (!SupRessource::Fichier().Existe(Classe) || !SupApportMatiere::Fichier().Existe(Apport)) return false;
  if (!NetClient::PasserParServeur()) return CreerLocalement(Classe, Apport, Coche);
  const int32_t classe = SupRessource::IdentifiantDe(Classe);
  const int32_t apport = SupApportMatiere::Fichier().IdentifiantDe(Apport);
  uint8_t donnees[kTailleStockee] = {};
  std::memcpy(donnees, &classe, 4);
  std::memcpy(donnees + 4, &apport, 4);
  donnees[16] = Coche ? 1 : 0;
  int32_t identifiant = 0;
  if (!NetClient::EnvoyerRequeteServeur(kCodeCreerCochee, 0, kTailleStockee, donnees, false, &identifiant,
                                        sizeof identifiant))
    return false;
  (void)ChercherParIdentifiant(identifiant);
  return true;
}

bool SupprimerRelation() { return Fichier().Supprimer(kCodeSupprimer); }

bool SupprimerRelationsDeLaClasse(uint32_t Classe) {
  return SupprimerRelationsOu(kCodeSupprimerDeLaClasse, SupRessource::IdentifiantDe(Classe), kOrdreClasse, &E::Classe,
                              Classe);
}

bool SupprimerRelationsDeLApport(uint32_t Apport) {
  const int32_t identifiant = Apport == 0 ? 0 : SupApportMatiere::Fichier().IdentifiantDe(Apport);
  return SupprimerRelationsOu(kCodeSupprimerDeLApport, identifiant, kOrdreApport, &E::Apport, Apport);
}

int32_t SupprimerRelationsDeLApportCourant() {
  TFichierSup& apports = SupApportMatiere::Fichier();
  if (apports.Table != nullptr) (void)SupprimerRelationsDeLApport(Xi::NumeroCourant(apports.Table));
  return 0;
}

bool EffacerCalendrier() {
  if (Table() == nullptr) return false;
  Article()->Calendrier = 0;
  Article()->Periode = 0;
  if (!Xi::Modifier(Table())) return false;
  MarquerBase();
  return true;
}

uint32_t EffacerCalendrierDesRelations(uint32_t Calendrier) {
  uint32_t effacees = 0;
  (void)Fichier().Visiter(RelationsOu(kOrdreCalendrier, &E::Calendrier, Calendrier), [&effacees] {
    if (EffacerCalendrier()) ++effacees;
    return 0;
  });
  return effacees;
}

// --- Reads

int32_t PourChaqueRelationDeLaClasseCourante(const std::function<int32_t()>& Routine) {
  void* ressources = SupRessource::Fichier().Table;
  if (ressources == nullptr) return 0;
  return Fichier().Visiter(RelationsOu(kOrdreClasse, &E::Classe, Xi::NumeroCourant(ressources)), Routine);
}

int32_t PourChaqueRelationDeLApportCourant(const std::function<int32_t()>& Routine) {
  void* apports = SupApportMatiere::Fichier().Table;
  if (apports == nullptr) return 0;
  return Fichier().Visiter(RelationsOu(kOrdreApport, &E::Apport, Xi::NumeroCourant(apports)), Routine);
}

}  // namespace SupRelationApportPeriode

bool TVerificateurRelationApportPeriode::VerifierArticle(TErreur*& Erreur) {
  using namespace SupRelationApportPeriode;
  Erreur = nullptr;
  const TypeEnregistrementRelationApportPeriode* e = Article();
  bool sain = e != nullptr;
  uint8_t genre = SupRessource::kGenreAucun;
  if (sain) {
    genre = SupRessource::GenreDeLaRessource(e->Classe);
    sain = (genre == SupRessource::kDiplome || genre == SupRessource::kTD || genre == SupRessource::kOption) &&
           SupApportMatiere::Fichier().Existe(e->Apport) &&
           (e->Calendrier == 0 || SupFichiers::Fichier(kCAL)->Existe(e->Calendrier));
  }
  if (sain && e->Coche) {
    const uint32_t typologie =
        SupApportMatiere::Fichier().ValeurDe(e->Apport, offsetof(TypeEnregistrementApportMatiere, Typologie));
    const uint8_t structure = SupTypologieCours::StructureTypologie(typologie);
    sain = (genre == SupRessource::kOption && structure == 3) || (genre == SupRessource::kTD && structure == 2);
  }
  if (sain) return true;
  Erreur = new TErreur("Erreur sur la RelationApportPeriode numero = " + std::to_string(Xi::NumeroCourant(Fichier().Table)));
  return false;
}
