#include "base/fichiers/SupRelationCursusModule.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include "base/fichiers/ModulesCursusRequetes.h"
#include "base/fichiers/SupCursus.h"
#include "base/fichiers/SupModule.h"
#include "core/objects/Erreur.h"
#include "core/records/Xi.h"

NV_DEFINE_CLASS(TVerificateurRelationCursusModule, TVerificateurNetXi)

namespace {

using E = TypeEnregistrementRelationCursusModule;

// A relation whose curriculum or module is not found is refused.
bool Lire(TFichierSup& f, const uint8_t* s, TypeGenreModif) {
  int32_t cursus, module;
  std::memcpy(&cursus, s, 4);
  std::memcpy(&module, s + 4, 4);
  E* e = reinterpret_cast<E*>(f.Enregistrement());
  e->Cursus = SupCursus::Fichier().NumeroDeIdentifiant(cursus);
  e->Module = SupModule::Fichier().NumeroDeIdentifiant(module);
  return e->Cursus != 0 && e->Module != 0;
}

// A side that no longer exists is stored as identifier 0, which the reader refuses.
bool Ecrire(TFichierSup& f, uint8_t* s) {
  const E* e = reinterpret_cast<const E*>(f.Enregistrement());
  const int32_t cursus = SupCursus::Fichier().IdentifiantDe(e->Cursus);
  const int32_t module = SupModule::Fichier().IdentifiantDe(e->Module);
  std::memcpy(s, &cursus, 4);
  std::memcpy(s + 4, &module, 4);
  return true;
}

const TypeDescriptionFichier kDescription{
    "SupRelationCursusModule",
    ".RCM",
    0x35,
    41,
    sizeof(E),
    {
        {true,
         {{offsetof(E, Cursus), 4, &Comparai::ComparerCardinal},
          {offsetof(E, Module), 4, &Comparai::ComparerCardinal}}},
        {true,
         {{offsetof(E, Module), 4, &Comparai::ComparerCardinal},
          {offsetof(E, Cursus), 4, &Comparai::ComparerCardinal}}},
        {false, {{offsetof(E, Identifiant), 4, &Comparai::ComparerEntierBis}}},
    },
    SupRelationCursusModule::kOrdreIdentifiant,
    {{SupRelationCursusModule::kTailleStockee, {}, &Lire}},
    &Ecrire,
    nullptr,
    true,
};

// Collects the relations whose first column in `Ordre` (1: curriculum, 2: module) is the owner, then
// visits them in increasing record-number order (see the header).
bool Parcourir(TFichierSup& Proprietaires, int32_t Ordre, uint32_t Proprietaire,
               const std::function<bool()>& Traitement) {
  TFichierSup& f = SupRelationCursusModule::Fichier();
  if (f.Table == nullptr || Proprietaires.Table == nullptr || Proprietaire == 0) return false;
  E* e = SupRelationCursusModule::Article();
  const bool parCursus = Ordre == SupRelationCursusModule::kOrdreCursus;
  e->Cursus = parCursus ? Proprietaire : 0;
  e->Module = parCursus ? 0 : Proprietaire;
  std::vector<uint32_t> numeros =
      f.NumerosDepuisCle(Ordre, [&] { return (parCursus ? e->Cursus : e->Module) == Proprietaire; });
  std::sort(numeros.begin(), numeros.end());
  Proprietaires.EmpilerPosition();
  try {
    const bool resultat = f.Visiter(numeros, [&] { return Traitement() ? 1 : 0; }) != 0;
    Proprietaires.DepilerPosition();
    return resultat;
  } catch (...) {
    Proprietaires.DepilerPosition();
    throw;
  }
}

class TFichierRelations final : public TFichierSup {
 public:
  TFichierRelations() : TFichierSup(kDescription, &SupRelationCursusModule::ContenuParDefaut) {}

 protected:
  TVerificateurNetXi* CreerVerificateur(int32_t NumeroTable) override {
    return new TVerificateurRelationCursusModule(NumeroTable);
  }
};

}  // namespace

bool TVerificateurRelationCursusModule::VerifierArticle(TErreur*& Erreur) {
  Erreur = nullptr;
  TFichierSup& relations = SupRelationCursusModule::Fichier();
  const E* e = SupRelationCursusModule::Article();
  if (e != nullptr && SupCursus::Fichier().Existe(e->Cursus) && SupModule::Fichier().Existe(e->Module)) return true;
  Erreur =
      new TErreur("Erreur sur la RelationCursusModule numero = " + std::to_string(Xi::NumeroCourant(relations.Table)));
  return false;
}

namespace SupRelationCursusModule {

TFichierSup& Fichier() {
  static TFichierRelations fichier;
  return fichier;
}

TypeEnregistrementRelationCursusModule* Article() { return reinterpret_cast<E*>(Fichier().Enregistrement()); }

bool PourChaqueModuleDuCursus(const std::function<bool()>& Traitement) {
  TFichierSup& cursus = SupCursus::Fichier();
  return cursus.Table != nullptr &&
         Parcourir(cursus, kOrdreCursus, Xi::NumeroCourant(cursus.Table), Traitement);
}

bool PourChaqueModuleDuCursusDonne(uint32_t Cursus, const std::function<bool()>& Traitement) {
  return Parcourir(SupCursus::Fichier(), kOrdreCursus, Cursus, Traitement);
}

bool PourChaqueCursusDuModule(const std::function<bool()>& Traitement) {
  TFichierSup& modules = SupModule::Fichier();
  return modules.Table != nullptr &&
         Parcourir(modules, kOrdreModule, Xi::NumeroCourant(modules.Table), Traitement);
}

}  // namespace SupRelationCursusModule
