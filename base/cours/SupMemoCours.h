// Course memos (".MCR"): free texts of at most 255 characters, each with a permanent number
// (`NumeroMemo`) by which a stored course refers to it. A course refers to at most one memo. A memo
// created here takes the base's last memo number plus one; reading a memo raises that counter to the
// memo's number when larger. Main thread only.
#pragma once

#include <cstdint>
#include <string>

#include "base/fichiers/FichierSup.h"

// As the file's declaration lays the record out; the stored record is the same 264 bytes, its first
// four being reserved (not read, written as zeros).
struct TypeEnregistrementMemo {
  int32_t Identifiant;
  uint32_t NumeroMemo;
  uint8_t Texte[256];  // counted string of 255
};
static_assert(sizeof(TypeEnregistrementMemo) == 264);

namespace SupMemoCours {

inline constexpr int32_t kPlace = 27;
inline constexpr uint32_t kTailleStockee = 264;
inline constexpr int32_t kCapaciteTexte = 255;
inline constexpr int32_t kOrdreNumero = 1, kOrdreIdentifiant = 2, kOrdreTexte = 3;
inline constexpr uint32_t kCodeCreerMemosParDefaut = 0x80270000;
inline constexpr uint32_t kCodeCreerMemo = 0x80270001;
inline constexpr uint32_t kCodeModifierMemo = 0x80270002;
inline constexpr uint32_t kCodeSupprimerMemo = 0x80270003;

TFichierSup& Fichier();
TypeEnregistrementMemo* Article();

// Makes the memo of that number current; when there is none the former memo is current again.
bool ChercherMemoParNumero(uint32_t NumeroMemo);
// The record number of the memo of that number, 0 when none (or 0); the position is kept.
uint32_t NumeroArticleDuMemo(uint32_t NumeroMemo);
// Request 0x80270000 (no default memos).
bool CreerMemosParDefaut();

// Server route: sends the text (256 bytes) and answers the verdict; the new memo arrives by the
// server's order and is not made current. Local route: a new memo with the next memo number, which
// becomes current; the counter is raised, the creation notified and the base marked modified.
bool CreerMemo(const std::string& Texte);
// The current memo's text. Server route: the text with the key 0. Local route: the record changed,
// the change notified, the base marked modified.
bool ModifierMemo(const std::string& Texte);
// Deletes the current memo. Server route: its memo number as key, the verdict answered. Local route:
// the deletion notified and done, the base marked modified; True once the memo is gone.
bool SupprimerMemo();

// Inserts a memo directly, without request or notification: the readers of older course layouts
// turn the text that their records held into a memo this way. The next memo number, the counter
// raised. Answers the memo's record number, 0 when the insertion failed; the position is kept.
uint32_t InsererMemoDirectement(const std::string& Texte);
// Gives the memo of that record number the text directly; False when it does not exist.
bool ModifierMemoDirectement(uint32_t NumeroArticle, const std::string& Texte);
// Deletes the memo of that record number directly.
void SupprimerMemoDirectement(uint32_t NumeroArticle);

}  // namespace SupMemoCours
