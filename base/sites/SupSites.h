// The sites of the base as one object (TSites, reached through SupSites::Sites): it holds the site
// parameters (whether sites are taken into account, three pauses of the day, the maximum number of
// site changes a day) and answers what the other files ask about sites when they read their stored
// site references. The site parameters travel byte for byte in the base parameter block, which
// reads and writes them through this object. Main thread only.
#pragma once

#include <cstdint>

#include "core/serial/Streams.h"

// The site parameters (36 bytes as stored; the padding bytes are written as zeros).
struct TypeParametresSite {
  uint8_t Activation = 0;  // 0 no sites, 1 sites, 2 sites with pauses
  uint8_t Pause1Active = 0;
  int32_t Pause1Position = 1;  // places of the day, 0-based
  uint8_t Pause2Active = 0;
  int32_t Pause2Position = 0;
  uint8_t Pause3Active = 0;
  int32_t Pause3Position = 0;
  int32_t MaxChangementsProfs = 3;
  int32_t MaxChangementsEleves = 3;
};

class TSites {
 public:
  static constexpr int32_t kTailleParametres = 36;

  // The tables of ".SIT" and ".TSI"; nil while they do not exist.
  void* TableSites() const;
  void* TableTrajets() const;
  // Creates both tables (False, both freed, when one is refused); frees both.
  bool CreerTables();
  void LibererTables();
  // Registers ".SIT" then ".TSI" with the table registry: True when they took their places.
  bool InscrireFichiers();
  // Saves the current records of both tables (sites first); restores them (travels first).
  void EmpilerPositions();
  void DepilerPositions();

  TypeParametresSite& Parametres() { return parametres_; }
  // The defaults for the grid's P places per day: pauses at 1, max(P div 2, 3) and
  // max(P, pause 2 + 3) - 1 (unsigned comparisons), three changes a day.
  void ParametresParDefaut();
  // Reads the 36 bytes (EReadError when short); writes them.
  void LireParametres(TStream& Flux);
  void EcrireParametres(TStream& Flux) const;

  uint8_t Activation() const { return parametres_.Activation; }
  bool SitesActifs() const { return parametres_.Activation != 0; }
  bool ActivationAvecPauses() const { return parametres_.Activation == 2; }
  // The active flag of pause N (1 to 3); 0 for any other N.
  uint8_t PauseActive(int32_t N) const;
  // The position of pause N (1 to 3); the last place of the day for any other N.
  int32_t PositionPause(int32_t N) const;
  // The maximum site changes a day of a resource kind: teachers' for kind 0, students' for kinds 1
  // to 4; the places per day (no practical limit) for any other kind.
  int32_t MaxChangementsDeSite(uint8_t Genre) const;

  // The record number of the default site, except for Genre 1 (a course without a site has none),
  // which gives 0. Rooms ask with Genre 2.
  uint32_t SiteParDefaut(uint8_t Genre) const;
  // The NumeroSite of a record number, 0 when no site has that record number.
  uint32_t NumeroDeSite(uint32_t Site) const;
  // True and the record number of the site numbered NumeroSite; else False and SiteParDefaut(Genre).
  // Number 0 names no site.
  bool ChercherSite(uint32_t NumeroSite, uint32_t& Site, uint8_t Genre) const;

 private:
  TypeParametresSite parametres_;
};

namespace SupSites {

// The single instance.
TSites& Sites();
// True for the places of the files the sites object holds (".SIT" and ".TSI"), which the loops over
// every file reach through it, at the place of ".SIT".
bool PlaceDesSites(int32_t Place);

}  // namespace SupSites
