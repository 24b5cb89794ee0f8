#include "base/SupFichiers.h"

#include "base/cours/SupCours.h"
#include "base/cours/SupExtra.h"
#include "base/cours/SupFractionnementCours.h"
#include "base/fichiers/FichiersBase.h"
#include "base/sites/SupSite.h"
#include "base/sites/SupSites.h"
#include "core/objects/Exceptions.h"
#include "core/records/Xi.h"
#include "net/NetBases.h"
#include "net/NetXi.h"
#include "net/netmodif.h"

namespace SupFichiers {

namespace {
struct Etat {
  std::array<int32_t, kNombreFichiers> numeros{};
  TypeVersionFormat version{};
  TypeEnsembleMemoire coursTouches{};
  bool importEnCours = false;
};
Etat& LEtat() {
  static Etat etat;
  return etat;
}
}  // namespace

std::array<int32_t, kNombreFichiers>& NumerosTables() { return LEtat().numeros; }
TypeVersionFormat& VersionBase() { return LEtat().version; }
TypeEnsembleMemoire& CoursTouches() { return LEtat().coursTouches; }
bool& ImportEnCours() { return LEtat().importEnCours; }

TFichierSup* Fichier(int32_t Place) {
  if (Place < 1 || Place > kNombreFichiers) return nullptr;
  return FichiersBase::OrdreDeBase()[static_cast<std::size_t>(Place - 1)];
}

bool CreerTables() {
  for (int32_t p = 1; p <= kNombreFichiers; ++p) {
    if (SupSites::PlaceDesSites(p) && p != SupSite::kPlace) continue;
    if (!(p == SupSite::kPlace ? SupSites::Sites().CreerTables() : Fichier(p)->CreerTable())) {
      LibererTables();
      return false;
    }
  }
  return true;
}

void LibererTables() {
  for (int32_t p = 1; p <= kNombreFichiers; ++p) {
    if (p == SupSite::kPlace) SupSites::Sites().LibererTables();
    else if (!SupSites::PlaceDesSites(p)) Fichier(p)->LibererTable();
  }
}

bool EnregistrerTousLesFichiers() {
  NetXi::LibererTables();
  bool tous = true;
  for (int32_t p = 1; p <= kNombreFichiers; ++p) {
    if (p == SupSite::kPlace) tous = SupSites::Sites().InscrireFichiers() && tous;
    else if (!SupSites::PlaceDesSites(p)) tous = Fichier(p)->InscrireFichier() == p && tous;
  }
  return tous;
}

TFichierSup* FichierIllisible() {
  for (int32_t p = 1; p <= kNombreFichiers; ++p)
    if (!Fichier(p)->DispositionLue(VersionBase(), NetBases::BaseAnterieure506())) return Fichier(p);
  return nullptr;
}

std::string TexteVersion(const TypeVersionFormat& Version) {
  return std::to_string(Version.Majeure) + "." + std::to_string(Version.Mineure) + "." +
         std::to_string(Version.Revision);
}

void SurDebutRequeteServeur() { Memoire::Reinitialiser(LEtat().coursTouches); }

void SurFinRequeteServeur() {
  TypeEnsembleMemoire& touches = LEtat().coursTouches;
  void* cours = SupCours::Fichier().Table;
  if (touches.Nombre > 0 && cours != nullptr) {
    SupCours::EmpilerPosition();
    for (uint32_t i = 0; i < touches.Nombre; ++i) {
      if (!Xi::AllerA(cours, touches.Elements[i])) continue;
      if (SupCours::Article()->Genre == SupCours::kFraction) {
        uint32_t position = 0;
        const uint32_t entier = SupFractionnementCours::NumeroCoursEntier();
        if (entier != 0 && Memoire::Chercher(entier, touches, position)) continue;
      }
      const bool extrait = SupFractionnementCours::PourChaqueFractionDuCours(&SupCours::CoursRetenuEtExtrait, true);
      SupExtra::MarquerExtractionCours(extrait, true);
    }
    SupCours::DepilerPosition();
  }
  Memoire::Liberer(touches);
}

void Initialiser() {
  LEtat().numeros.fill(0);
  Memoire::Initialiser(LEtat().coursTouches);
  netmodif::SurDebutRequete() = SurDebutRequeteServeur;
  netmodif::SurFinRequete() = SurFinRequeteServeur;
}

void Finaliser() {
  for (int32_t p = 1; p <= kNombreFichiers; ++p) Fichier(p)->Finaliser();
  Memoire::Liberer(LEtat().coursTouches);
  netmodif::SurDebutRequete() = [] {};
  netmodif::SurFinRequete() = [] {};
}

}  // namespace SupFichiers
