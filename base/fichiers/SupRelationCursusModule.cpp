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

// True when the record number holds a record of the file; the file's position is kept.
bool Existe(TFichierSup& f, uint32_t numero) {
  if (f.Table == nullptr) return false;
  f.EmpilerPosition();
  const bool existe = Xi::AllerA(f.Table, numero);
  f.DepilerPosition();
  return existe;
}

// The record number of an identifier, 0 when no record has it; the file's position is kept.
uint32_t NumeroDe(TFichierSup& f, int32_t identifiant) {
  if (f.Table == nullptr) return 0;
  f.EmpilerPosition();
  const uint32_t numero = f.ChercherParIdentifiant(identifiant) ? Xi::NumeroCourant(f.Table) : 0;
  f.DepilerPosition();
  return numero;
}

// A relation whose curriculum or module is not found is refused.
bool Lire(TFichierSup& f, const uint8_t* s, TypeGenreModif) {
  int32_t cursus, module;
  std::memcpy(&cursus, s, 4);
  std::memcpy(&module, s + 4, 4);
  E* e = reinterpret_cast<E*>(f.Enregistrement());
  e->Cursus = NumeroDe(SupCursus::Fichier(), cursus);
  e->Module = NumeroDe(SupModule::Fichier(), module);
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
  if (e != nullptr && Existe(SupCursus::Fichier(), e->Cursus) && Existe(SupModule::Fichier(), e->Module)) return true;
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
