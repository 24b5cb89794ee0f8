#include "base/ressources/FichierLibelle.h"

#include <cstring>

#include "base/EcrGlobale.h"
#include "base/SupTraitement.h"
#include "base/fichiers/DeclarationFichier.h"
#include "base/ressources/SupRessource.h"
#include "core/records/Xi.h"
#include "net/NetClient.h"
#include "net/netmodif.h"

namespace {

using E = TypeEnregistrementLibelle;

// The stored label: the resource's identifier at 0, the label at 4 (74 bytes), 2 unused.
constexpr int32_t kStockeRessource = 0, kStockeLibelle = 4;

bool Lire(TFichierSup& f, const uint8_t* s, TypeGenreModif) {
  int32_t identifiant;
  std::memcpy(&identifiant, s + kStockeRessource, 4);
  // A label whose resource does not exist is refused.
  const uint32_t ressource = SupRessource::Fichier().NumeroDeIdentifiant(identifiant);
  if (ressource == 0) return false;
  E* e = reinterpret_cast<E*>(f.Enregistrement());
  e->Ressource = ressource;
  FichierSup::CopierChaineCourte(e->Libelle, TFichierLibelle::kCapacite, s + kStockeLibelle, TFichierLibelle::kCapacite);
  return true;
}

bool Ecrire(TFichierSup& f, uint8_t* s) {
  const E* e = reinterpret_cast<const E*>(f.Enregistrement());
  const int32_t identifiant = SupRessource::IdentifiantDe(e->Ressource);
  std::memcpy(s + kStockeRessource, &identifiant, 4);
  FichierSup::CopierChaineCourte(s + kStockeLibelle, TFichierLibelle::kCapacite, e->Libelle, TFichierLibelle::kCapacite);
  return true;
}

void MarquerBase() { EcrGlobale::MarquerBaseModifiee(EcrGlobale::FicheGlobales()); }

}  // namespace

namespace FichierLibelle {

TypeDescriptionFichier Decrire(const TypeDescriptionLibelle& Libelle) {
  using namespace Champ;
  return DeclarationFichier::Decrire({Libelle.Unite, Libelle.Extension, Libelle.CodeTable, Libelle.Place,
                                      TFichierLibelle::kTailleStockee, false,
                                      {Identifiant(), Reference("Ressource", SupRessource::kPlace, kStockeRessource),
                                       Chaine("Libelle", TFichierLibelle::kCapacite, kStockeLibelle)},
                                      {{true, {"Ressource"}}, {false, {"Identifiant"}}},
                                      &Lire,
                                      &Ecrire});
}

}  // namespace FichierLibelle

TFichierLibelle::TFichierLibelle(const TypeDescriptionFichier& Description, const TypeDescriptionLibelle& Libelle)
    : TFichierSup(Description, Libelle.ContenuParDefaut), libelle_(Libelle) {}

bool TFichierLibelle::CreerLibellesParDefaut() { return ContenuParDefaut(libelle_.CodeParDefaut); }

bool TFichierLibelle::RessourceAccessible(uint32_t Ressource) const {
  void* ressources = SupRessource::Fichier().Table;
  return ressources != nullptr && Xi::AllerA(ressources, Ressource) &&
         libelle_.Droit(SupRessource::Article()->Genre);
}

bool TFichierLibelle::AffecterLibelle(uint32_t Ressource, const std::string& Libelle) {
  const std::string libelle = Libelle.substr(0, kCapacite);
  SupRessource::EmpilerPosition();
  // The right is the one of the resource labelled, whatever resource was current.
  if (!RessourceAccessible(Ressource)) {
    SupRessource::DepilerPosition();
    return false;
  }
  SupTraitement::TraitementEmpile code(libelle_.CodeAffecter);
  bool resultat = false;
  if (NetClient::PasserParServeur()) {
    uint8_t donnees[kTailleAffectation] = {};
    FichierSup::EcrireChaineCourte(donnees, kCapacite, libelle);
    const int32_t identifiant = SupRessource::Article()->Identifiant;
    std::memcpy(donnees + kDecalageRessource, &identifiant, 4);
    resultat = NetClient::EnvoyerRequeteServeur(libelle_.CodeAffecter, 0, kTailleAffectation, donnees, false, nullptr);
  } else if (Table != nullptr) {
    E* e = Article();
    std::memset(e, 0, sizeof(E));
    e->Ressource = Ressource;
    FichierSup::EcrireChaineCourte(e->Libelle, kCapacite, libelle);
    if (Xi::Inserer(Table)) {
      netmodif::NotifierModification(GM_Creation, NumeroTable(), 0);
      MarquerBase();
      resultat = true;
    } else if (Xi::XiStatut == Xi::kStatutDoublon && Xi::Trouver(Table, kOrdreRessource)) {
      // The resource has a label already: it takes the new text.
      FichierSup::EcrireChaineCourte(Article()->Libelle, kCapacite, libelle);
      if (Xi::Modifier(Table)) {
        netmodif::NotifierModification(GM_Modification, NumeroTable(), IdentifiantCourant());
        MarquerBase();
        resultat = true;
      }
    }
  }
  SupRessource::DepilerPosition();
  return resultat;
}

bool TFichierLibelle::SupprimerLibelle(uint32_t Ressource) {
  SupRessource::EmpilerPosition();
  if (!RessourceAccessible(Ressource)) {
    SupRessource::DepilerPosition();
    return false;
  }
  SupTraitement::TraitementEmpile code(libelle_.CodeSupprimer);
  bool resultat = false;
  if (NetClient::PasserParServeur()) {
    resultat = NetClient::EnvoyerRequeteServeur(libelle_.CodeSupprimer, SupRessource::Article()->Identifiant, 0,
                                                nullptr, false, nullptr);
  } else if (Table != nullptr) {
    Article()->Ressource = Ressource;
    if (Xi::Trouver(Table, kOrdreRessource)) {
      netmodif::NotifierModification(GM_Suppression, NumeroTable(), IdentifiantCourant());
      resultat = Xi::Supprimer(Table);
      if (resultat) MarquerBase();
    }
  }
  SupRessource::DepilerPosition();
  return resultat;
}

bool TFichierLibelle::ChercherLibelleDeLaRessourceCourante() {
  void* ressources = SupRessource::Fichier().Table;
  if (Table == nullptr || ressources == nullptr) return false;
  Article()->Ressource = Xi::NumeroCourant(ressources);
  return Article()->Ressource != 0 && Xi::Trouver(Table, kOrdreRessource);
}

std::string TFichierLibelle::LibelleDeLaRessource() {
  if (Table == nullptr) return {};
  EmpilerPosition();
  std::string libelle;
  if (ChercherLibelleDeLaRessourceCourante()) libelle = FichierSup::LireChaineCourte(Article()->Libelle, kCapacite);
  (void)DepilerPosition();
  return libelle;
}
