#include "base/sites/SupSite.h"

#include <cstddef>

#include "base/CompteursNumeros.h"
#include "base/fichiers/DeclarationFichier.h"
#include "core/records/Xi.h"
#include "objectdb/Traduction.h"

namespace SupSite {

namespace {

using E = TypeEnregistrementSite;

// Loading raises the site counter to the largest number read.
bool Lire(TFichierSup& f, const uint8_t* s, TypeGenreModif Genre) {
  if (!DeclarationFichier::LireChamps(f, s, Genre)) return false;
  CompteursNumeros::Relever(CompteursNumeros::kSIT, reinterpret_cast<E*>(f.Enregistrement())->NumeroSite);
  return true;
}

using namespace Champ;
const TypeDescriptionFichier& DescriptionFichier() {
  static const TypeDescriptionFichier d = DeclarationFichier::Decrire({
      "SupSite", ".SIT", 0x30, kPlace, kTailleStockee, false,
      {Identifiant(), Cardinal("NumeroSite", 0), Chaine("Nom", 30, 4), Entier("Couleur", 36)},
      {{true, {"NumeroSite"}}, {false, {"Identifiant"}}, {true, {"Nom"}}},
      &Lire,
  });
  return d;
}

}  // namespace

TFichierSup& Fichier() {
  static TFichierSup fichier(DescriptionFichier());
  return fichier;
}

TypeEnregistrementSite* Article() { return reinterpret_cast<E*>(Fichier().Enregistrement()); }

std::string NomSiteParDefaut() {
  std::string nom = Traduction::Traduire("SupEtatNomSiteDefaut");
  if (nom.size() > 30) nom.resize(30);
  return nom;
}

uint32_t SiteParDefaut() {
  TFichierSup& f = Fichier();
  if (f.Table == nullptr) return 0;
  f.EmpilerPosition();
  FichierSup::EcrireChaineCourte(Article()->Nom, 30, NomSiteParDefaut());
  const uint32_t site = Xi::Trouver(f.Table, kOrdreNom) ? Xi::NumeroCourant(f.Table) : 0;
  f.DepilerPosition();
  return site;
}

uint32_t NumeroDe(uint32_t Site) { return Fichier().ValeurDe(Site, offsetof(E, NumeroSite)); }

uint32_t ArticleDeNumero(uint32_t NumeroSite) { return Fichier().NumeroDeCle(kOrdreNumero, NumeroSite); }

bool NumeroExiste(uint32_t NumeroSite) { return ArticleDeNumero(NumeroSite) != 0; }

}  // namespace SupSite
