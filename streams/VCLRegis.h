// Typed access to the settings store under one key, in the machine hive and in the user hive: texts
// and 32-bit numbers read with a default and written, and the two hives merged with a priority.
// The web service's settings and the data client's connection settings go through it.
//
// Failures never raise: a read leaves its default, and every operation sets the error flag and one
// of the texts below; the store's own explanation (a corrupt hive file, a refused write) is kept in
// DetailErreur.
#pragma once

#include <cstdint>
#include <string>

#include "platform/registry/Registry.h"

namespace VCLRegis {

// The outcome of the last operation of a registry object.
struct TEtatErreur {
  bool Erreur = false;
  std::string Texte;   // "CreateKey failed for path ..." and the other texts of the system
  std::string Detail;  // the store's own explanation
};

// One read or write of the store, shared by the registry objects: the outcome replaces Etat.
// A read that fails leaves Valeur as it was.
bool Lire(TRegistryHive Ruche, const std::string& Chemin, const std::string& Nom, TRegistryValue& Valeur,
          TEtatErreur& Etat);
void Ecrire(TRegistryHive Ruche, const std::string& Chemin, const std::string& Nom, const TRegistryValue& Valeur,
            TEtatErreur& Etat);

inline TRegistryValue Chaine(const std::string& Texte) { return {HiveFile::kKindText, Texte, 0}; }
inline TRegistryValue Entier(int32_t Nombre) { return {HiveFile::kKindNumber, {}, static_cast<uint32_t>(Nombre)}; }

}  // namespace VCLRegis

class TRegistre {
 public:
  // The key path below the hive, for example "Software\Norvane\Tempravo\".
  std::string Racine;

  bool Erreur() const { return etat_.Erreur; }
  const std::string& TexteErreur() const { return etat_.Texte; }
  const std::string& DetailErreur() const { return etat_.Detail; }

  // A text value (at most 255 characters are kept), Defaut when the key or the value is missing.
  std::string LireChaineMachine(const std::string& Nom, const std::string& Defaut);
  std::string LireChaineUtilisateur(const std::string& Nom, const std::string& Defaut);
  // A number value, Defaut when the key or the value is missing.
  int32_t LireEntierMachine(const std::string& Nom, int32_t Defaut);
  int32_t LireEntierUtilisateur(const std::string& Nom, int32_t Defaut);
  // Create the key when needed and write the value.
  void EcrireChaineMachine(const std::string& Nom, const std::string& Valeur);
  void EcrireChaineUtilisateur(const std::string& Nom, const std::string& Valeur);
  void EcrireEntierMachine(const std::string& Nom, int32_t Valeur);
  void EcrireEntierUtilisateur(const std::string& Nom, int32_t Valeur);

  // Priorite 0: the user hive wins (the machine's value, or Defaut, is the default of the user's
  // read); 1: the machine hive wins (the other way round); any other: Defaut.
  void LireChaine(const std::string& Nom, const std::string& Defaut, std::string& Valeur, int32_t Priorite);
  int32_t LireEntier(const std::string& Nom, int32_t Defaut, int32_t Priorite);
  // Write to the user hive, then to the machine hive. The error flag tells whether either failed
  // (the machine hive's failure when both did).
  void EcrireChaine(const std::string& Nom, const std::string& Valeur);
  void EcrireEntier(const std::string& Nom, int32_t Valeur);

 private:
  std::string LireChaineDe(TRegistryHive Ruche, const std::string& Nom, const std::string& Defaut);
  int32_t LireEntierDe(TRegistryHive Ruche, const std::string& Nom, int32_t Defaut);
  void EcrireDansLesDeux(const std::string& Nom, const TRegistryValue& Valeur);

  VCLRegis::TEtatErreur etat_;
};
