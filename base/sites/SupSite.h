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

#include "core/serial/Streams.h"

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
// True when the record number holds a site.
bool Existe(uint32_t Site);
// True when the current record carries the default site's name.
bool EstSiteParDefaut();

// The per-user order table: for each resource kind, the order in which the user lists the items of a
// site's view. It travels with the user's parameters; no computation reads it. Orders: 1 = kind, item
// (unique); 2 = kind, order number.
struct TypeEntreeOrdre {
  uint8_t Genre;
  uint8_t Element;  // 0 to 7
  uint8_t Drapeau;  // 1 in every default entry
  uint8_t Libre;
  uint32_t Ordre;
};
static_assert(sizeof(TypeEntreeOrdre) == 8);
inline constexpr int32_t kOrdreGenreElement = 1, kOrdreGenreOrdre = 2;

// The table's handle (its current entry is its buffer); nil while it does not exist.
void* TableDesOrdres();
// Creates it empty with its two orders (a former table is freed first); False when the engine
// refuses it.
bool CreerTableDesOrdres();
void LibererTableDesOrdres();
// Creates it again and fills the defaults of a new user.
bool CreerTableDesOrdresParDefaut();
// Reads the entries of a per-user stream of that version into the table as it is, then brings an
// older stream's table up to date; a stream with no entry gives the defaults. False when the header
// is short or wrong, an entry comes short or an entry repeats a kind and item already held.
bool LireTableDesOrdres(TStream& Flux, uint32_t Majeure, uint32_t Mineure, uint32_t Revision);
// The entry count, the entry size (8), then every entry by kind and order number; False when a write
// is short.
bool EcrireTableDesOrdres(TStream& Flux);

}  // namespace SupSite
