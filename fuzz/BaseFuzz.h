// The open base of the fuzz targets that read records of the timetable base: the 42 files created
// and registered with the table registry, the base marked as received, and a data client in exclusive
// mode, so that received orders and local changes both reach the tables. Each input starts from an
// empty base, so that what a saved input does never depends on the inputs before it.
#pragma once

#include <cstdint>
#include <vector>

#include "base/EcrGlobale.h"
#include "net/NetClient.h"

namespace Fuzz {

class TBaseOuverte {
 public:
  TBaseOuverte();
  ~TBaseOuverte();
  TBaseOuverte(const TBaseOuverte&) = delete;
  TBaseOuverte& operator=(const TBaseOuverte&) = delete;

 private:
  class TClientExclusif final : public IClientDonnees {
   public:
    bool PasserParServeur() override { return false; }
    bool EnvoyerRequeteSynchrone(uint32_t, int32_t, int32_t, const void*, bool, void*, int32_t) override {
      return false;
    }
  };
  TClientExclusif client_;
  TFicheGlobales fiche_;
};

// A received order as the server sends it: kind, table number, identifier, stored record.
std::vector<uint8_t> Ordre(uint8_t Genre, int32_t Table, int32_t Identifiant, const std::vector<uint8_t>& Stocke);

}  // namespace Fuzz
