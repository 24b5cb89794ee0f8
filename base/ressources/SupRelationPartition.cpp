#include "base/ressources/SupRelationPartition.h"

#include "base/SupFichiers.h"
#include "base/fichiers/DeclarationFichier.h"
#include "base/ressources/SupRessource.h"
#include "core/records/Xi.h"
#include "net/NetBases.h"

namespace SupRelationPartition {

namespace {

using E = TypeEnregistrementRelationPartition;

using namespace Champ;
const TypeDescriptionFichier& DescriptionFichier() {
  static const TypeDescriptionFichier d = DeclarationFichier::Decrire(
      {"SupRelationPartition",
       ".RLP",
       0x15,
       kPlace,
       8,
       false,
       {Identifiant(), Reference("Partition", SupPartition::kPlace, 0),
        Reference("Ressource", SupRessource::kPlace, 4)},
       {{true, {"Partition", "Ressource"}}, {false, {"Ressource", "Partition"}}, {false, {"Identifiant"}}}});
  return d;
}

class TFichierRelations final : public TFichierSup {
 public:
  TFichierRelations() : TFichierSup(DescriptionFichier(), &SupRelationPartition::ContenuParDefaut) {}
};

// Moves the first relation's partition number into its resource, then deletes the relation.
void DeplacerPremiereRelation() {
  void* relations = Fichier().Table;
  void* partitions = SupPartition::Fichier().Table;
  void* ressources = SupRessource::Fichier().Table;
  if (!Xi::Premier(relations, 0)) return;
  if (Xi::AllerA(partitions, Article()->Partition) && Xi::AllerA(ressources, Article()->Ressource)) {
    SupRessource::Article()->NumeroPartition = SupPartition::Article()->Numero;
    (void)Xi::Modifier(ressources);
  }
  (void)Xi::Supprimer(relations);
}

}  // namespace

TFichierSup& Fichier() {
  static TFichierRelations fichier;
  return fichier;
}

E* Article() { return reinterpret_cast<E*>(Fichier().Enregistrement()); }

bool ContenuParDefaut() {
  TFichierSup& partitions = SupPartition::Fichier();
  TFichierSup& ressources = SupRessource::Fichier();
  if (Fichier().Table == nullptr || partitions.Table == nullptr || ressources.Table == nullptr) return false;
  if (!NetBases::BaseAnterieure506() || !Version::EstInferieureA(SupFichiers::VersionBase(), {3, 0, 0, 0})) return true;
  partitions.EmpilerPosition();
  ressources.EmpilerPosition();
  for (uint32_t n = Xi::Nombre(Fichier().Table); n > 0; --n) DeplacerPremiereRelation();
  ressources.DepilerPosition();
  partitions.DepilerPosition();
  return true;
}

bool PourChaquePartitionDeLaRessource(const SupPartition::TypeTraitement& Traitement) {
  const TypeEnregistrementRessource* r = SupRessource::Article();
  TFichierSup& partitions = SupPartition::Fichier();
  if (r == nullptr || partitions.Table == nullptr || Xi::NumeroCourant(SupRessource::Fichier().Table) == 0)
    return false;
  std::vector<uint32_t> numeros;
  if (r->Genre == SupRessource::kDiplome) {
    const uint32_t diplome = Xi::NumeroCourant(SupRessource::Fichier().Table);
    SupPartition::Article()->Diplome = diplome;
    FichierSup::EcrireChaineCourte(SupPartition::Article()->Nom, 30, std::string());
    numeros = partitions.NumerosDepuisCle(SupPartition::kOrdreDiplomeNom,
                                          [diplome] { return SupPartition::Article()->Diplome == diplome; });
  } else if (r->Genre == SupRessource::kTD || r->Genre == SupRessource::kOption) {
    if (const uint32_t p = SupPartition::PartitionDeCle(r->NumeroPartition); p != 0) numeros.push_back(p);
  }
  return partitions.Visiter(numeros, [&] { return Traitement() ? 1 : 0; }) != 0;
}

bool PourChaquePartitionDeLaRessourceNumero(uint32_t Ressource, const SupPartition::TypeTraitement& Traitement) {
  TFichierSup& ressources = SupRessource::Fichier();
  const uint8_t genre = SupRessource::GenreDeLaRessource(Ressource);
  if (genre != SupRessource::kDiplome && genre != SupRessource::kTD && genre != SupRessource::kOption) return false;
  ressources.EmpilerPosition();
  bool resultat = false;
  try {
    resultat = Xi::AllerA(ressources.Table, Ressource) && PourChaquePartitionDeLaRessource(Traitement);
  } catch (...) {
    ressources.DepilerPosition();
    throw;
  }
  ressources.DepilerPosition();
  return resultat;
}

}  // namespace SupRelationPartition
