#include "base/sites/SupSites.h"

#include <algorithm>
#include <cstring>

#include "base/SupParametresGrille.h"
#include "base/sites/SupSite.h"
#include "base/sites/SupTrajetSite.h"

namespace {

int32_t PlacesParJour() { return SupParametresGrille::Parametres().PlacesParJour; }

void Poser32(uint8_t* p, int32_t v) { std::memcpy(p, &v, 4); }
int32_t Lire32(const uint8_t* p) {
  int32_t v;
  std::memcpy(&v, p, 4);
  return v;
}

}  // namespace

void* TSites::TableSites() const { return SupSite::Fichier().Table; }

void* TSites::TableTrajets() const { return SupTrajetSite::Fichier().Table; }

bool TSites::CreerTables() {
  if (SupSite::Fichier().CreerTable() && SupTrajetSite::Fichier().CreerTable()) return true;
  LibererTables();
  return false;
}

void TSites::LibererTables() {
  SupSite::Fichier().LibererTable();
  SupTrajetSite::Fichier().LibererTable();
}

bool TSites::InscrireFichiers() {
  const bool sites = SupSite::Fichier().InscrireFichier() == SupSite::kPlace;
  return SupTrajetSite::Fichier().InscrireFichier() == SupTrajetSite::kPlace && sites;
}

void TSites::EmpilerPositions() {
  SupSite::Fichier().EmpilerPosition();
  SupTrajetSite::Fichier().EmpilerPosition();
}

void TSites::DepilerPositions() {
  SupTrajetSite::Fichier().DepilerPosition();
  SupSite::Fichier().DepilerPosition();
}

void TSites::ParametresParDefaut() {
  const uint32_t p = static_cast<uint32_t>(PlacesParJour());
  TypeParametresSite s;
  s.Pause1Position = 1;
  s.Pause2Position = static_cast<int32_t>(std::max(p / 2, static_cast<uint32_t>(s.Pause1Position + 2)));
  s.Pause3Position = static_cast<int32_t>(std::max(p, static_cast<uint32_t>(s.Pause2Position + 3)) - 1);
  parametres_ = s;
}

void TSites::LireParametres(TStream& Flux) {
  uint8_t b[kTailleParametres];
  Flux.ReadBuffer(b, kTailleParametres);
  TypeParametresSite& s = parametres_;
  s.Activation = b[0];
  s.Pause1Active = b[4];
  s.Pause1Position = Lire32(b + 8);
  s.Pause2Active = b[12];
  s.Pause2Position = Lire32(b + 16);
  s.Pause3Active = b[20];
  s.Pause3Position = Lire32(b + 24);
  s.MaxChangementsProfs = Lire32(b + 28);
  s.MaxChangementsEleves = Lire32(b + 32);
}

void TSites::EcrireParametres(TStream& Flux) const {
  const TypeParametresSite& s = parametres_;
  uint8_t b[kTailleParametres] = {};
  b[0] = s.Activation;
  b[4] = s.Pause1Active;
  Poser32(b + 8, s.Pause1Position);
  b[12] = s.Pause2Active;
  Poser32(b + 16, s.Pause2Position);
  b[20] = s.Pause3Active;
  Poser32(b + 24, s.Pause3Position);
  Poser32(b + 28, s.MaxChangementsProfs);
  Poser32(b + 32, s.MaxChangementsEleves);
  Flux.WriteBuffer(b, kTailleParametres);
}

uint8_t TSites::PauseActive(int32_t N) const {
  switch (N) {
    case 1: return parametres_.Pause1Active;
    case 2: return parametres_.Pause2Active;
    case 3: return parametres_.Pause3Active;
    default: return 0;
  }
}

int32_t TSites::PositionPause(int32_t N) const {
  switch (N) {
    case 1: return parametres_.Pause1Position;
    case 2: return parametres_.Pause2Position;
    case 3: return parametres_.Pause3Position;
    default: return PlacesParJour() - 1;
  }
}

int32_t TSites::MaxChangementsDeSite(uint8_t Genre) const {
  if (Genre == 0) return parametres_.MaxChangementsProfs;
  if (Genre >= 1 && Genre <= 4) return parametres_.MaxChangementsEleves;
  return PlacesParJour();
}

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

bool PlaceDesSites(int32_t Place) { return Place == SupSite::kPlace || Place == SupTrajetSite::kPlace; }

}  // namespace SupSites
