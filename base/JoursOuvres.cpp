#include "base/JoursOuvres.h"

#include <algorithm>

#include "base/SupParametresGrille.h"
#include "base/SupTraitement.h"
#include "base/SupValeurHebdomadaire.h"
#include "net/NetClient.h"

namespace {

constexpr int32_t kPasMax = 7;

int32_t JourSuivant(int32_t Jour) { return Jour >= 7 ? 1 : Jour + 1; }
int32_t JourPrecedent(int32_t Jour) { return Jour <= 1 ? 7 : Jour - 1; }

}  // namespace

TJoursOuvres::TJoursOuvres(bool Reseau) : reseau_(Reseau) {}

void TJoursOuvres::SetJoursOuvres(uint8_t Valeur) {
  if (Valeur == jours_) return;
  SupTraitement::TraitementEmpile code(kCodeModifierJoursOuvres);
  if (reseau_ && !modificationLocale_ && NetClient::PasserParServeur()) {
    (void)NetClient::EnvoyerRequeteServeur(kCodeModifierJoursOuvres, 0, 1, &Valeur, false, nullptr);
    return;
  }
  jours_ = Valeur;
  modifie_ = true;
}

bool TJoursOuvres::TraiterOrdre(uint32_t Code, int32_t Taille, const void* Donnees) {
  // Whatever the order, changes made afterwards are requests again.
  if (Code != kCodeModifierJoursOuvres || Taille < 1 || Donnees == nullptr) {
    modificationLocale_ = false;
    return false;
  }
  modificationLocale_ = true;
  SetJoursOuvres(*static_cast<const uint8_t*>(Donnees));
  modificationLocale_ = false;
  return true;
}

int32_t TJoursOuvres::NombreJoursOuvres() const {
  int32_t n = 0;
  for (int32_t j = 1; j <= 7; ++j) n += EstJourOuvre(j) ? 1 : 0;
  return n;
}

bool TJoursOuvres::EstJourOuvre(int32_t Jour) const { return Jour >= 1 && Jour <= 7 && ((jours_ >> Jour) & 1); }

bool TJoursOuvres::EstJourOuvreDate(TDateTime Date) const { return EstJourOuvre(TJourTZ::JourDeLaSemaine(Date)); }

int32_t TJoursOuvres::PremierJourOuvre() const {
  for (int32_t j = 1; j <= 7; ++j)
    if (EstJourOuvre(j)) return j;
  return 1;
}

int32_t TJoursOuvres::DernierJourOuvre() const {
  for (int32_t j = 7; j >= 1; --j)
    if (EstJourOuvre(j)) return j;
  return 1;
}

int32_t TJoursOuvres::JourOuvre(int32_t n) const {
  for (int32_t j = 1; j <= 7; ++j)
    if (EstJourOuvre(j) && n-- == 0) return j;
  return 1;
}

int32_t TJoursOuvres::JourDeLaPlaceDepuis(int32_t Place, int32_t Premier) const {
  const int32_t p = SupParametresGrille::Parametres().PlacesParJour;
  if (p <= 0) return JourOuvre(std::max(0, Premier - 1));
  return JourOuvre(Place / p + Premier - 1);
}

int32_t TJoursOuvres::JourDeLaPlace(int32_t Place) const { return JourDeLaPlaceDepuis(Place, 1); }

int32_t TJoursOuvres::RangJourOuvre(int32_t Jour, int32_t Debut) const {
  if (Jour <= Debut) return SupValeurHebdomadaire::Saturer(int64_t{Jour} - Debut);
  int32_t rang = 0;
  for (int32_t j = std::max(Debut, 1); j <= std::min(Jour - 1, 7); ++j) rang += EstJourOuvre(j) ? 1 : 0;
  return rang;
}

int32_t TJoursOuvres::PlageJoursOuvres(int32_t Debut, int32_t Fin, int32_t Reference, int32_t& RangDernier,
                                       int32_t& RangPremier) const {
  RangDernier = 0;
  RangPremier = 0;
  int32_t jour = Debut;
  for (int32_t pas = 0; pas <= kPasMax; ++pas, jour = JourSuivant(jour)) {
    const bool ouvre = EstJourOuvre(jour);
    if (jour == Fin && !ouvre) return 0;
    if (!ouvre) continue;
    RangPremier = RangJourOuvre(jour, Reference);
    int32_t dernier = Fin;
    for (int32_t recul = 0; recul <= kPasMax && !EstJourOuvre(dernier); ++recul) dernier = JourPrecedent(dernier);
    if (!EstJourOuvre(dernier)) return 0;
    RangDernier = RangJourOuvre(dernier, Reference);
    return RangDernier < RangPremier ? 0 : 1;
  }
  return 0;
}

int32_t TJoursOuvres::PlageJoursOuvresAutour(int32_t n, bool Apres, int32_t Reference, int32_t& RangDernier,
                                             int32_t& RangPremier) const {
  RangDernier = 0;
  RangPremier = 0;
  if (n <= 0) return 0;
  const int32_t a = std::min(n, 7) - 1;
  if (Apres) return PlageJoursOuvres(Reference, Reference + a, Reference, RangDernier, RangPremier);
  return PlageJoursOuvres(Reference - a + 6, Reference + 6, Reference, RangDernier, RangPremier);
}

TJoursOuvres*& JoursOuvres::JoursOuvresBase() {
  static TJoursOuvres* jours = nullptr;
  return jours;
}

const TDateTime*& JoursOuvres::PremiereDateBase() {
  static const TDateTime* date = nullptr;
  return date;
}
