// Week sets: the timetable base plans a school year as weeks 1 to 52 from the base's first date,
// and a week set says in which of them something happens (a course, an availability, a calendar
// pattern). TMethodesDomaine holds what every unit of the base does with one.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/values/DateTime.h"

// A week number, 1..52.
using TypeIntervalleDomaineHebdomadaire = uint8_t;

// Seven bytes: bit n of the little-endian 56-bit field is week n (byte n div 8, bit n mod 8).
// Bits 0 and 53..55 belong to no week; sets built here keep them clear, and the routines look
// only at weeks 1 to 52 unless said otherwise.
struct TypeDomaineHebdomadaire {
  std::array<uint8_t, 7> Octets{};

  // Bit `semaine` (0..55); false outside the 56 bits.
  bool Contient(int semaine) const;
  void Inclure(int semaine);
  void Exclure(int semaine);

  friend bool operator==(const TypeDomaineHebdomadaire&, const TypeDomaineHebdomadaire&) = default;
};
static_assert(sizeof(TypeDomaineHebdomadaire) == 7, "a week set is stored in 7 bytes");

class TMethodesDomaine {
 public:
  TMethodesDomaine() = delete;

  // The lowest / highest week 1..52 of the set, 0 when it holds none; the number of them.
  static int32_t PremiereSemaine(const TypeDomaineHebdomadaire& Domaine);
  static int32_t DerniereSemaine(const TypeDomaineHebdomadaire& Domaine);
  static int32_t NombreDeSemaines(const TypeDomaineHebdomadaire& Domaine);

  // The set holding the latest differing week (52 down to 1) sorts first: 1 when that week is
  // in B, -1 when it is in A; when weeks 1..52 agree, the same comparison on bit 0.
  static int32_t Comparer(const TypeDomaineHebdomadaire& A, const TypeDomaineHebdomadaire& B);

  // The first Nombre weeks of Domaine (all of them when it has fewer).
  static void PremieresSemaines(const TypeDomaineHebdomadaire& Domaine, uint32_t Nombre,
                                TypeDomaineHebdomadaire& Resultat);

  // The first run of consecutive weeks (0, 0 when there is none); Seule when Domaine is exactly
  // that run, all seven bytes compared.
  static void PremiereSuite(const TypeDomaineHebdomadaire& Domaine, int32_t& Premiere, int32_t& Derniere,
                            bool& Seule);

  // Every run of weeks widened by Avant weeks before and Apres weeks after, within 1..52; runs
  // that meet merge and the weeks they swallow are not widened again. Only weeks 1..52 of
  // Domaine are read. True when nothing was widened.
  static bool Elargir(uint32_t Avant, uint32_t Apres, const TypeDomaineHebdomadaire& Domaine,
                      TypeDomaineHebdomadaire& Resultat);

  // The week of Date counted from Debut: {n}, or with Cumul weeks 1..n (1..n-1 without Inclus);
  // empty before Debut; past week 52, every week with Cumul and none without.
  static void DomaineDeDate(bool Cumul, bool Inclus, TDateTime Date, TDateTime Debut, TypeDomaineHebdomadaire& Resultat);

  // The weeks between the weeks of two dates (either order), empty when either lies outside 1..52.
  static void DomaineEntreDates(TypeDomaineHebdomadaire& Resultat, TDateTime Date1, TDateTime Date2, TDateTime Debut);

  // "[1..3,5,7..8]": the runs of weeks 1..Max, a run of two or more as first..last. Max is held
  // to 52.
  static void VersTexte(const TypeDomaineHebdomadaire& Domaine, int32_t Max, std::string& Texte);

  // Bit m set for each month m (1 = the month of Debut, up to 15) touched by the first day of a
  // week of the set.
  static uint16_t MoisConcernes(const TypeDomaineHebdomadaire& Domaine, TDateTime Debut);

  // 52 characters, week 1 first: "1" for a week in the set, "0" otherwise.
  static void VersTexteBinaire(const TypeDomaineHebdomadaire& Domaine, std::string& Texte);

  // --- Set arithmetic. The results hold weeks 1..52 only: the bits that belong to no week are
  // never carried into a result, so that sets built from stored bytes compare as sets of weeks.
  // Weeks 1 to 52, the whole year.
  static TypeDomaineHebdomadaire Annee();
  static TypeDomaineHebdomadaire Union(const TypeDomaineHebdomadaire& A, const TypeDomaineHebdomadaire& B);
  static TypeDomaineHebdomadaire Intersection(const TypeDomaineHebdomadaire& A, const TypeDomaineHebdomadaire& B);
  // The weeks of A that are not in B.
  static TypeDomaineHebdomadaire Difference(const TypeDomaineHebdomadaire& A, const TypeDomaineHebdomadaire& B);
  // True when A and B share a week 1..52.
  static bool SeRencontrent(const TypeDomaineHebdomadaire& A, const TypeDomaineHebdomadaire& B);
  // True when every week 1..52 of A is in B (the empty set is inside every set).
  static bool EstInclus(const TypeDomaineHebdomadaire& A, const TypeDomaineHebdomadaire& B);
  // True when the set holds no week 1..52.
  static bool EstVide(const TypeDomaineHebdomadaire& Domaine);
};
