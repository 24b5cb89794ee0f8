// The golden stored course of every older layout (A to K), each field at the offset its layout
// gives it, and the versions that choose each layout: shared by the course tests and the whole-base
// stream tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "CoursEssai.h"

namespace essai_cours {

// The values of the golden course, the same in every layout that holds them.
inline const TypeDomaineHebdomadaire kSemaines = Semaines(1, 10), kPotentielles = Semaines(1, 20);
inline constexpr uint32_t kValeurPortee = 0xCAFEBABE, kEffectif = 33, kDerniere = 0x80190102;
inline constexpr int32_t kValeurPlacement = -7;
inline constexpr double kDate = 45000.5;

struct Disposition {
  char Nom;
  uint32_t Taille;
  TypeVersionFormat Dessous, Limite;  // just below the limit; the limit
};
// clang-format off
inline const std::vector<Disposition> kDispositions = {
    {'A', 64, {2, 0, 47, 9}, {2, 0, 48, 0}},   {'B', 76, {2, 0, 118, 0}, {2, 0, 119, 0}},
    {'C', 88, {2, 99, 0, 0}, {3, 0, 0, 0}},    {'D', 108, {3, 0, 0, 0}, {3, 0, 1, 0}},
    {'E', 108, {3, 0, 1, 0}, {3, 0, 2, 0}},    {'F', 112, {3, 0, 4, 0}, {3, 0, 5, 0}},
    {'G', 192, {3, 0, 5, 0}, {3, 0, 6, 0}},    {'H', 192, {3, 0, 11, 0}, {3, 0, 12, 0}},
    {'I', 200, {3, 0, 26, 0}, {3, 0, 27, 0}},  {'J', 200, {3, 1, 6, 0}, {3, 1, 7, 0}},
    {'K', 103, {4, 0, 98, 0}, {4, 0, 99, 0}},
};
// clang-format on

inline bool De(char Nom, const char* Dispositions) { return std::string(Dispositions).find(Nom) != std::string::npos; }

// The golden course as each layout stores it (offsets as the layouts lay them out).
inline Octets Stocke(char L) {
  const Disposition& d = kDispositions[static_cast<std::size_t>(L - 'A')];
  Octets s(d.Taille, 0);
  const bool abc = De(L, "ABC");
  if (L == 'A') {
    PoserSemaines(s, 0, kPotentielles);  // the weeks and the potential weeks are the same bytes
    Poser(s, 7, 1, 1);
    Poser(s, 8, 3, 2);
    Poser(s, 10, 2, 2);
    Poser(s, 16, kMatiere2, 4);
    Poser(s, 20, kPonderation2, 4);
    Poser(s, 24, kCoursTYP, 4);
    Poser(s, 36, static_cast<uint32_t>(kValeurPlacement), 4);
    Poser(s, 56, kValeurPortee, 4);
    return s;
  }
  if (abc) {
    PoserSemaines(s, 0, kSemaines);
    PoserSemaines(s, 7, kPotentielles);
    Poser(s, 15, 1, 1);
    Poser(s, 16, 3, 2);
    Poser(s, 18, 2, 2);
    Poser(s, 20, 7, 2);
    Poser(s, 24, kMatiere2, 4);
    Poser(s, 28, kPonderation2, 4);
    Poser(s, 32, kCoursTYP, 4);
    Poser(s, 44, static_cast<uint32_t>(kValeurPlacement), 4);
    Poser(s, 64, kValeurPortee, 4);
    Poser(s, 69, 1, 1);
    PoserChaine(s, 70, "ABC", 3);
    if (L == 'C') {
      PoserChaine(s, 74, "XYZ", 3);
      PoserReel(s, 80, kDate);
    }
    return s;
  }
  // D to K share their first 36 bytes.
  Poser(s, 0, 2, 1);
  Poser(s, 1, 1, 1);
  PoserSemaines(s, 2, kSemaines);
  PoserSemaines(s, 9, kPotentielles);
  Poser(s, 17, 1, 1);
  if (L == 'D') {
    Poser(s, 18, 1, 1);  // the place mode
  } else {
    Poser(s, 18, 5, 1);  // the compaction flags
    Poser(s, 19, 1, 1);
  }
  Poser(s, 20, 3, 2);
  Poser(s, 22, 2, 2);
  Poser(s, 24, 7, 2);
  Poser(s, 28, kMatiere2, 4);
  Poser(s, 32, kPonderation2, 4);
  if (De(L, "DEFG")) {
    Poser(s, 36, kCoursTYP, 4);
    Poser(s, 44, static_cast<uint32_t>(kValeurPlacement), 4);
    Poser(s, 64, kValeurPortee, 4);
    Poser(s, 69, 1, 1);
    PoserChaine(s, 70, "ABC", 3);
    PoserChaine(s, 74, "Memo D", 33);
    if (L != 'D' && L != 'E') Poser(s, 108, kEffectif, 4);
    if (L == 'G') {
      PoserChaine(s, 112, "XYZ", 3);
      PoserReel(s, 120, kDate);
    }
  } else if (L == 'H') {
    Poser(s, 36, kCoursTYP, 4);
    Poser(s, 44, kRegroupement, 4);
    Poser(s, 48, static_cast<uint32_t>(kValeurPlacement), 4);
    Poser(s, 68, kValeurPortee, 4);
    Poser(s, 73, 1, 1);
    PoserChaine(s, 74, "ABC", 3);
    PoserChaine(s, 78, "Memo D", 33);
    Poser(s, 112, kEffectif, 4);
    PoserChaine(s, 116, "XYZ", 3);
    PoserReel(s, 120, kDate);
  } else {  // I, J, K
    Poser(s, 36, kPonderation3, 4);
    Poser(s, 40, kCoursTYP, 4);
    Poser(s, 48, kRegroupement, 4);
    Poser(s, 52, static_cast<uint32_t>(kValeurPlacement), 4);
    if (L == 'K') {
      Poser(s, 69, kValeurPortee, 4);
      Poser(s, 74, 1, 1);
      PoserChaine(s, 75, "ABC", 3);
      Poser(s, 79, kNumeroMemo, 4);
      Poser(s, 83, kEffectif, 4);
      PoserChaine(s, 87, "XYZ", 3);
      PoserReel(s, 91, kDate);
      Poser(s, 99, kDerniere, 4);
    } else {
      Poser(s, 72, kValeurPortee, 4);
      Poser(s, 77, 1, 1);
      PoserChaine(s, 78, "ABC", 3);
      PoserChaine(s, 82, "Memo D", 33);
      Poser(s, 116, kEffectif, 4);
      PoserChaine(s, 120, "XYZ", 3);
      PoserReel(s, 128, kDate);
    }
  }
  return s;
}

}  // namespace essai_cours
