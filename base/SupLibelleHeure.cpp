#include "base/SupLibelleHeure.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "base/EcrGlobale.h"
#include "base/SupParametresGrille.h"
#include "base/SupTraitement.h"
#include "base/fichiers/FichierSup.h"
#include "net/NetBases.h"
#include "net/NetClient.h"
#include "objectdb/Traduction.h"

namespace SupLibelleHeure {

namespace {

constexpr int32_t kDecalageEcran = 7, kDecalageImpression = 8;

std::unique_ptr<uint8_t[]>& Bloc() {
  static std::unique_ptr<uint8_t[]> bloc;
  return bloc;
}

std::string LettreHeure() { return Traduction::Traduire("SupConstH"); }

std::string Couper(const std::string& Libelle) { return Libelle.substr(0, kLongueurLibelle); }

void EcrireLibelle(int32_t Rangee, int32_t Place, const std::string& Libelle) {
  if (uint8_t* e = Entree(Rangee, Place)) FichierSup::EcrireChaineCourte(e, kLongueurLibelle, Couper(Libelle));
}

void EcrireDrapeau(int32_t Rangee, int32_t Place, int32_t Decalage, bool Valeur) {
  if (uint8_t* e = Entree(Rangee, Place)) e[Decalage] = Valeur ? 1 : 0;
}

// The last place index that the recomputations write: P, held inside the block.
int32_t DernierIndex() {
  return std::clamp(SupParametresGrille::Parametres().PlacesParJour, 0, SupParametresGrille::kMaxPlacesParJour);
}

int32_t PlacesParHeure() { return std::max(1, SupParametresGrille::Parametres().PlacesParHeure); }

// A decimal integer after trimming blanks; 0 when the text is not one.
int32_t Entier(std::string Texte) {
  const auto debut = Texte.find_first_not_of(' ');
  if (debut == std::string::npos) return 0;
  Texte = Texte.substr(debut, Texte.find_last_not_of(' ') - debut + 1);
  std::size_t i = (Texte[0] == '-' || Texte[0] == '+') ? 1 : 0;
  if (i == Texte.size()) return 0;
  int64_t v = 0;
  for (; i < Texte.size(); ++i) {
    if (Texte[i] < '0' || Texte[i] > '9') return 0;
    v = v * 10 + (Texte[i] - '0');
    if (v > INT32_MAX) return 0;
  }
  return static_cast<int32_t>(Texte[0] == '-' ? -v : v);
}

std::string Decaler(const std::string& Libelle, int32_t Delta) {
  int32_t a = 0, b = 0;
  DecoderLibelleHeure(Libelle, a, b);
  const int64_t minutes = int64_t{b} + Delta;
  std::string resultat;
  CoderLibelleHeure(static_cast<int32_t>(a + minutes / 60), static_cast<int32_t>(minutes % 60), '0', resultat);
  return resultat;
}

bool Local(bool Appliquer) { return Appliquer || !NetClient::PasserParServeur(); }

void ApresStockage() {
  NetBases::ApresModificationLocale();
  EcrGlobale::MarquerBaseModifiee(EcrGlobale::FicheGlobales());
}

bool ModifierDrapeau(uint32_t Code, int32_t Decalage, int32_t Rangee, int32_t Place, bool Valeur, bool Appliquer) {
  uint8_t* e = Entree(Rangee, Place);
  if (e == nullptr || (e[Decalage] != 0) == Valeur) return false;
  SupTraitement::TraitementEmpile code(Code);
  if (Local(Appliquer)) {
    e[Decalage] = Valeur ? 1 : 0;
    ApresStockage();
    return true;
  }
  uint8_t donnees[kTailleOrdreVisible] = {};
  donnees[0] = static_cast<uint8_t>(Rangee);
  std::memcpy(donnees + 4, &Place, 4);
  donnees[8] = Valeur ? 1 : 0;
  return NetClient::EnvoyerRequeteServeur(Code, 0, sizeof donnees, donnees, false, nullptr);
}

}  // namespace

uint8_t* LibellesHeure() { return Bloc().get(); }

uint8_t* Entree(int32_t Rangee, int32_t Place) {
  if (!Bloc() || Rangee < 0 || Rangee > 1 || Place < 0 || Place >= kEntreesParRangee) return nullptr;
  return Bloc().get() + Rangee * kTailleRangee + Place * kTailleEntree;
}

std::string Libelle(int32_t Rangee, int32_t Place) {
  const uint8_t* e = Entree(Rangee, Place);
  return e != nullptr ? FichierSup::LireChaineCourte(e, kLongueurLibelle) : std::string();
}

bool VisibleEcran(int32_t Rangee, int32_t Place) {
  const uint8_t* e = Entree(Rangee, Place);
  return e != nullptr && e[kDecalageEcran] != 0;
}

bool VisibleImpression(int32_t Rangee, int32_t Place) {
  const uint8_t* e = Entree(Rangee, Place);
  return e != nullptr && e[kDecalageImpression] != 0;
}

bool ModifierHoraireLibelleHeure(int32_t Rangee, int32_t Place, const std::string& Libelle, bool Appliquer) {
  if (Entree(Rangee, Place) == nullptr) return false;
  const std::string libelle = Couper(Libelle);
  if (libelle == SupLibelleHeure::Libelle(Rangee, Place)) return false;
  SupTraitement::TraitementEmpile code(kHoraire);
  if (Local(Appliquer)) {
    EcrireLibelle(Rangee, Place, libelle);
    ApresStockage();
    return true;
  }
  uint8_t donnees[kTailleOrdreHoraire] = {};
  donnees[0] = static_cast<uint8_t>(Rangee);
  std::memcpy(donnees + 4, &Place, 4);
  FichierSup::EcrireChaineCourte(donnees + 8, kLongueurLibelle, libelle);
  return NetClient::EnvoyerRequeteServeur(kHoraire, 0, sizeof donnees, donnees, false, nullptr);
}

bool ModifierVisibleEcranLibelleHeure(int32_t Rangee, int32_t Place, bool Valeur, bool Appliquer) {
  return ModifierDrapeau(kVisibleEcran, kDecalageEcran, Rangee, Place, Valeur, Appliquer);
}

bool ModifierVisibleImpressionLibelleHeure(int32_t Rangee, int32_t Place, bool Valeur, bool Appliquer) {
  return ModifierDrapeau(kVisibleImpression, kDecalageImpression, Rangee, Place, Valeur, Appliquer);
}

bool TraiterOrdre(uint32_t Code, int32_t Taille, const void* Donnees) {
  if (Code != kHoraire && Code != kVisibleEcran && Code != kVisibleImpression) return false;
  const int32_t taille = Code == kHoraire ? kTailleOrdreHoraire : kTailleOrdreVisible;
  if (Donnees == nullptr || Taille < taille) return false;
  const auto* d = static_cast<const uint8_t*>(Donnees);
  const int32_t rangee = d[0];
  int32_t place = 0;
  std::memcpy(&place, d + 4, 4);
  if (Entree(rangee, place) == nullptr) return false;
  if (Code == kHoraire) ModifierHoraireLibelleHeure(rangee, place, FichierSup::LireChaineCourte(d + 8, kLongueurLibelle), true);
  else if (Code == kVisibleEcran) ModifierVisibleEcranLibelleHeure(rangee, place, d[8] != 0, true);
  else ModifierVisibleImpressionLibelleHeure(rangee, place, d[8] != 0, true);
  return true;
}

void CalculerLibellesHeure(int32_t Place, int32_t Rangee, int32_t Condition, bool Decaler, const std::string& Libelle) {
  if (Entree(Rangee, Place) == nullptr) return;
  const std::string libelle = Couper(Libelle);
  // Only a shift stops here: generating always writes every label from Place on.
  if (Decaler && (libelle.empty() || SupLibelleHeure::Libelle(Rangee, Place).empty() || Condition == 0)) {
    EcrireLibelle(Rangee, Place, libelle);
    return;
  }
  const int32_t h = PlacesParHeure();
  const int32_t pas = 60 / h;
  const int32_t dernier = DernierIndex();
  int32_t heures = 0, minutes = 0;
  DecoderLibelleHeure(libelle, heures, minutes);
  if (Decaler) {
    int32_t h0 = 0, m0 = 0;
    DecoderLibelleHeure(SupLibelleHeure::Libelle(Rangee, Place), h0, m0);
    if (heures == h0 && minutes == m0) return;
    const int64_t delta = (int64_t{heures} * 60 + minutes) - (int64_t{h0} * 60 + m0);
    const auto d = static_cast<int32_t>(std::clamp<int64_t>(delta, INT32_MIN / 2, INT32_MAX / 2));
    for (int32_t i = Place; i <= dernier; ++i) {
      for (int32_t r = 0; r <= 1; ++r)
        if (!LibelleHeureValide(SupLibelleHeure::Libelle(r, i))) EcrireLibelle(r, i, std::string());
      if ((i > Place || Rangee == 0) && !SupLibelleHeure::Libelle(0, i).empty())
        EcrireLibelle(0, i, SupLibelleHeure::Decaler(SupLibelleHeure::Libelle(0, i), d));
      if (!SupLibelleHeure::Libelle(1, i).empty())
        EcrireLibelle(1, i, SupLibelleHeure::Decaler(SupLibelleHeure::Libelle(1, i), d));
    }
    return;
  }
  for (int32_t i = Place, k = 0; i <= dernier; ++i, ++k) {
    const bool debutVisible = i % h == 0, finVisible = (i + 1) % h == 0;
    EcrireDrapeau(0, i, kDecalageEcran, debutVisible);
    EcrireDrapeau(0, i, kDecalageImpression, debutVisible);
    EcrireDrapeau(1, i, kDecalageEcran, finVisible);
    EcrireDrapeau(1, i, kDecalageImpression, finVisible);
    std::string texte;
    const int32_t debut = pas * k + minutes, fin = pas * (k + 1) + minutes;
    CoderLibelleHeure(heures + debut / 60, debut % 60, '0', texte);
    EcrireLibelle(0, i, texte);
    CoderLibelleHeure(heures + fin / 60, fin % 60, '0', texte);
    EcrireLibelle(1, i, texte);
  }
}

void CreerLibellesHeureParDefaut() { CalculerLibellesHeure(0, 0, 0, false, "8" + LettreHeure()); }

void AlignerVisibilites() {
  const int32_t p = DernierIndex();
  if (p == 0) return;
  for (int32_t decalage : {kDecalageEcran, kDecalageImpression}) {
    EcrireDrapeau(0, 0, decalage, true);
    EcrireDrapeau(1, p - 1, decalage, true);
  }
  for (int32_t a = 0; a + 1 < p; ++a) {
    EcrireDrapeau(1, a, kDecalageEcran, VisibleEcran(0, a + 1));
    EcrireDrapeau(1, a, kDecalageImpression, VisibleImpression(0, a + 1));
  }
}

void DecoderLibelleHeure(const std::string& Libelle, int32_t& Heures, int32_t& Minutes) {
  const std::string libelle = Couper(Libelle);
  const std::string lettre = LettreHeure();
  const auto n = lettre.empty() ? std::string::npos : libelle.find(lettre);
  if (n == std::string::npos) {
    Heures = Entier(libelle);
    Minutes = 0;
    return;
  }
  Heures = Entier(libelle.substr(0, n));
  const std::string reste = libelle.substr(n + lettre.size());
  Minutes = reste.empty() ? 0 : Entier(reste);
}

void CoderLibelleHeure(int32_t Heures, int32_t Minutes, char Remplissage, std::string& Libelle) {
  int64_t heures = Heures, minutes = Minutes;
  if (minutes < 0) {
    minutes += 60;
    --heures;
  } else if (minutes >= 60) {
    minutes -= 60;
    ++heures;
  }
  if (heures < 0) heures += 24;
  heures %= 24;
  if (heures < 0) heures += 24;
  std::string h = std::to_string(heures);
  while (h.size() < 2) h.insert(h.begin(), Remplissage);
  std::string m = std::to_string(minutes);
  if (minutes < 10) m.insert(m.begin(), '0');
  Libelle = Couper(h + LettreHeure() + m);
}

bool LibelleHeureValide(const std::string& Libelle) {
  const std::string l = Couper(Libelle);
  auto chiffre = [&](std::size_t i) { return i < l.size() && l[i] >= '0' && l[i] <= '9'; };
  return !l.empty() && l.size() >= 5 && l.substr(2, 1) == LettreHeure() && (chiffre(0) || l[0] == ' ') && chiffre(1) &&
         chiffre(3) && chiffre(4);
}

void Initialiser() { Bloc() = std::make_unique<uint8_t[]>(kTailleBloc); }
void Finaliser() { Bloc().reset(); }

}  // namespace SupLibelleHeure
