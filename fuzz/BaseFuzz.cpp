#include "fuzz/BaseFuzz.h"

#include <algorithm>
#include <cstring>

#include "base/SupFichiers.h"
#include "base/fichiers/FichierSup.h"
#include "fuzz/FuzzSupport.h"
#include "net/NetXi.h"

Fuzz::TBaseOuverte::TBaseOuverte() {
  Demarrer();
  NetClient::ClientDonnees() = &client_;
  EcrGlobale::FicheGlobales() = &fiche_;
  Verifier(SupFichiers::CreerTables(), "the 42 tables are created");
  Verifier(SupFichiers::EnregistrerTousLesFichiers(), "the 42 files are registered");
  NetClient::BaseChargee() = true;
}

Fuzz::TBaseOuverte::~TBaseOuverte() {
  NetClient::BaseChargee() = false;
  // Each file's shut-down frees its table and its verifier: nothing of the base outlives the input.
  for (int32_t place = 1; place <= 42; ++place) SupFichiers::Fichier(place)->Finaliser();
  NetXi::LibererTables();
  SupFichiers::NumerosTables().fill(0);
  NetClient::ClientDonnees() = nullptr;
  EcrGlobale::FicheGlobales() = nullptr;
}

std::vector<uint8_t> Fuzz::Ordre(uint8_t Genre, int32_t Table, int32_t Identifiant, const std::vector<uint8_t>& Stocke) {
  std::vector<uint8_t> m(9 + Stocke.size());
  m[0] = Genre;
  std::memcpy(&m[1], &Table, 4);
  std::memcpy(&m[5], &Identifiant, 4);
  std::copy(Stocke.begin(), Stocke.end(), m.begin() + 9);
  return m;
}
