#include "base/EmballageSelection.h"

#include <cstring>

#include "base/SupFichiers.h"
#include "core/records/Xi.h"
#include "net/NetXi.h"

namespace EmballageSelection {

void IdentifiantsDeSelection(const TypeEnsembleMemoire& Selection, void* Table, TypeEnsembleMemoire& Identifiants) {
  if (Table == nullptr) return;
  Xi::SauverPosition(Table);
  for (uint32_t i = 0; i < Selection.Nombre; ++i) {
    if (!Xi::AllerA(Table, Selection.Elements[i])) continue;
    uint32_t identifiant;
    std::memcpy(&identifiant, Table, 4);
    (void)Memoire::Ajouter(identifiant, Identifiants);
  }
  (void)Xi::RestaurerPosition(Table);
}

void SelectionDIdentifiants(const TypeEnsembleMemoire& Identifiants, void* Table, int32_t Fichier,
                            TypeEnsembleMemoire& Selection) {
  if (Table == nullptr || Fichier < 0 || Fichier >= SupFichiers::kNombreFichiers) return;
  const TypeTableReseau* entree = NetXi::Table(SupFichiers::NumerosTables()[static_cast<std::size_t>(Fichier)]);
  if (entree == nullptr || !entree->ChercherParIdentifiant) return;
  Xi::SauverPosition(Table);
  for (uint32_t i = 0; i < Identifiants.Nombre; ++i)
    if (entree->ChercherParIdentifiant(static_cast<int32_t>(Identifiants.Elements[i])))
      (void)Memoire::Ajouter(Xi::NumeroCourant(Table), Selection);
  (void)Xi::RestaurerPosition(Table);
}

void EmballerSelection(const TypeEnsembleMemoire& Selection, void* Table, void*& Bloc, std::size_t& Taille) {
  TypeEnsembleMemoire identifiants;
  Memoire::Initialiser(identifiants);
  IdentifiantsDeSelection(Selection, Table, identifiants);
  Memoire::VersTampon(identifiants, Taille, Bloc);
  Memoire::Liberer(identifiants);
}

const void* DeballerSelection(const void* Bloc, std::size_t Taille, void* Table, int32_t Fichier,
                              TypeEnsembleMemoire& Selection) {
  TypeEnsembleMemoire identifiants{};  // DepuisTampon initialises it
  Memoire::Initialiser(Selection);
  const void* suite = Memoire::DepuisTampon(Bloc, Taille, identifiants);
  if (suite != nullptr) SelectionDIdentifiants(identifiants, Table, Fichier, Selection);
  Memoire::Liberer(identifiants);
  return suite;
}

void EmballerSelectionAvecEntete(void* Table, const void* Entete, std::size_t TailleEntete,
                                 const TypeEnsembleMemoire& Selection, void*& Bloc, std::size_t& Taille) {
  void* selection = nullptr;
  std::size_t tailleSelection = 0;
  EmballerSelection(Selection, Table, selection, tailleSelection);
  Taille = TailleEntete + tailleSelection;
  Bloc = Memoire::Allouer(Taille);
  if (TailleEntete > 0) std::memcpy(Bloc, Entete, TailleEntete);
  std::memcpy(static_cast<uint8_t*>(Bloc) + TailleEntete, selection, tailleSelection);
  Memoire::Desallouer(selection, tailleSelection);
}

}  // namespace EmballageSelection
