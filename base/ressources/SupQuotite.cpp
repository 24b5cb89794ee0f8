#include "base/ressources/SupQuotite.h"

#include "base/fichiers/DeclarationFichier.h"
#include "base/ressources/SupRessource.h"

namespace SupQuotite {

namespace {

using E = TypeEnregistrementQuotite;

using namespace Champ;
const TypeDescriptionFichier& DescriptionFichier() {
  static const TypeDescriptionFichier d = DeclarationFichier::Decrire({
      "SupQuotite", ".APP", 0x22, kPlace, kTailleStockee, false,
      {Identifiant(), Reference("Enseignant", SupRessource::kPlace, 0), Octets("QuotasHebdomadaires", 52 * 4, 4)},
      {{true, {"Enseignant"}}, {false, {"Identifiant"}}},
      nullptr,
      nullptr,
      nullptr,
      // Older bases store more bytes per record; their first 212 are laid out as today's.
      {{216, {2, 0, 108, 0}, &DeclarationFichier::LireChamps}, {420, {4, 0, 99, 0}, &DeclarationFichier::LireChamps}},
  });
  return d;
}

}  // namespace

TFichierSup& Fichier() {
  static TFichierSup fichier(DescriptionFichier());
  return fichier;
}

E* Article() { return reinterpret_cast<E*>(Fichier().Enregistrement()); }

void QuotasDe(const E& Quotite, TFixedArrayOfValeurHebdomadaire& Quotas) {
  for (int32_t n = 1; n <= TFixedArrayOfValeurHebdomadaire::kNombreSemaines; ++n)
    Quotas.SetValeurSemaine(n, Quotite.Quotas[n - 1]);
}

}  // namespace SupQuotite
