// Sub-families (".SFM"): the headings of a family, which the records of the family's genre receive
// through ".RFM". Two headings of one family never share a name (case ignored). In CFA mode the
// headings "T1", "T2", "T3", "A1" and "A2" of the family "CFA" are reserved: created with the default
// contents, never deleted.
//
// Older bases named some headings of the family "CCCA" otherwise: their readers rename them.
// Main thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "base/fichiers/FichierSup.h"
#include "core/records/Memoire.h"

// The in-memory sub-family record, as the file's declaration lays it out.
struct TypeEnregistrementSousFamille {
  int32_t Identifiant;
  uint32_t Famille;  // record number in ".FMR"
  uint8_t Nom[14];   // counted string of 13
  uint8_t Libre[2];
};
static_assert(sizeof(TypeEnregistrementSousFamille) == 24);

namespace SupSousFamille {

inline constexpr int32_t kPlace = 10;
inline constexpr uint32_t kTailleStockee = 20;
inline constexpr int32_t kOrdreFamilleNom = 1, kOrdreIdentifiant = 2;
inline constexpr uint32_t kCodeCreerSousFamillesParDefaut = 0x800C0000, kCodeCreerSousFamille = 0x800C0100,
                          kCodeModifierNomSousFamille = 0x800C0201, kCodeSupprimerSousFamille = 0x800C0300,
                          kCodeSupprimerTableauSousFamilles = 0x800C0302;

TFichierSup& Fichier();
TypeEnregistrementSousFamille* Article();

// The name a heading of an older base is read with: in the family named exactly "CCCA", the renamed
// headings of that version's reader (the name compared in lower case); else the name itself.
std::string NomLu(const TypeVersionFormat& Version, const std::string& NomFamille, const std::string& Nom);

// --- Housekeeping
void ViderArticle();
bool CreerTable();
void LibererTable();
void EmpilerPosition();
void DepilerPosition();
bool ChercherParIdentifiant(int32_t Identifiant);
int32_t InscrireFichier();
bool ContenuParDefaut();

// --- Requests (no right is tested)
// Through the server: the request. Locally, in CFA mode, when the subject family "CFA" exists: its
// reserved headings, "T1" to "A2" in that order, each its own request.
bool CreerSousFamillesParDefaut();
// Creates a heading (name cut to 13) of a family (record number); False, nothing sent, when the
// family does not exist. The family table's position is kept.
bool CreerSousFamille(const std::string& Nom, uint32_t Famille);
bool ModifierNomSousFamille(const std::string& Nom);
// Deletes the current heading; locally the assignments of it go first. A reserved heading is
// refused before anything is sent. Through the server: the verdict; locally always False (it is a
// walk routine, and True would stop the walk).
bool SupprimerSousFamille();
// True only when the record held a heading that no longer exists afterwards; position kept.
bool SupprimerSousFamilleNumero(uint32_t NumeroArticle);
// An empty selection: nothing. Through the server the selection then holds the headings the
// server's answer lists; locally those not deleted stay in it (record numbers holding none too).
// The verdict, or locally whether every heading was deleted.
bool SupprimerTableauSousFamilles(TypeEnsembleMemoire& Ensemble);

// --- Reads
// True in CFA mode when the current heading is one of the reserved names (case included) of the
// family "CFA". The family table's position is kept.
bool EstSousFamilleReservee();
// Calls Traitement with each heading of the current family current, in name order, until it
// answers True; that answer, else False. With Sauver the position is saved and restored; without
// it the heading that answered True stays current.
bool PourChaqueSousFamilleDeLaFamille(const std::function<bool()>& Traitement, bool Sauver);
// The number of headings of a family (record number); 0 when it holds no family.
uint32_t NombreSousFamilles(uint32_t Famille);
// The 1-based rank of a heading among those of its family, in name order; 0 when it holds none.
uint32_t RangSousFamille(uint32_t NumeroArticle);

}  // namespace SupSousFamille
