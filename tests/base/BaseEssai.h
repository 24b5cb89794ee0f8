// The open base of the tests: the 42 files created and registered, a data client that the test
// drives (exclusive mode, or a server that answers requests), and the holder of the open base.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "base/EcrGlobale.h"
#include "base/SupDisponibilite.h"
#include "base/SupFichiers.h"
#include "base/SupParametresGrille.h"
#include "base/cours/SupCours.h"
#include "tests/base/ArticleEssai.h"
#include "net/NetClient.h"
#include "net/NetXi.h"
#include "objectdb/Traduction.h"

struct RequeteEnvoyee {
  uint32_t Code;
  int32_t Parametre;
  std::vector<uint8_t> Donnees;
  bool AfficherAttente = false;
};

class ClientEssai final : public IClientDonnees {
 public:
  bool Exclusif = false;
  std::vector<RequeteEnvoyee> Envoyees;
  // The server: answers a request, may apply orders meanwhile and write its answer.
  std::function<bool(const RequeteEnvoyee&, void* Reponse)> Serveur;

  bool PasserParServeur() override { return !Exclusif; }
  bool EnvoyerRequeteSynchrone(uint32_t Code, int32_t Parametre, int32_t Taille, const void* Donnees,
                               bool AfficherAttente, void* Reponse, int32_t /*TailleReponse*/) override {
    RequeteEnvoyee r{Code, Parametre, {}, AfficherAttente};
    if (Donnees != nullptr && Taille > 0) {
      const auto* d = static_cast<const uint8_t*>(Donnees);
      r.Donnees.assign(d, d + Taille);
    }
    Envoyees.push_back(r);
    return Serveur ? Serveur(r, Reponse) : false;
  }
};

// A received order: kind, table number, identifier, stored record.
inline std::vector<uint8_t> OrdreRecu(uint8_t genre, int32_t table, int32_t identifiant,
                                      const std::vector<uint8_t>& stocke) {
  std::vector<uint8_t> m(9);
  m[0] = genre;
  std::memcpy(&m[1], &table, 4);
  std::memcpy(&m[5], &identifiant, 4);
  m.insert(m.end(), stocke.begin(), stocke.end());
  return m;
}

inline void Recevoir(const std::vector<uint8_t>& ordre) {
  NetClient::AppliquerOrdreModif(ordre.data(), static_cast<int32_t>(ordre.size()));
}

// A counted string of `capacite` characters as bytes.
inline std::vector<uint8_t> Chaine(const std::string& texte, std::size_t capacite) {
  std::vector<uint8_t> v(capacite + 1, 0);
  v[0] = static_cast<uint8_t>(texte.size());
  std::memcpy(v.data() + 1, texte.data(), texte.size());
  return v;
}

class BaseOuverte : public ::testing::Test {
 protected:
  void SetUp() override {
    NetClient::ClientDonnees() = &client_;
    EcrGlobale::FicheGlobales() = &fiche_;
    SupCours::PlaceAucune() = static_cast<uint32_t>(SupParametresGrille::Parametres().NombrePlaces);
    ASSERT_TRUE(SupFichiers::CreerTables());
    ASSERT_TRUE(SupFichiers::EnregistrerTousLesFichiers());
    NetClient::BaseChargee() = true;
  }

  void TearDown() override {
    NetClient::BaseChargee() = false;
    SupFichiers::LibererTables();
    NetXi::LibererTables();
    SupFichiers::NumerosTables().fill(0);
    NetClient::ClientDonnees() = nullptr;
    EcrGlobale::FicheGlobales() = nullptr;
    SupDisponibilite::ModeDAcces() = SupDisponibilite::kModeModification;
    Traduction::Vider();
  }

  ClientEssai client_;
  TFicheGlobales fiche_;
};
