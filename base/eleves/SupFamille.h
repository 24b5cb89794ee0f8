// Families (".FMR"): each classifies the records of one genre (subjects, teachers, diplomas,
// students, rooms, curricula, modules) under headings of its own (".SFM"), which the records receive
// through ".RFM". In CFA mode the subject family "CFA" is reserved: created with the default
// contents, never deleted.
//
// The meaning of the stored genre changed with the base format: each older base is read through the
// conversion of its version. Main thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "base/fichiers/FichierSup.h"
#include "core/records/Memoire.h"

// The in-memory family record, as the file's declaration lays it out.
struct TypeEnregistrementFamille {
  int32_t Identifiant;
  uint8_t Genre;
  uint8_t Nom[14];  // counted string of 13
  uint8_t Libre;
};
static_assert(sizeof(TypeEnregistrementFamille) == 20);

namespace SupFamille {

inline constexpr int32_t kPlace = 9;
inline constexpr uint32_t kTailleStockee = 15;
inline constexpr int32_t kOrdreGenreNom = 1, kOrdreIdentifiant = 2;
// The genres: the kind of the records a family classifies.
inline constexpr uint8_t kGenreMatiere = 0, kGenreEnseignant = 1, kGenreDiplome = 2, kGenreEleve = 3, kGenreSalle = 4,
                         kGenreCursus = 5, kGenreModule = 6;
inline constexpr uint32_t kCodeCreerFamillesParDefaut = 0x800B0000, kCodeCreerFamille = 0x800B0100,
                          kCodeModifierFamille = 0x800B0200, kCodeModifierNomFamille = 0x800B0201,
                          kCodeSupprimerFamille = 0x800B0300, kCodeSupprimerTableauFamilles = 0x800B0302;

TFichierSup& Fichier();
TypeEnregistrementFamille* Article();

// The genre that a stored genre byte means in a base of that format version (CFA mode given), and
// whether a family named Nom is renamed "CFA". False when the stored value names no genre: the
// family is refused.
bool ConvertirGenre(const TypeVersionFormat& Version, bool ModeCFA, uint8_t Stocke, const std::string& Nom,
                    uint8_t& Genre, bool& RenommerCFA);

// --- Housekeeping
void ViderArticle();
bool CreerTable();
void LibererTable();
void EmpilerPosition();
void DepilerPosition();
// The file's search routine: the identifier in order 2.
bool ChercherFamilleParNumero(int32_t Identifiant);
int32_t InscrireFichier();
bool ContenuParDefaut();

// --- Reads
// Name cut to 13; True when found (current).
bool ChercherFamille(const std::string& Nom, uint8_t Genre);
// Positions on the first family of the genre in order 1; True when there is one.
bool AllerAuDebutDuGenre(uint8_t Genre);
// True in CFA mode when the current family is named exactly "CFA".
bool EstFamilleCFA();
// Every family in record-number order until Routine answers non-zero (that answer, else 0), with the
// family current; the position is kept (with GarderPosition or without).
int32_t PourChaqueFamille(const std::function<int32_t()>& Routine, bool GarderPosition);
// The families of one genre in name order, the same way.
int32_t PourChaqueFamilleDuGenre(uint8_t Genre, const std::function<int32_t()>& Routine, bool GarderPosition);
uint32_t NombreDeFamillesDuGenre(uint8_t Genre);
// The 1-based rank of the current family among those of its genre; 1 when there is none.
uint32_t RangDeLaFamille();

// --- Requests (no right is tested)
// Through the server: the request. Locally, in CFA mode: the subject family "CCCA" is renamed "CFA",
// or else a subject family "CFA" is created.
bool CreerFamillesParDefaut();
// True when created; the new family is current.
bool CreerFamille(uint8_t Genre, const std::string& Nom);
// Writes a whole family record over the current one (its identifier kept).
bool ModifierFamille(const TypeEnregistrementFamille& Famille);
bool ModifierNomFamille(const std::string& Nom);
// Deletes the current family; locally its assignments and its headings go first. The reserved family
// is refused before anything is sent. Always False: it is a walk routine, and True would stop the
// walk.
bool SupprimerFamille();
// True only when the record held a family that no longer exists afterwards; position kept.
bool SupprimerFamilleParNumero(uint32_t NumeroArticle);
// An empty selection: nothing. Through the server the selection then holds the families the
// server's answer lists; locally the families not deleted stay in it (those of record numbers that
// hold none too). The verdict, or locally whether every family was deleted.
bool SupprimerTableauFamilles(TypeEnsembleMemoire& Ensemble);

}  // namespace SupFamille
