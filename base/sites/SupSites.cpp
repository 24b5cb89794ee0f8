#include "base/sites/SupSites.h"

#include "base/sites/SupSite.h"

uint32_t TSites::SiteParDefaut(uint8_t Genre) const { return Genre == 1 ? 0 : SupSite::SiteParDefaut(); }

uint32_t TSites::NumeroDeSite(uint32_t Site) const { return SupSite::NumeroDe(Site); }

bool TSites::ChercherSite(uint32_t NumeroSite, uint32_t& Site, uint8_t Genre) const {
  Site = SupSite::ArticleDeNumero(NumeroSite);
  if (Site != 0) return true;
  Site = SiteParDefaut(Genre);
  return false;
}

namespace SupSites {

TSites& Sites() {
  static TSites sites;
  return sites;
}

}  // namespace SupSites
