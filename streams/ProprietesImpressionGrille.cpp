#include "streams/ProprietesImpressionGrille.h"

#include <exception>

#include "streams/SauvegardeurTLV.h"
#include "streams/VersionParametres.h"

namespace {

// The genres' names in the documents; genres 3 and 4 have none.
constexpr const char* kNomsGenres[TProprietesImpressionGrille::kNombreGenres] = {
    "GenreProfesseur", "GenreGroupe", "GenreClasse", nullptr, nullptr, "GenreSalle", "GenreEleve"};
constexpr const char* kNomsCibles[TProprietesImpressionGrille::kNombreCibles] = {"CibleImprimer", "CiblePublier"};

constexpr const char* kProprietesCommunes = "ProprietesCommunes";
constexpr const char* kRemonterExceptions = "ProprietesCommunes.RemonterExceptions";

bool DansLesLimites(int32_t Genre, int32_t Cible) {
  return Genre >= 0 && Genre < TProprietesImpressionGrille::kNombreGenres && Cible >= 0 &&
         Cible < TProprietesImpressionGrille::kNombreCibles;
}

std::unique_ptr<TToutesProprietesImpressionGrille>& Instance() {
  static std::unique_ptr<TToutesProprietesImpressionGrille> instance;
  return instance;
}

}  // namespace

std::string TProprietesImpressionGrille::NomEmplacement(int32_t Genre, int32_t Cible) {
  if (!DansLesLimites(Genre, Cible) || kNomsGenres[Genre] == nullptr) return {};
  return std::string(kNomsGenres[Genre]) + "_" + kNomsCibles[Cible];
}

TProprietes* TProprietesImpressionGrille::Proprietes(int32_t Genre, int32_t Cible) const {
  return DansLesLimites(Genre, Cible) ? emplacements_[Genre][Cible].get() : nullptr;
}

bool TProprietesImpressionGrille::ModifierProprietes(int32_t Genre, int32_t Cible, std::unique_ptr<TProprietes> Arbre) {
  if (NomEmplacement(Genre, Cible).empty()) return false;
  emplacements_[Genre][Cible] = std::move(Arbre);
  return true;
}

bool TProprietesImpressionGrille::Ecrire(TStream& Flux) const {
  try {
    TProprietes document;
    for (int32_t genre = 0; genre < kNombreGenres; ++genre)
      for (int32_t cible = 0; cible < kNombreCibles; ++cible)
        if (const TProprietes* arbre = Proprietes(genre, cible); arbre != nullptr)
          document.Ajouter(NomEmplacement(genre, cible), TProprietes::ValeurProprietes(arbre));  // copies it
    TSauvegardeurTLV::EcrireTLV(&document, Flux);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

bool TProprietesImpressionGrille::Lire(TStream& Flux) {
  try {
    TProprietes document;
    (void)TSauvegardeurTLV::LireTLV(document, Flux);
    for (int32_t genre = 0; genre < kNombreGenres; ++genre) {
      for (int32_t cible = 0; cible < kNombreCibles; ++cible) {
        const std::string nom = NomEmplacement(genre, cible);
        if (nom.empty()) continue;
        // Only a sub-tree is taken; an entry of another kind raises and the slot keeps its tree.
        emplacements_[genre][cible] = document.Extraire(nom);
      }
    }
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

bool TToutesProprietesImpressionGrille::Ecrire(TStream& Flux) const {
  for (const TProprietesImpressionGrille& grille : Grilles)
    if (!grille.Ecrire(Flux)) return false;
  try {
    TProprietes communes;
    communes.Ajouter(kProprietesCommunes, TProprietes::ValeurProprietes(nullptr));
    communes.Ajouter(kRemonterExceptions, TProprietes::ValeurBooleen(RemonterExceptions ? 1 : 0));
    TSauvegardeurTLV::EcrireTLV(&communes, Flux);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

bool TToutesProprietesImpressionGrille::Lire(TStream& Flux) {
  if (!VersionParametres::PresentDepuis(4, 0, 99)) {
    RemonterExceptions = true;
    return true;
  }
  // A grid that fails leaves the stream inside its document: nothing after it can be trusted.
  for (TProprietesImpressionGrille& grille : Grilles)
    if (!grille.Lire(Flux)) return false;
  // Streams before 5.0.0.3 hold no fifth document; the flag keeps its value.
  if (!VersionParametres::PresentDepuisBuild(5, 0, 0, 3)) return true;
  try {
    TProprietes communes;
    (void)TSauvegardeurTLV::LireTLV(communes, Flux);
    TypeValeurProp valeur;
    if (communes.Chercher(kRemonterExceptions, valeur)) RemonterExceptions = TProprietes::ValeurEnBooleen(valeur);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

TToutesProprietesImpressionGrille& ToutesProprietesImpressionGrille() {
  std::unique_ptr<TToutesProprietesImpressionGrille>& instance = Instance();
  if (instance == nullptr) instance = std::make_unique<TToutesProprietesImpressionGrille>();
  return *instance;
}

void LibererToutesProprietesImpressionGrille() { Instance().reset(); }
