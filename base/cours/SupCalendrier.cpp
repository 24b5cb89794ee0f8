#include "base/cours/SupCalendrier.h"

#include <cstring>

#include "base/EcrGlobale.h"
#include "base/SupTraitement.h"
#include "base/ValeursUtilisateur.h"
#include "base/fichiers/DeclarationFichier.h"
#include "base/matieres/SupRelationApportPeriode.h"
#include "core/records/Comparai.h"
#include "core/records/Xi.h"
#include "net/NetClient.h"
#include "net/netmodif.h"

namespace SupCalendrier {

namespace {

using E = TypeEnregistrementCalendrier;

constexpr int64_t SemainesDe(int32_t Premiere, int32_t Derniere) {
  return static_cast<int64_t>(((uint64_t{1} << (Derniere + 1)) - 1) & ~((uint64_t{1} << Premiere) - 1));
}

using namespace Champ;
const TypeDescriptionFichier& DescriptionFichier() {
  static const TypeDescriptionFichier d = DeclarationFichier::Decrire(TypeDeclarationFichier{
      "SupCalendrier", ".CAL", 0x08, kPlace, kTailleStockee, false,
      {Identifiant(), Chaine("Libelle", 10, 0), Semaines("SemainesAnnee", 11).Vaut(SemainesDe(1, 52)),
       Semaines("SemainesPeriode1", 18).Vaut(SemainesDe(1, 13)), Semaines("SemainesPeriode2", 25).Vaut(SemainesDe(14, 26)),
       Semaines("SemainesPeriode3", 32).Vaut(SemainesDe(27, 39)), Semaines("SemainesPeriode4", 39).Vaut(SemainesDe(40, 52)),
       Octets("ZonePortee", 64, 46), Octet("OctetPorte", 110)},
      {{true, {{"Libelle", &Comparai::ComparerChaineCourte}}}, {false, {{"Identifiant", &Comparai::ComparerEntierBis}}}}});
  return d;
}

// The record number of the calendar a received deletion names, kept between the two routines.
uint32_t& CalendrierSupprime() {
  static uint32_t numero = 0;
  return numero;
}

class TFichierCalendriers final : public TFichierSup {
 public:
  TFichierCalendriers() : TFichierSup(DescriptionFichier(), &SupCalendrier::ContenuParDefaut) {
    AvantOrdre = [](uint8_t*, void* Table, int32_t, TypeGenreModif Genre) {
      CalendrierSupprime() = Genre == GM_Suppression ? Xi::NumeroCourant(Table) : 0;
    };
    // After a received deletion the freed record number is left nowhere: not as the remembered
    // calendar, not in the subject contribution relations.
    ApresOrdre = [](uint8_t*, void*, int32_t, TypeGenreModif Genre) {
      const uint32_t supprime = CalendrierSupprime();
      CalendrierSupprime() = 0;
      if (Genre != GM_Suppression || !NetClient::OrdreApplique()) return;
      uint32_t& retenu = ValeursUtilisateur::Valeurs().Calendrier;
      if (retenu != 0 && !Fichier().Existe(retenu)) retenu = 0;
      if (supprime != 0) (void)SupRelationApportPeriode::EffacerCalendrierDesRelations(supprime);
    };
  }
};

}  // namespace

TFichierSup& Fichier() {
  static TFichierCalendriers fichier;
  return fichier;
}

E* Article() { return reinterpret_cast<E*>(Fichier().Enregistrement()); }

void ViderArticle() { Fichier().ViderArticle(); }
bool CreerTable() { return Fichier().CreerTable(); }
void LibererTable() { Fichier().LibererTable(); }
bool ChercherParIdentifiant(int32_t Identifiant) { return Fichier().ChercherParIdentifiant(Identifiant); }
void EmpilerPosition() { Fichier().EmpilerPosition(); }
void DepilerPosition() { (void)Fichier().DepilerPosition(); }
int32_t InscrireFichier() { return Fichier().InscrireFichier(); }

bool CreerCalendriersParDefaut() {
  return Fichier().ContenuParDefaut(kCodeCreerParDefaut, [] { (void)CreerCalendrier("", 0); });
}

bool ContenuParDefaut() { return CreerCalendriersParDefaut(); }

bool CreerCalendrier(const std::string& Libelle, uint32_t Modele) {
  TFichierSup& f = Fichier();
  if (f.Table == nullptr) return false;
  SupTraitement::TraitementEmpile code(kCodeCreerCalendrier);
  const std::string libelle = Libelle.substr(0, 10);
  if (NetClient::PasserParServeur()) {
    const int32_t modele = Modele == 0 ? 0 : f.IdentifiantDe(Modele);
    if (Modele != 0 && modele == 0) return false;
    uint8_t donnees[11] = {};
    FichierSup::EcrireChaineCourte(donnees, 10, libelle);
    const uint32_t precedent = Xi::NumeroCourant(f.Table);
    int32_t identifiant = 0;
    if (NetClient::EnvoyerRequeteServeur(kCodeCreerCalendrier, modele, sizeof donnees, donnees, false, &identifiant,
                                         sizeof identifiant) &&
        ChercherParIdentifiant(identifiant))
      return true;
    (void)Xi::AllerA(f.Table, precedent);
    return false;
  }
  if (Modele == 0) {
    ViderArticle();
  } else if (!Xi::AllerA(f.Table, Modele)) {
    return false;
  }
  // The copy is a record of its own: the model's identifier would name two calendars.
  Article()->Identifiant = 0;
  FichierSup::EcrireChaineCourte(Article()->Libelle, 10, libelle);
  return f.InsererLocalement();
}

}  // namespace SupCalendrier
