// Sites (".SIT"): the buildings or campuses an establishment teaches on. A site has a permanent
// number (NumeroSite), by which every other file refers to it in its stored form; in memory they
// refer to it by record number. The default site is the one named by the current translation of
// "SupEtatNomSiteDefaut".
//
// This unit holds the file and its reads; the site requests come with the sites and travels.
// Every read keeps the table's position. Main thread only.
#pragma once

#include <cstdint>
#include <string>

#include "base/fichiers/FichierSup.h"

// As the file's declaration lays the record out.
struct TypeEnregistrementSite {
  int32_t Identifiant;
  uint32_t NumeroSite;  // unique, never 0 for a site
  uint8_t Nom[31];      // counted string of 30, unique
  uint8_t Libre;
  int32_t Couleur;
};
static_assert(sizeof(TypeEnregistrementSite) == 44);

namespace SupSite {

inline constexpr int32_t kPlace = 17;
inline constexpr uint32_t kTailleStockee = 40;
inline constexpr int32_t kOrdreNumero = 1, kOrdreIdentifiant = 2, kOrdreNom = 3;

TFichierSup& Fichier();
TypeEnregistrementSite* Article();

// The name of the default site: the translation of "SupEtatNomSiteDefaut", cut to 30 characters.
std::string NomSiteParDefaut();
// The record number of the default site, 0 when no site has its name.
uint32_t SiteParDefaut();
// The NumeroSite of a record number, 0 when it holds no site.
uint32_t NumeroDe(uint32_t Site);
// The record number of the site numbered NumeroSite, 0 when none. Number 0 is no site.
uint32_t ArticleDeNumero(uint32_t NumeroSite);
bool NumeroExiste(uint32_t NumeroSite);

}  // namespace SupSite
