// The sites of the base as one object (TSites, reached through SupSites::Sites): what the other
// files ask about sites when they read their stored site references. The travels between sites and
// the site parameters come with the sites themselves. Main thread only.
#pragma once

#include <cstdint>

class TSites {
 public:
  // The record number of the default site, except for Genre 1 (a course without a site has none),
  // which gives 0. Rooms ask with Genre 2.
  uint32_t SiteParDefaut(uint8_t Genre) const;
  // The NumeroSite of a record number, 0 when no site has that record number.
  uint32_t NumeroDeSite(uint32_t Site) const;
  // True and the record number of the site numbered NumeroSite; else False and SiteParDefaut(Genre).
  // Number 0 names no site.
  bool ChercherSite(uint32_t NumeroSite, uint32_t& Site, uint8_t Genre) const;
};

namespace SupSites {

// The single instance.
TSites& Sites();

}  // namespace SupSites
