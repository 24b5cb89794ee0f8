// Classes of the network-object tests: identifiable objects with content (one derived, one unrelated),
// an order whose published properties travel in each direction, and implementations of the
// interlocutor interface that run the order on a "server" through bytes or fail.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/objects/Erreur.h"
#include "net/objets/ObjetReseau.h"
#include "net/objets/OrdreReseau.h"

class TObjetTest : public TObjetIdentifiable, public IContenuObjet {
  NV_DECLARE_CLASS(TObjetTest)
 public:
  TObjetTest() = default;
  explicit TObjetTest(TBlank b) : TObjetIdentifiable(b) {}
  int32_t Valeur = 0;
  void EcrireContenu(IFormateur* Formateur) override { Formateur->EcrireEntier(Valeur); }
  void LireContenu(IFormateur* Formateur) override;

 protected:
  void* GetInterfaceEntry(const TGUID& iid) override;
};

class TObjetTestDerive : public TObjetTest {
  NV_DECLARE_CLASS(TObjetTestDerive)
 public:
  using TObjetTest::TObjetTest;
};

class TAutreObjet : public TObjetIdentifiable {
  NV_DECLARE_CLASS(TAutreObjet)
 public:
  using TObjetIdentifiable::TObjetIdentifiable;
};

// Numero and Nom travel with the request, Resultat with the answer. Executer doubles Numero into
// Resultat and renames Nom; a negative Numero fails with a tree of two levels.
class TOrdreTest : public TOrdreReseau {
  NV_DECLARE_CLASS(TOrdreTest)
 public:
  static constexpr TInfoPropriete kProprietes[] = {
      {"Numero", "Integer", tkInteger, nullptr, 0, true},
      {"Nom", "String", tkLString, nullptr, 1, true},
      {"Resultat", "Integer", tkInteger, nullptr, 2, true},
  };
  TOrdreTest() = default;
  explicit TOrdreTest(TBlank b) : TOrdreReseau(b) {}

  TListeParametresPublies* CreerParametres() override;
  TErreur* Executer() override;

  int32_t Numero();
  void SetNumero(int32_t v);
  std::string Nom();
  void SetNom(const std::string& v);
  int32_t Resultat();
};

// An order class that declares a property whose type has no parameter class.
class TOrdreTypeInconnu : public TOrdreReseau {
  NV_DECLARE_CLASS(TOrdreTypeInconnu)
 public:
  static constexpr TInfoPropriete kProprietes[] = {{"Bizarre", "TTypeSansParametre", tkRecord, nullptr, 0, true}};
  using TOrdreReseau::TOrdreReseau;
  TErreur* Executer() override { return nullptr; }
};

// An order class without parameters.
class TAutreOrdre : public TOrdreReseau {
  NV_DECLARE_CLASS(TAutreOrdre)
 public:
  using TOrdreReseau::TOrdreReseau;
  TErreur* Executer() override { return nullptr; }
};

// An order whose one parameter, an object, travels by reference both ways.
class TOrdreCible : public TOrdreReseau {
  NV_DECLARE_CLASS(TOrdreCible)
 public:
  static constexpr TInfoPropriete kProprietes[] = {{"Cible", "TObject", tkClass, nullptr, 0, true}};
  using TOrdreReseau::TOrdreReseau;
  TListeParametresPublies* CreerParametres() override;
  TErreur* Executer() override { return nullptr; }
};

// The server end: the order's request goes through bytes to a copy read on the other side, which
// runs there; its answer comes back through bytes into the caller's order.
class TServeurOctets : public TObjetInterfacable, public IInterlocuteurReseau {
 public:
  TErreur* EnvoyerOrdreReseauSynchrone(TOrdreReseau* Ordre) override;
  void EnvoyerOrdreReseau(TOrdreReseau* Ordre) override { envoyes.push_back(Ordre); }
  std::vector<uint8_t> requete;  // the last request's bytes
  std::vector<TOrdreReseau*> envoyes;

 protected:
  void* GetInterfaceEntry(const TGUID& iid) override;
};

// An implementation whose every order fails with "echec <Nom>".
class TEchec : public TObjetInterfacable, public IInterlocuteurReseau {
 public:
  explicit TEchec(std::string nom) : nom_(std::move(nom)) {}
  TErreur* EnvoyerOrdreReseauSynchrone(TOrdreReseau*) override { return new TErreur("echec " + nom_); }
  void EnvoyerOrdreReseau(TOrdreReseau*) override {}

 protected:
  void* GetInterfaceEntry(const TGUID& iid) override;

 private:
  std::string nom_;
};

namespace TestsObjetsReseau {
// Registers the test classes by name (once).
void Enregistrer();
std::vector<uint8_t> Octets(TCustomFormatter& f);
// The number of objects the collector holds.
int Collectes();
}  // namespace TestsObjetsReseau
