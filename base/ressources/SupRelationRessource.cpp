#include "base/ressources/SupRelationRessource.h"

#include <cstring>

#include "base/SupFichiers.h"
#include "base/fichiers/DeclarationFichier.h"
#include "base/ressources/SupRessource.h"
#include "core/objects/Exceptions.h"
#include "core/records/Xi.h"

namespace SupRelationRessource {

namespace {
uint32_t Lire32(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}
}  // namespace

TFichierSup& Fichier() { return *SupFichiers::Fichier(kPlace); }

const TypeChampsRelation& Champs() {
  static const TypeChampsRelation champs = [] {
    const TypeDescriptionFichier& d = Fichier().Description();
    return TypeChampsRelation{DeclarationFichier::ChampNomme(d, "Genre1")->Decalage,
                              DeclarationFichier::ChampNomme(d, "Ressource1")->Decalage,
                              DeclarationFichier::ChampNomme(d, "Genre2")->Decalage,
                              DeclarationFichier::ChampNomme(d, "Ressource2")->Decalage};
  }();
  return champs;
}

uint32_t DiplomeDeLaRessource(uint32_t) {
  throw ENonConstruit("SupRelationRessource.DiplomeDeLaRessource: the resource relations are not built yet");
}

uint32_t GroupeDeSallesDeLaSalle(uint32_t Salle) {
  TFichierSup& f = Fichier();
  if (f.Table == nullptr || Salle == 0) return 0;
  const TypeChampsRelation& c = Champs();
  uint8_t* e = f.Enregistrement();
  f.EmpilerPosition();
  f.ViderArticle();
  e[c.Genre2] = SupRessource::kSalle;
  std::memcpy(e + c.Ressource2, &Salle, 4);
  e[c.Genre1] = SupRessource::kSalle;
  const std::vector<uint32_t> relations = f.NumerosDepuisCle(kOrdreContenu, [e, &c, Salle] {
    return e[c.Genre2] == SupRessource::kSalle && Lire32(e + c.Ressource2) == Salle && e[c.Genre1] == SupRessource::kSalle;
  });
  uint32_t groupe = 0;
  for (uint32_t r : relations) {
    const uint32_t contenant = f.ValeurDe(r, c.Ressource1);
    if (contenant != Salle) {
      groupe = contenant;
      break;
    }
  }
  (void)f.DepilerPosition();
  return groupe;
}

uint32_t GroupeDeSallesDeLaRessourceCourante() {
  const TypeEnregistrementRessource* r = SupRessource::Article();
  if (r == nullptr || r->Genre != SupRessource::kSalle) return 0;
  return GroupeDeSallesDeLaSalle(Xi::NumeroCourant(SupRessource::Fichier().Table));
}

}  // namespace SupRelationRessource
