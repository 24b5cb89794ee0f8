// The hour labels of the grid: a text for the start and for the end of every place of the day, each
// with two visibility flags (on screen, in print). One block of 2 rows of 145 entries of 9 bytes; the
// base parameter block stores the entries of the places of the day. Index P (one past the last place)
// is written too, so the block serves grids of up to 144 places per day.
#pragma once

#include <cstdint>
#include <string>

namespace SupLibelleHeure {

inline constexpr uint32_t kHoraire = 0x80040000;              // "CM_MODIFIER_HORAIRELIBELLEHEURE"
inline constexpr uint32_t kVisibleEcran = 0x80040001;         // "CM_MODIFIER_VISIBLEECRANLIBELLEHEURE"
inline constexpr uint32_t kVisibleImpression = 0x80040002;    // "CM_MODIFIER_VISIBLEIMPRESSIONLIBELLEHEURE"
inline constexpr int32_t kLongueurLibelle = 6;
inline constexpr int32_t kTailleEntree = 9;
inline constexpr int32_t kEntreesParRangee = 145;
inline constexpr int32_t kTailleRangee = kEntreesParRangee * kTailleEntree;  // 1305
inline constexpr int32_t kTailleBloc = 2 * kTailleRangee;                     // 2610
inline constexpr int32_t kTailleOrdreHoraire = 16;
inline constexpr int32_t kTailleOrdreVisible = 12;

// The block; nil before start-up and after shut-down.
uint8_t* LibellesHeure();
// The 9 bytes of entry (Rangee, Place); nil without the block or outside 2 x 145 entries.
uint8_t* Entree(int32_t Rangee, int32_t Place);
std::string Libelle(int32_t Rangee, int32_t Place);
bool VisibleEcran(int32_t Rangee, int32_t Place);
bool VisibleImpression(int32_t Rangee, int32_t Place);

// Setters: without the block, or with a row above 1 or a place outside 0..144, False. The label is cut
// to 6 characters; an unchanged value answers False; with Appliquer (an order) or in exclusive mode
// the value is stored (True); otherwise the request is sent and the verdict answered.
bool ModifierHoraireLibelleHeure(int32_t Rangee, int32_t Place, const std::string& Libelle, bool Appliquer);
bool ModifierVisibleEcranLibelleHeure(int32_t Rangee, int32_t Place, bool Valeur, bool Appliquer);
bool ModifierVisibleImpressionLibelleHeure(int32_t Rangee, int32_t Place, bool Valeur, bool Appliquer);
// Applies an order (Taille bytes of Donnees): 16 bytes for a label, 12 for a flag; shorter data, a
// bad row or place, or another code answer False and change nothing.
bool TraiterOrdre(uint32_t Code, int32_t Taille, const void* Donnees);

// Sets one label and recomputes the others: shifting (Decaler) moves every later label by the same
// minutes; generating writes every label from Place on, Place step by step from Libelle.
void CalculerLibellesHeure(int32_t Place, int32_t Rangee, int32_t Condition, bool Decaler, const std::string& Libelle);
// Every label generated from 8 o'clock at place 0.
void CreerLibellesHeureParDefaut();
// The first start and last end labels are shown; each end label takes the flags of the next start.
void AlignerVisibilites();
void DecoderLibelleHeure(const std::string& Libelle, int32_t& Heures, int32_t& Minutes);
void CoderLibelleHeure(int32_t Heures, int32_t Minutes, char Remplissage, std::string& Libelle);
bool LibelleHeureValide(const std::string& Libelle);

void Initialiser();
void Finaliser();

}  // namespace SupLibelleHeure
