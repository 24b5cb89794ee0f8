// Partitions (".PRT"): the ways a diploma divides its students. Every diploma has one partition with
// an empty name, its default partition; the others are named. A TD or an option belongs to one
// partition of its diploma and names it by the partition's number (NumeroPartition), a key that stays
// valid across renumbering; new partitions take the base's partition counter plus one.
//
// Three stored layouts: below 3.0.0 (24 bytes) the name, the diploma and the colour, each partition
// receiving a fresh number when it is created; below 4.0.8 (28 bytes) the number too; then the current
// 44 bytes. The older layouts hold at most 15 characters of name. Every read keeps the table's
// position unless it says it makes a partition current. Main thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "base/fichiers/FichierSup.h"
#include "core/records/Memoire.h"

// As the file's declaration lays the record out (a test checks that both agree).
struct TypeEnregistrementPartition {
  int32_t Identifiant;
  int32_t Numero;    // the partition's key, unique in practice
  uint8_t Nom[31];   // counted string of 30; empty for the default partition
  uint8_t Libre;
  uint32_t Diplome;  // record number in ".RES"
  uint32_t Couleur;  // 0x00BBGGRR
};
static_assert(sizeof(TypeEnregistrementPartition) == 48);

namespace SupPartition {

inline constexpr int32_t kPlace = 20;
inline constexpr uint32_t kTailleStockeeAvant300 = 24, kTailleStockeeAvant408 = 28, kTailleStockee = 44;
inline constexpr int32_t kOrdreDiplomeNom = 1, kOrdreIdentifiant = 2, kOrdreNumero = 3;
inline constexpr uint32_t kJaune = 0x00FFFF, kBleuCanard = 0x808000, kPourpre = 0x800080;
inline constexpr uint32_t kCodeCreerParDefaut = 0x80120000, kCodeCreer = 0x80120100, kCodeSupprimer = 0x80120300;
// The creation request: the name at 0 (counted string of 30), the diploma's identifier at 32.
inline constexpr int32_t kTailleCreation = 36;

TFichierSup& Fichier();
// The current-record buffer; nil while the table does not exist.
TypeEnregistrementPartition* Article();
bool ContenuParDefaut();

// --- Requests
// Creates a partition of a diploma (not the diploma kind's default resource); the name is cut to 30
// characters. Locally the partition takes the next number and the diploma's partitions are coloured
// again. True when the new partition exists (it is current).
bool CreerPartition(const std::string& Nom, uint32_t Diplome);
// Deletes the current partition. Locally its TDs and options go first (by the resource deletion) and
// the partitions of its diploma are coloured again. True when the request was sent or the partition
// deleted.
bool SupprimerPartition();
// Deletes the partition of that record number (the position is kept); True only when it is gone.
bool SupprimerPartitionNumero(uint32_t Partition);
// One request per partition of the selection, in order.
void SupprimerTableauDePartitions(const TypeEnsembleMemoire& Selection);
// Colours the partitions of the current resource when it is a diploma: its default partition yellow,
// its named partitions that hold TDs or options teal and purple in turn (in name order); a named
// partition without any keeps its colour.
void RecolorerPartitionsDuDiplome();

// --- Reads
// Makes the partition (Diplome, Nom) current; not found, the former current record is current again.
bool ChercherPartition(uint32_t Diplome, const std::string& Nom);
bool ChercherPartitionParDefaut(uint32_t Diplome);
// The record number of the diploma's default partition, 0 when none.
uint32_t PartitionParDefaut(uint32_t Diplome);
// Makes the partition numbered Numero current.
bool ChercherPartitionParCle(int32_t Numero);
// The record number of the partition numbered Numero, 0 when none.
uint32_t PartitionDeCle(int32_t Numero);
// The number of the partition at that record number, 0 when it holds none.
int32_t ClePartition(uint32_t Partition);

// Walks: Traitement is called with each partition (or resource) current until it answers True, which
// the walk answers (False when none did). The records are collected first, so Traitement may delete
// the current one; the position of the walked table is kept.
using TypeTraitement = std::function<bool()>;
// Every partition, by record number.
bool PourChaquePartition(const TypeTraitement& Traitement);
// The named partitions of a diploma, by name.
bool PourChaquePartitionNommeeDuDiplome(uint32_t Diplome, const TypeTraitement& Traitement);
// The TDs and options (current in ".RES") whose partition number is the current partition's.
bool PourChaqueRessourceDeLaPartition(const TypeTraitement& Traitement);
// Adds the current partition's record number to the set; False (a Traitement for the walks).
bool AjouterAEnsemble(TypeEnsembleMemoire& Ensemble);

}  // namespace SupPartition
