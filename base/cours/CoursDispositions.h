// The stored layouts of a course, shared by the reader and the writer. The base's format version
// chooses the layout while a base older than 5.0.6 is read; every later base, and every order, uses
// the current one (102 bytes). Each layout is a row of offsets (-1: the layout lacks the field) and
// the rules that distinguish it; one reader reads them all.
#pragma once

#include <array>
#include <cstdint>

#include "base/fichiers/FichierSup.h"

namespace CoursDispositions {

enum class TypeCompactage : uint8_t {
  Aucun,    // the layout has no flags: 0
  Booleen,  // a non-zero byte gives 2
  Tel,      // the byte as stored
};

struct TypeDisposition {
  char Nom;  // 'A'..'K', '*' for the current one
  uint32_t Taille;
  TypeVersionFormat Limite;  // the layout of bases below this version
  int16_t Genre, Statut, Semaines, SemainesPotentielles, SeancesMobiles, Compactage, ModePlace, Place, Duree,
      NombreSemaines, Matiere, Ponderation, Ponderation2, Typologie, Regroupement, ValeurPlacement, ValeurPortee,
      AccesLimite, Proprietaire, MemoTexte, MemoNumero, Effectif, ModifiePar, DateModification, DerniereModification,
      Site;
  TypeCompactage ReglesCompactage;
  bool Vider;            // A to G clear the buffer first
  bool TypologieSignee;  // from I on: 0 or less is the default course type
};

inline constexpr int16_t X = -1;  // the layout lacks the field
inline constexpr int32_t kCapaciteMemoAncien = 33;  // the memo text of D to J: 34 bytes

// clang-format off
inline constexpr std::array<TypeDisposition, 12> kDispositions = {{
  //     size  limit          Gen Sta Sem Pot Mob Cmp Mod Pla Dur NbS Mat Pon Po2 Typ Rgc VPl Por Acc Pro MeT MeN Eff ModP Dat Der Sit
  {'A',  64, {2, 0, 48, 0},   X,  7,  0,  0,  X,  X,  X,  8, 10,  X, 16, 20,  X, 24,  X, 36, 56,  X,  X,  X,  X,  X,  X,  X,  X,  X,
   TypeCompactage::Aucun, true, false},
  {'B',  76, {2, 0, 119, 0},  X, 15,  0,  7,  X,  X,  X, 16, 18, 20, 24, 28,  X, 32,  X, 44, 64, 69, 70,  X,  X,  X,  X,  X,  X,  X,
   TypeCompactage::Aucun, true, false},
  {'C',  88, {3, 0, 0, 0},    X, 15,  0,  7,  X,  X,  X, 16, 18, 20, 24, 28,  X, 32,  X, 44, 64, 69, 70,  X,  X,  X, 74, 80,  X,  X,
   TypeCompactage::Aucun, true, false},
  {'D', 108, {3, 0, 1, 0},    0,  1,  2,  9, 17,  X, 18, 20, 22, 24, 28, 32,  X, 36,  X, 44, 64, 69, 70, 74,  X,  X,  X,  X,  X,  X,
   TypeCompactage::Aucun, true, false},
  {'E', 108, {3, 0, 2, 0},    0,  1,  2,  9, 17, 18, 19, 20, 22, 24, 28, 32,  X, 36,  X, 44, 64, 69, 70, 74,  X,  X,  X,  X,  X,  X,
   TypeCompactage::Booleen, true, false},
  {'F', 112, {3, 0, 5, 0},    0,  1,  2,  9, 17, 18, 19, 20, 22, 24, 28, 32,  X, 36,  X, 44, 64, 69, 70, 74,  X, 108, X,  X,  X,  X,
   TypeCompactage::Booleen, true, false},
  {'G', 192, {3, 0, 6, 0},    0,  1,  2,  9, 17, 18, 19, 20, 22, 24, 28, 32,  X, 36,  X, 44, 64, 69, 70, 74,  X, 108, 112, 120, X, X,
   TypeCompactage::Booleen, true, false},
  {'H', 192, {3, 0, 12, 0},   0,  1,  2,  9, 17, 18, 19, 20, 22, 24, 28, 32,  X, 36, 44, 48, 68, 73, 74, 78,  X, 112, 116, 120, X, X,
   TypeCompactage::Booleen, false, false},
  {'I', 200, {3, 0, 27, 0},   0,  1,  2,  9, 17, 18, 19, 20, 22, 24, 28, 32, 36, 40, 48, 52, 72, 77, 78, 82,  X, 116, 120, 128, X, X,
   TypeCompactage::Booleen, false, true},
  {'J', 200, {3, 1, 7, 0},    0,  1,  2,  9, 17, 18, 19, 20, 22, 24, 28, 32, 36, 40, 48, 52, 72, 77, 78, 82,  X, 116, 120, 128, X, X,
   TypeCompactage::Tel, false, true},
  {'K', 103, {4, 0, 99, 0},   0,  1,  2,  9, 17, 18, 19, 20, 22, 24, 28, 32, 36, 40, 48, 52, 69, 74, 75,  X, 79, 83, 87,  91, 99, X,
   TypeCompactage::Tel, false, true},
  {'*', 102, {},              0,  1,  2,  9, 16, 17, 18, 19, 21, 23, 27, 31, 35, 39, 47, 51, 64, 69, 70,  X, 74, 78, 82,  86, 94, 98,
   TypeCompactage::Tel, false, true},
}};
// clang-format on

// The layouts of bases below 3.0.12 (A to H) hold one weighting, which is the second one in CFA mode.
inline constexpr std::size_t kDerniereAvecUnePonderation = 7;  // H
inline constexpr std::size_t kCourante = kDispositions.size() - 1;

}  // namespace CoursDispositions
