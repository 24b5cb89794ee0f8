#include "base/fichiers/SuppressionSelection.h"

#include <memory>
#include <vector>

#include "base/EmballageSelection.h"
#include "net/NetClient.h"
#include "objectdb/Traduction.h"
#include "platform/ui/Patienc3.h"

namespace SuppressionSelection {

bool EnvoyerSelection(TFichierSup& Fichier, uint32_t Code, TypeEnsembleMemoire& Selection) {
  void* emballe = nullptr;
  std::size_t taille = 0;
  EmballageSelection::EmballerSelection(Selection, Fichier.Table, emballe, taille);
  std::vector<uint8_t> reponse(taille, 0);
  const bool accepte = NetClient::EnvoyerRequeteServeur(Code, 0, static_cast<int32_t>(taille), emballe, true,
                                                        reponse.data(), static_cast<int32_t>(reponse.size()));
  Memoire::Desallouer(emballe, taille);
  if (!accepte) return false;
  TypeEnsembleMemoire lue{};
  (void)EmballageSelection::DeballerSelection(reponse.data(), reponse.size(), Fichier.Table,
                                              Fichier.Description().Place - 1, lue);
  // The selection stays a sorted set whatever order or repetitions the answer holds.
  Memoire::Reinitialiser(Selection);
  for (uint32_t i = 0; i < lue.Nombre; ++i) (void)Memoire::Inserer(lue.Elements[i], Selection);
  Memoire::Liberer(lue);
  return true;
}

bool SupprimerLocalement(TFichierSup& Fichier, TypeEnsembleMemoire& Selection,
                         const std::function<bool(uint32_t)>& Supprimer, bool RemettreAbsents) {
  const std::vector<uint32_t> numeros(Selection.Elements, Selection.Elements + Selection.Nombre);
  Memoire::Reinitialiser(Selection);
  std::unique_ptr<TPatienceCompteur> patience;
  if (numeros.size() > 1) {
    patience = std::make_unique<TPatienceCompteur>(nullptr, Traduction::Traduire("SupConstTraitement_en_cours_...7"));
    patience->InitialiserCompteur(static_cast<uint32_t>(numeros.size()));
    patience->DefinirPas(1);
    patience->Show();
    patience->Update();
  }
  bool tous = true;
  for (const uint32_t numero : numeros) {
    if (!Supprimer(numero)) {
      tous = false;
      if (RemettreAbsents || Fichier.Existe(numero)) (void)Memoire::Inserer(numero, Selection);
    }
    if (patience) patience->Decrementer();
  }
  if (patience) patience->Hide();
  return tous;
}

}  // namespace SuppressionSelection
