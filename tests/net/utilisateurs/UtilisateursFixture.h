// A user base filled by the tests: users, user profiles, server profiles and assignments built from
// a few fields, and a fixture that empties the tables and the current user around each test.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "net/utilisateurs/BaseUtilisateurs.h"
#include "net/utilisateurs/Login.h"
#include "net/utilisateurs/SupDroitFonctionnel.h"
#include "net/utilisateurs/Utilisateur.h"

inline TypeUtilisateur UnUtilisateur(uint32_t Ident, const std::string& Code, const std::string& MotDePasse = "",
                                     bool Administrateur = false) {
  TypeUtilisateur u;
  u.Identifiant = Ident;
  u.Code.Definir(Code);
  u.Nom.Definir("Nom " + Code);
  u.Login.Definir("login" + Code);
  u.MotDePasse.Definir(TMotDePasse(MotDePasse).GetCode());
  u.Administrateur = Administrateur;
  return u;
}

inline TypeGroupeUtilisateurs UnGroupe(uint32_t Ident, const std::string& Nom, uint8_t Genre,
                                       std::initializer_list<int> Bits) {
  TypeGroupeUtilisateurs g;
  g.Identifiant = Ident;
  g.Nom.Definir(Nom);
  g.Genre = Genre;
  for (int b : Bits) g.Droits[static_cast<std::size_t>(b / 8)] |= static_cast<uint8_t>(1u << (b % 8));
  return g;
}

inline TypeProfilServeur UnProfilServeur(uint32_t Ident, const std::string& Nom) {
  TypeProfilServeur p = TypeProfilServeur::Vierge();
  p.DefinirIdentifiant(Ident);
  p.DefinirNom(Nom);
  p.DefinirSecondNom("second " + Nom);
  return p;
}

inline TypeAffectation UneAffectation(uint32_t Ident, uint32_t ProfilServeur, uint32_t Groupe, uint32_t Utilisateur) {
  TypeAffectation a;
  a.Identifiant = Ident;
  a.ProfilServeur = ProfilServeur;
  a.ProfilUtilisateur = Groupe;
  a.Utilisateur = Utilisateur;
  return a;
}

// The user base holds one user, "USR", whose modification profile grants these rights only (and the
// right 54 that every change of the base asks for).
inline void AccorderSeulementLesDroits(std::initializer_list<int> Bits) {
  BaseUtilisateurs::ToutSupprimer();
  std::vector<int> tous(Bits);
  tous.push_back(54);
  TypeGroupeUtilisateurs g = UnGroupe(10, "G", kGenreModification, {});
  for (int b : tous) SupDroitFonctionnel::Ajouter(g.Droits, b);
  ASSERT_TRUE(BaseUtilisateurs::CreerGroupeUtilisateurs(g));
  ASSERT_TRUE(BaseUtilisateurs::CreerUtilisateur(UnUtilisateur(1, "USR")));
  ASSERT_TRUE(BaseUtilisateurs::CreerAffectation(UneAffectation(1, 100, 10, 1)));
}

class BaseUtilisateursTest : public ::testing::Test {
 protected:
  void SetUp() override { Vider(); }
  void TearDown() override { Vider(); }
  static void Vider() {
    BaseUtilisateurs::ToutSupprimer();
    Utilisateur::CodeUtilisateurCourant().clear();
    Utilisateur::IdentProfilServeurConnexion() = 0;
  }
};
