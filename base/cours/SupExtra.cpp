#include "base/cours/SupExtra.h"

#include "base/EcrGlobale.h"
#include "base/cours/SupCours.h"
#include "base/cours/SupFractionnementCours.h"
#include "core/records/Xi.h"

namespace SupExtra {

namespace {
void Marquer(bool Valeur) {
  TypeEnregistrementCours* c = SupCours::Article();
  c->Extrait = Valeur;
  (void)Xi::Modifier(SupCours::Fichier().Table);
}
}  // namespace

void MarquerExtractionCours(bool Valeur, bool Toujours) {
  TypeEnregistrementCours* c = SupCours::Article();
  if (c == nullptr) return;
  if (!Toujours && (c->Extrait != 0) == Valeur) return;
  SupCours::EmpilerPosition();
  if (c->Genre == SupCours::kFraction) (void)SupFractionnementCours::AllerAuCoursEntier();
  Marquer(Valeur);
  if (c->Genre == SupCours::kCoursEntier)
    (void)SupFractionnementCours::PourChaqueFractionDuCours(
        [Valeur] {
          Marquer(Valeur);
          return false;
        },
        false);
  EcrGlobale::MarquerBaseModifiee(EcrGlobale::FicheGlobales());
  SupCours::DepilerPosition();
}

}  // namespace SupExtra
