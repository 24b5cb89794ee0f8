// The days of the week on which the establishment works: the set that the weekly grid covers, and the
// day arithmetic that the grid, the time slots and the calendars need. Changing the set of a shared
// instance is a request to the server; the set changes when the server's order comes back.
#pragma once

#include <cstdint>

#include "core/values/DateTime.h"

class TJoursOuvres {
 public:
  static constexpr uint32_t kCodeModifierJoursOuvres = 0x80020000;  // "CM_MODIFIER_JOURSOUVRES"
  static constexpr uint8_t kJoursParDefaut = 126;                     // days 1 to 6

  explicit TJoursOuvres(bool Reseau);
  virtual ~TJoursOuvres() = default;

  bool Modifie() const { return modifie_; }
  bool ModificationLocale() const { return modificationLocale_; }
  bool Reseau() const { return reseau_; }
  // Bit d for day d (1 Monday .. 7 Sunday); bit 0 stands for no day.
  uint8_t Jours() const { return jours_; }

  // Changes the set: locally, or as a request when the set is shared and the client passes through
  // the server (the set then changes when the order comes back).
  void SetJoursOuvres(uint8_t Valeur);
  // Applies an order received from the server (Taille bytes of Donnees). Only the change of the set
  // is taken, from a first byte that must be there; anything else answers False and changes nothing
  // but the local-modification flag: after any order it is cleared.
  bool TraiterOrdre(uint32_t Code, int32_t Taille, const void* Donnees);
  void SetModifie(bool Valeur) { modifie_ = Valeur; }
  void SetModificationLocale(bool Valeur) { modificationLocale_ = Valeur; }

  int32_t NombreJoursOuvres() const;
  // Days outside 1..7 are no working days.
  bool EstJourOuvre(int32_t Jour) const;
  bool EstJourOuvreDate(TDateTime Date) const;
  // The first / last working day; 1 when the set is empty.
  int32_t PremierJourOuvre() const;
  int32_t DernierJourOuvre() const;
  // The (n + 1)-th working day; 1 when there are fewer.
  int32_t JourOuvre(int32_t n) const;
  // The working day of a place of the grid counted from the working day of rank Premier - 1; a grid
  // without places per day answers the first working day.
  int32_t JourDeLaPlaceDepuis(int32_t Place, int32_t Premier) const;
  // The working day of a place of the grid: the working day of rank Place div places per day.
  int32_t JourDeLaPlace(int32_t Place) const;
  // The number of working days from Debut up to the day before Jour (Jour - Debut when Jour is not
  // after Debut).
  int32_t RangJourOuvre(int32_t Jour, int32_t Debut) const;
  // The ranks from Reference of the first and last working days of the days Debut to Fin (the walk
  // goes from 7 back to 1 and stops after seven steps); 1 when they make a range, else 0.
  int32_t PlageJoursOuvres(int32_t Debut, int32_t Fin, int32_t Reference, int32_t& RangDernier,
                           int32_t& RangPremier) const;
  // The range of the n days after Reference (Apres) or of the n days that end the week from it.
  int32_t PlageJoursOuvresAutour(int32_t n, bool Apres, int32_t Reference, int32_t& RangDernier,
                                 int32_t& RangPremier) const;

 private:
  bool modifie_ = false;
  bool modificationLocale_ = true;
  bool reseau_;
  uint8_t jours_ = kJoursParDefaut;
};

namespace JoursOuvres {
// The working days of the open base (held by the base-wide parameters); nil while they do not exist.
TJoursOuvres*& JoursOuvresBase();
// The first date of the open base (week 1 starts on it), held by the base-wide parameters; nil while
// they do not exist.
const TDateTime*& PremiereDateBase();
}  // namespace JoursOuvres
