#include "streams/SupToutesTables.h"

#include <algorithm>
#include <cstring>

#include "base/IEStream.h"
#include "base/SupFichiers.h"
#include "base/SupParametresGrille.h"
#include "base/cours/SupCours.h"
#include "base/sites/SupSite.h"
#include "base/sites/SupSites.h"
#include "core/records/Comparai.h"
#include "core/records/Xi.h"
#include "core/serial/Streams.h"

namespace SupToutesTables {

namespace {
struct Etat {
  void* memos = nullptr;
  std::array<uint8_t, kTailleReglagesUtilisateur> reglages{};
};
Etat& LEtat() {
  static Etat etat;
  return etat;
}
TypeMemo* Memo() { return static_cast<TypeMemo*>(LEtat().memos); }

void LibererMemos() {
  Xi::Detruire(LEtat().memos);
  LEtat().memos = nullptr;
}

bool CreerMemos() {
  LibererMemos();
  void*& t = LEtat().memos;
  Xi::Creer(t, 0, kTailleMemo, 1);
  if (t == nullptr) return false;
  if (!Xi::DefinirOrdre(t, 1, 1, true) ||
      !Xi::DefinirColonne(t, 1, 1, &Memo()->Numero, 4, &Comparai::ComparerCardinal)) {
    LibererMemos();
    return false;
  }
  return true;
}

bool EstInferieure(uint32_t a, uint32_t b, uint32_t c, uint32_t A, uint32_t B, uint32_t C) {
  if (a != A) return a < A;
  if (b != B) return b < B;
  return c < C;
}

// After a short read, places the stream after the memos that remained unread; True when it holds them.
bool Sauter(TStream& Flux, int64_t Position, int64_t Restants, int64_t Taille) {
  const int64_t cible = Position + Restants * Taille;
  if (cible > Flux.Size()) return false;
  Flux.SetPosition(cible);
  return true;
}
}  // namespace

void* TableMemos() { return LEtat().memos; }

bool CreerToutesLesTables() {
  LibererToutesLesTables();
  // The place none of the courses is the loaded grid's number of places, known before any course loads.
  SupCours::PlaceAucune() = static_cast<uint32_t>(std::max(SupParametresGrille::Parametres().NombrePlaces, 0));
  if (!SupFichiers::CreerTables() || !CreerMemos() || !SupSite::CreerTableDesOrdres()) {
    LibererToutesLesTables();
    return false;
  }
  return true;
}

void LibererToutesLesTables() {
  SupFichiers::LibererTables();
  LibererMemos();
  SupSite::LibererTableDesOrdres();
}

void EmpilerToutesLesPositions() {
  for (int32_t p = 1; p <= SupFichiers::kNombreFichiers; ++p) {
    if (p == SupSite::kPlace) SupSites::Sites().EmpilerPositions();
    else if (!SupSites::PlaceDesSites(p)) SupFichiers::Fichier(p)->EmpilerPosition();
  }
}

void DepilerToutesLesPositions() {
  for (int32_t p = 1; p <= SupFichiers::kNombreFichiers; ++p) {
    if (p == SupSite::kPlace) SupSites::Sites().DepilerPositions();
    else if (!SupSites::PlaceDesSites(p)) SupFichiers::Fichier(p)->DepilerPosition();
  }
}

bool LireMemos(TStream& Flux, uint32_t Majeure, uint32_t Mineure, uint32_t Revision) {
  if (Memo() == nullptr) return false;
  const bool ancien = EstInferieure(Majeure, Mineure, Revision, 4, 0, 4);
  const bool avecTaille = !ancien || !EstInferieure(Majeure, Mineure, Revision, 3, 0, 11);
  int32_t nombre = 0, taille = 0;
  if (Flux.Read(&nombre, 4) != 4 || nombre < 0) return false;
  if (avecTaille && Flux.Read(&taille, 4) != 4) return false;
  const int32_t attendue = ancien ? kTailleMemoAncien : kTailleMemo;
  if (avecTaille && taille != attendue) return false;
  const int64_t debut = Flux.Position();
  for (int32_t i = 0; i < nombre; ++i) {
    uint8_t lu[kTailleMemo];
    if (Flux.Read(lu, attendue) != attendue) return avecTaille && Sauter(Flux, debut, nombre, attendue);
    TypeMemo* m = Memo();
    if (!ancien) {
      std::memcpy(m, lu, kTailleMemo);
    } else {
      // The old halves of 500 bytes: the first one's three parts go to their places in the first
      // text, the second one starts the second text.
      std::memset(m, 0, kTailleMemo);
      std::memcpy(&m->Numero, lu, 4);
      const uint8_t* premiere = lu + 4;
      std::memcpy(m->Texte1, premiere, 141);
      std::memcpy(m->Texte1 + 341, premiere + 141, 52);
      std::memcpy(m->Texte1 + 593, premiere + 193, 307);
      std::memcpy(m->Texte2, lu + 504, 500);
    }
    (void)Xi::Inserer(LEtat().memos);
  }
  return true;
}

bool EcrireMemos(TStream& Flux) {
  void* t = LEtat().memos;
  const int32_t entete[2] = {t != nullptr ? static_cast<int32_t>(Xi::Nombre(t)) : 0, kTailleMemo};
  if (Flux.Write(entete, 8) != 8) return false;
  if (t == nullptr) return true;
  Xi::SauverPosition(t);
  bool ok = true;
  for (bool encore = Xi::Premier(t, 0); encore && ok; encore = Xi::Suivant(t, 0))
    ok = Flux.Write(Memo(), kTailleMemo) == kTailleMemo;
  Xi::RestaurerPosition(t);
  return ok;
}

std::array<uint8_t, kTailleReglagesUtilisateur>& ReglagesUtilisateur() { return LEtat().reglages; }

bool LireReglagesUtilisateur(TStream& Flux, uint32_t Majeure, uint32_t Mineure, uint32_t Revision) {
  if (EstInferieure(Majeure, Mineure, Revision, 3, 1, 99)) return false;
  auto& r = LEtat().reglages;
  if (!EstInferieure(Majeure, Mineure, Revision, 4, 0, 99)) return TIEStream::Lire(&Flux, r.data(), 10);
  uint8_t ancien[8];
  if (!TIEStream::Lire(&Flux, ancien, 8)) return false;
  static constexpr int kPlaces[8] = {0, 1, 3, 4, 5, 6, 7, 8};
  r.fill(0);
  for (int i = 0; i < 8; ++i) r[static_cast<std::size_t>(kPlaces[i])] = ancien[i];
  return true;
}

bool EcrireReglagesUtilisateur(TStream& Flux) {
  return TIEStream::Ecrire(&Flux, LEtat().reglages.data(), kTailleReglagesUtilisateur);
}

void Initialiser() { LEtat().reglages.fill(0); }

void Finaliser() { LibererToutesLesTables(); }

}  // namespace SupToutesTables
