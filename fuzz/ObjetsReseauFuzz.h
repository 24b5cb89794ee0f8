// What the fuzz targets of the network objects share with the seed writer: an identifiable object with
// content, an order whose parameters of every kind travel with the request, the answer or both, and
// the receiver's own object of a fixed GUID, so that references in the inputs can resolve.
#pragma once

#include "net/objets/OrdreReseau.h"

namespace Fuzz {

class TObjetReseauFuzz : public TObjetIdentifiable, public IContenuObjet {
  NV_DECLARE_CLASS(TObjetReseauFuzz)
 public:
  TObjetReseauFuzz() = default;
  explicit TObjetReseauFuzz(TBlank b) : TObjetIdentifiable(b) {}
  int32_t Valeur = 0;
  void EcrireContenu(IFormateur* Formateur) override { Formateur->EcrireEntier(Valeur); }
  void LireContenu(IFormateur* Formateur) override;

 protected:
  void* GetInterfaceEntry(const TGUID& iid) override;
};

// Nombre (request), Texte (both), Objet (both, by reference in the request), Resultat (answer).
class TOrdreFuzz : public TOrdreReseau {
  NV_DECLARE_CLASS(TOrdreFuzz)
 public:
  static constexpr TInfoPropriete kProprietes[] = {
      {"Nombre", "Integer", tkInteger, nullptr, 0, true},
      {"Texte", "String", tkLString, nullptr, 1, true},
      {"Objet", "TObject", tkClass, nullptr, 2, true},
      {"Resultat", "Double", tkFloat, nullptr, 4, true},
  };
  TOrdreFuzz() = default;
  explicit TOrdreFuzz(TBlank b) : TOrdreReseau(b) {}
  TListeParametresPublies* CreerParametres() override;
  // Resultat = Nombre / 2; fails for a negative Nombre.
  TErreur* Executer() override;
};

// Registers the classes above and declares the receiver's object (once).
void DemarrerObjetsReseau();
// The receiver's object, declared under kGuidLocal.
TObjetReseauFuzz* ObjetLocal();
inline constexpr TGUID kGuidLocal = MakeGUID("{5A1E0C3B-7D21-4F6A-9B8C-0D1E2F3A4B5C}");

}  // namespace Fuzz
