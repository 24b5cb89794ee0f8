#include "objectdb/properties/TypeDBNoyau.h"

namespace {

template <std::size_t N>
void TexteDe(uint8_t Valeur, const char* const (&Noms)[N], std::string& Texte) {
  Texte = Valeur < N ? Noms[Valeur] : "Inconnu";
}

}  // namespace

void TChaineType::TexteEtatIndex(uint8_t Etat, std::string& Texte) {
  static const char* const kNoms[] = {"EI_Valide", "EI_EnChargement", "EI_Detruite"};
  TexteDe(Etat, kNoms, Texte);
}

void TChaineType::TexteRegleUnicite(uint8_t Regle, std::string& Texte) {
  static const char* const kNoms[] = {"ruiSansRegle", "ruiCleUnique", "ruiCleUniqueSiNonNulle"};
  TexteDe(Regle, kNoms, Texte);
}

void TChaineType::TexteRegleSuppressionReference(uint8_t Regle, std::string& Texte) {
  static const char* const kNoms[] = {"RSR_Suppression", "RSR_SuppressionInterdite", "RSR_ValeurParDefaut"};
  TexteDe(Regle, kNoms, Texte);
}

void TChaineType::TexteEnsemble(const TypeEnsembleOctets& Ensemble, std::string& Texte) {
  auto membre = [&](int n) { return (Ensemble[static_cast<std::size_t>(n / 8)] >> (n % 8)) & 1; };
  std::string corps;
  int debut = -1;  // first member of the current run
  for (int n = 0; n <= 256; ++n) {
    const bool dedans = n < 256 && membre(n);
    if (dedans) {
      if (debut < 0) debut = n;
      continue;
    }
    if (debut < 0) continue;
    if (!corps.empty()) corps += ',';
    if (n - 1 > debut) corps += std::to_string(debut) + "..";
    corps += std::to_string(n - 1);
    debut = -1;
  }
  Texte = "[" + corps + "]";
}
