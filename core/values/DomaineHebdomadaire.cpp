#include "core/values/DomaineHebdomadaire.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "core/values/Calendrier.h"

namespace {

// Weeks 1..52 of the 56-bit field.
constexpr uint64_t kSemaines = ((uint64_t{1} << 53) - 1) & ~uint64_t{1};
constexpr int kDerniereSemaine = 52;

uint64_t Bits(const TypeDomaineHebdomadaire& d) {
  uint64_t v = 0;
  for (int i = 6; i >= 0; --i) v = (v << 8) | d.Octets[static_cast<std::size_t>(i)];
  return v;
}

TypeDomaineHebdomadaire Domaine(uint64_t v) {
  TypeDomaineHebdomadaire d;
  for (auto& octet : d.Octets) {
    octet = static_cast<uint8_t>(v);
    v >>= 8;
  }
  return d;
}

// Weeks a..b (1 <= a <= b <= 52).
uint64_t Plage(int a, int b) { return ((uint64_t{1} << (b + 1)) - 1) & ~((uint64_t{1} << a) - 1); }

int32_t Semaine(TDateTime date, TDateTime debut) { return TMethodesCalendrier::NumeroDeSemaine(false, date, debut); }

}  // namespace

bool TypeDomaineHebdomadaire::Contient(int semaine) const {
  return semaine >= 0 && semaine < 56 && (Octets[static_cast<std::size_t>(semaine / 8)] >> (semaine % 8)) & 1;
}

void TypeDomaineHebdomadaire::Inclure(int semaine) {
  if (semaine >= 0 && semaine < 56) Octets[static_cast<std::size_t>(semaine / 8)] |= static_cast<uint8_t>(1 << (semaine % 8));
}

void TypeDomaineHebdomadaire::Exclure(int semaine) {
  if (semaine >= 0 && semaine < 56) Octets[static_cast<std::size_t>(semaine / 8)] &= static_cast<uint8_t>(~(1 << (semaine % 8)));
}

int32_t TMethodesDomaine::PremiereSemaine(const TypeDomaineHebdomadaire& D) {
  const uint64_t s = Bits(D) & kSemaines;
  return s == 0 ? 0 : std::countr_zero(s);
}

int32_t TMethodesDomaine::DerniereSemaine(const TypeDomaineHebdomadaire& D) {
  const uint64_t s = Bits(D) & kSemaines;
  return s == 0 ? 0 : 63 - std::countl_zero(s);
}

int32_t TMethodesDomaine::NombreDeSemaines(const TypeDomaineHebdomadaire& D) { return std::popcount(Bits(D) & kSemaines); }

int32_t TMethodesDomaine::Comparer(const TypeDomaineHebdomadaire& A, const TypeDomaineHebdomadaire& B) {
  const uint64_t a = Bits(A), b = Bits(B);
  uint64_t difference = (a ^ b) & kSemaines;
  if (difference == 0) difference = (a ^ b) & 1;
  if (difference == 0) return 0;
  const uint64_t plusHaute = uint64_t{1} << (63 - std::countl_zero(difference));
  return (b & plusHaute) ? 1 : -1;
}

void TMethodesDomaine::PremieresSemaines(const TypeDomaineHebdomadaire& D, uint32_t Nombre,
                                         TypeDomaineHebdomadaire& Resultat) {
  uint64_t reste = Bits(D) & kSemaines, pris = 0;
  for (uint32_t n = 0; n < Nombre && reste != 0; ++n) {
    const uint64_t plusBasse = reste & (~reste + 1);
    pris |= plusBasse;
    reste &= ~plusBasse;
  }
  Resultat = Domaine(pris);
}

void TMethodesDomaine::PremiereSuite(const TypeDomaineHebdomadaire& D, int32_t& Premiere, int32_t& Derniere,
                                     bool& Seule) {
  const uint64_t tout = Bits(D);
  Premiere = PremiereSemaine(D);
  Derniere = Premiere;
  Seule = false;
  if (Premiere == 0) return;
  while (Derniere < kDerniereSemaine && (tout >> (Derniere + 1)) & 1) ++Derniere;
  Seule = tout == Plage(Premiere, Derniere);
}

// Only weeks 1..52 are read: a set whose bits all lie outside them has no run, and the loop
// below would never empty it.
bool TMethodesDomaine::Elargir(uint32_t Avant, uint32_t Apres, const TypeDomaineHebdomadaire& D,
                               TypeDomaineHebdomadaire& Resultat) {
  const uint64_t domaine = Bits(D) & kSemaines;
  uint64_t resultat = 0, reste = domaine;
  while (reste != 0) {
    int32_t premiere, derniere;
    bool seule;
    PremiereSuite(Domaine(reste), premiere, derniere, seule);
    const int debut = Avant < static_cast<uint32_t>(premiere) ? premiere - static_cast<int>(Avant) : 1;
    const int fin = static_cast<int>(std::min<uint64_t>(uint64_t{static_cast<uint32_t>(derniere)} + Apres, kDerniereSemaine));
    resultat |= Plage(debut, std::max(debut, fin));
    reste &= ~resultat;
    if (seule) break;
  }
  Resultat = Domaine(resultat);
  return resultat == domaine;
}

void TMethodesDomaine::DomaineDeDate(bool Cumul, bool Inclus, TDateTime Date, TDateTime Debut,
                                     TypeDomaineHebdomadaire& Resultat) {
  const int32_t n = Semaine(Date, Debut);
  uint64_t semaines = 0;
  if (n > kDerniereSemaine) {
    if (Cumul) semaines = kSemaines;
  } else if (n > 0) {
    if (!Cumul) semaines = Plage(n, n);
    else if (Inclus) semaines = Plage(1, n);
    else if (n > 1) semaines = Plage(1, n - 1);
  }
  Resultat = Domaine(semaines);
}

void TMethodesDomaine::DomaineEntreDates(TypeDomaineHebdomadaire& Resultat, TDateTime Date1, TDateTime Date2,
                                         TDateTime Debut) {
  const int32_t a = Semaine(Date1, Debut), b = Semaine(Date2, Debut);
  const bool dansLAnnee = a >= 1 && a <= kDerniereSemaine && b >= 1 && b <= kDerniereSemaine;
  Resultat = Domaine(dansLAnnee ? Plage(std::min(a, b), std::max(a, b)) : 0);
}

// Week Max + 1 is read only to close a run; Max is held to 52 so that nothing past the seven
// bytes, and no week outside 1..52, is read.
void TMethodesDomaine::VersTexte(const TypeDomaineHebdomadaire& D, int32_t Max, std::string& Texte) {
  const uint64_t semaines = Bits(D) & kSemaines;
  const int max = std::min(Max, kDerniereSemaine);
  std::string texte;
  int suite = 0;
  for (int i = 1; i <= max + 1; ++i) {
    if ((semaines >> i) & 1) {
      ++suite;
      continue;
    }
    if (suite == 0) continue;
    if (!texte.empty()) texte += ',';
    if (suite >= 2) texte += std::to_string(i - suite) + "..";
    texte += std::to_string(i - 1);
    suite = 0;
  }
  Texte = "[" + texte + "]";
}

uint16_t TMethodesDomaine::MoisConcernes(const TypeDomaineHebdomadaire& D, TDateTime Debut) {
  if (!std::isfinite(Debut) || std::fabs(Debut) > 1e9) return 0;  // no calendar date
  int anneeDebut;
  unsigned moisDebut, jour;
  DateTime::DecodeDate(Debut, anneeDebut, moisDebut, jour);
  uint16_t mois = 0;
  for (int i = 1; i <= kDerniereSemaine; ++i) {
    if (!D.Contient(i)) continue;
    int annee;
    unsigned m;
    DateTime::DecodeDate(Debut + 7.0 * (i - 1), annee, m, jour);
    const int64_t rang = (int64_t{annee} - anneeDebut) * 12 + m - moisDebut + 1;
    if (rang >= 0 && rang <= 15) mois |= static_cast<uint16_t>(1u << rang);
  }
  return mois;
}

void TMethodesDomaine::VersTexteBinaire(const TypeDomaineHebdomadaire& D, std::string& Texte) {
  Texte.assign(kDerniereSemaine, '0');
  for (int i = 1; i <= kDerniereSemaine; ++i)
    if (D.Contient(i)) Texte[static_cast<std::size_t>(i - 1)] = '1';
}

TypeDomaineHebdomadaire TMethodesDomaine::Annee() { return Domaine(kSemaines); }

TypeDomaineHebdomadaire TMethodesDomaine::Union(const TypeDomaineHebdomadaire& A, const TypeDomaineHebdomadaire& B) {
  return Domaine((Bits(A) | Bits(B)) & kSemaines);
}

TypeDomaineHebdomadaire TMethodesDomaine::Intersection(const TypeDomaineHebdomadaire& A,
                                                       const TypeDomaineHebdomadaire& B) {
  return Domaine(Bits(A) & Bits(B) & kSemaines);
}

TypeDomaineHebdomadaire TMethodesDomaine::Difference(const TypeDomaineHebdomadaire& A,
                                                     const TypeDomaineHebdomadaire& B) {
  return Domaine(Bits(A) & ~Bits(B) & kSemaines);
}

bool TMethodesDomaine::SeRencontrent(const TypeDomaineHebdomadaire& A, const TypeDomaineHebdomadaire& B) {
  return (Bits(A) & Bits(B) & kSemaines) != 0;
}

bool TMethodesDomaine::EstInclus(const TypeDomaineHebdomadaire& A, const TypeDomaineHebdomadaire& B) {
  return (Bits(A) & ~Bits(B) & kSemaines) == 0;
}

bool TMethodesDomaine::EstVide(const TypeDomaineHebdomadaire& D) { return (Bits(D) & kSemaines) == 0; }
