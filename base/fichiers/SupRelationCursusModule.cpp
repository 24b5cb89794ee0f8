#include "base/fichiers/SupRelationCursusModule.h"

#include <cstddef>
#include <cstring>
#include <string>

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

class TFichierRelations final : public TFichierSup {
 public:
  TFichierRelations() : TFichierSup(kDescription) {}

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

}  // namespace SupRelationCursusModule
