// Duration texts and stored durations: a text read as a duration, the text of a duration read back,
// and the order of stored durations. Input: two durations (8 bytes each), then the text.
#include <cmath>
#include <memory>
#include <string>

#include "core/values/DureeStockee.h"
#include "fuzz/FuzzSupport.h"
#include "objectdb/durations/FormateurDuree.h"

namespace {

// The text of a duration reads back as the duration, to the 15 significant digits it is written with.
void VerifierRetour(TFormateurDureePourDebogage& Formateur, double Duree) {
  std::string texte;
  Formateur.DureeEnTexte(Duree, texte);
  double relu = 0;
  std::unique_ptr<TErreur> erreur(Formateur.TexteEnDuree(texte, relu));
  Fuzz::Verifier(erreur == nullptr, "the text of a duration reads back");
  if (std::isnan(Duree)) {
    Fuzz::Verifier(std::isnan(relu), "an undefined duration reads back undefined");
  } else if (texte == "0") {
    Fuzz::Verifier(relu == 0 && std::fabs(Duree) <= 1e-12, "only a duration next to nothing is written 0");
  } else {
    Fuzz::Verifier(relu == Duree || std::fabs(relu - Duree) <= std::fabs(Duree) * 1e-14,
                   "a duration reads back to 15 significant digits");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
  Fuzz::Demarrer();
  Fuzz::TOctets octets(Data, Size);
  TypeDureeStockee a, b;
  DureeStockee::DureeInitialiser(a, octets.Valeur<double>());
  DureeStockee::DureeInitialiser(b, octets.Valeur<double>());
  const std::string texte(octets.Reste());

  Fuzz::Verifier(DureeStockee::Comparer(a, b) == -DureeStockee::Comparer(b, a), "the order of durations is antisymmetric");
  Fuzz::Verifier(DureeStockee::Comparer(a, a) == 0, "a duration equals itself");

  TFormateurDureePourDebogage formateur;
  VerifierRetour(formateur, a.Valeur);
  double lu = 0;
  std::unique_ptr<TErreur> erreur(formateur.TexteEnDuree(texte, lu));
  if (erreur == nullptr) VerifierRetour(formateur, lu);
  else Fuzz::Verifier(std::isnan(lu), "a text that is not a duration gives an undefined duration");
  return 0;
}
