// The twin files of long labels given to resources: class labels (".LCL") for diplomas, TDs and
// options, room labels (".LSL") for rooms. A label of up to 73 characters stands beside the
// 30-character name of the resource record; a resource has at most one. The two files differ only
// in their table, their request codes and the right their changes test, which a description gives.
// Main thread only.
#pragma once

#include <cstdint>
#include <string>

#include "base/fichiers/FichierSup.h"

struct TypeEnregistrementLibelle {
  int32_t Identifiant;
  uint32_t Ressource;   // record number in ".RES", unique
  uint8_t Libelle[74];  // counted string of 73
  uint8_t Libre[2];
};
static_assert(sizeof(TypeEnregistrementLibelle) == 84);

struct TypeDescriptionLibelle {
  const char* Unite;
  const char* Extension;
  uint8_t CodeTable;
  int32_t Place;
  uint32_t CodeParDefaut, CodeAffecter, CodeSupprimer;
  // The right that a change of the label of a resource of that kind needs; true for a kind that
  // needs none.
  bool (*Droit)(uint8_t Genre);
  bool (*ContenuParDefaut)();  // the unit's default-contents routine
};

class TFichierLibelle final : public TFichierSup {
 public:
  static constexpr uint32_t kTailleStockee = 80;
  static constexpr int32_t kCapacite = 73;
  static constexpr int32_t kOrdreRessource = 1, kOrdreIdentifiant = 2;
  // The request payload of a label change: the label (74 bytes), 2 unused, the resource's identifier.
  static constexpr int32_t kTailleAffectation = 80, kDecalageRessource = 76;

  // Description: FichierLibelle::Decrire(Libelle), kept by the unit for the life of the file.
  TFichierLibelle(const TypeDescriptionFichier& Description, const TypeDescriptionLibelle& Libelle);

  TypeEnregistrementLibelle* Article() const { return reinterpret_cast<TypeEnregistrementLibelle*>(Enregistrement()); }

  // The default labels: the server creates them; locally nothing.
  bool CreerLibellesParDefaut();
  // Gives Ressource the label (cut to 73 characters), replacing the one it has. False without the
  // right of the resource's kind, for a record number that holds no resource, when refused; True
  // once the label is stored (as a client: the server's verdict).
  bool AffecterLibelle(uint32_t Ressource, const std::string& Libelle);
  // Deletes the label of Ressource; locally False when it has none.
  bool SupprimerLibelle(uint32_t Ressource);
  // True when the current resource has a label, which is then current.
  bool ChercherLibelleDeLaRessourceCourante();
  // The label of the current resource, empty when none; the position is kept.
  std::string LibelleDeLaRessource();

 private:
  // Makes Ressource current in ".RES" (the caller restores its position) and tests the right.
  bool RessourceAccessible(uint32_t Ressource) const;
  const TypeDescriptionLibelle& libelle_;
};

namespace FichierLibelle {
// The description of a label file's table.
TypeDescriptionFichier Decrire(const TypeDescriptionLibelle& Libelle);
}  // namespace FichierLibelle
