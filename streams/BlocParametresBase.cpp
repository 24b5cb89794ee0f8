#include "streams/BlocParametresBase.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "base/SupDemiPension.h"
#include "base/SupFichiers.h"
#include "base/SupLibelleHeure.h"
#include "base/CompteursNumeros.h"
#include "base/SupParam.h"
#include "base/SupParametresGrille.h"
#include "core/serial/Serialisation.h"
#include "net/NetBases.h"
#include "streams/ParametresBase.h"

namespace {

// Little-endian helpers over a byte zone.
void PoserMot(uint8_t* p, uint32_t v, int n) {
  for (int i = 0; i < n; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}
uint32_t LireMot(const uint8_t* p, int n) {
  uint32_t v = 0;
  for (int i = 0; i < n; ++i) v |= static_cast<uint32_t>(p[i]) << (8 * i);
  return v;
}

template <class T>
void Ecrire(TStream& f, T v) {
  uint8_t b[sizeof(T)];
  std::memcpy(b, &v, sizeof(T));
  f.WriteBuffer(b, sizeof(T));
}
template <class T>
T Lire(TStream& f) {
  T v;
  f.ReadBuffer(&v, sizeof(T));
  return v;
}
void Sauter(TStream& f, int64_t n) {
  if (n > f.Remaining()) throw EReadError("Erreur de lecture du flux");
  f.Seek(n, TSeekOrigin::soCurrent);
}
std::string LireChaineTaillee(TStream& f) {
  TBinaryFormatterWithSize formateur(&f);
  formateur.ModeStrict = true;
  std::string s;
  formateur.LireChaine(s);
  return s;
}
void EcrireChaineTaillee(TStream& f, const std::string& s) {
  TBinaryFormatterWithSize formateur(&f);
  formateur.EcrireChaine(s);
}

TypeVersionFormat V(uint32_t a, uint32_t b, uint32_t c) { return {a, b, c, 0}; }

// The file of each counter slot, in the block's counter order.
constexpr const char* kOrdreCompteurs[BlocParametresBase::kNombreCompteurs] = {
    ".CIV", ".PON", ".CAL", ".JRF", ".MAD", ".PAY", ".LIE", ".ELE", ".FMR", ".SFM", ".TYP", ".MAT", ".RLM", ".CUR",
    ".STP", ".SIT", ".TSI", ".RES", ".PRT", ".RFM", ".RLR", ".LPP", ".RLP", ".LCL", ".RGC", ".MCR", ".CRS", ".RLC",
    ".RPC", ".IRS", ".ICR", ".MDL", ".PAM", ".RRU", ".PRC", ".APP", ".RRE", ".LSL", ".PSI", ".RRM", ".RCM", ".RAP"};

// Older counter areas: the file of each old slot, nil for a dropped slot.
const std::vector<const char*> kCompteurs100 = {".CIV", ".PON", ".CAL", ".JRF", nullptr, ".FMR", ".SFM",
                                                ".TYP", ".MAT", ".RLM", ".CUR", ".STP", ".RES", ".PRT",
                                                ".RFM", ".RLR", ".CRS", ".MCR", ".RLC", ".RPC", ".IRS",
                                                ".ICR", ".PAM", ".RRU", ".APP"};
const std::vector<const char*> kCompteurs116 = {
    ".CIV", ".PON", ".CAL", ".JRF", nullptr, ".FMR", ".SFM", ".TYP", ".MAT", ".RLM",
    ".CUR", ".STP", ".RES", ".PRT", ".RFM", ".RLR", nullptr, ".CRS", ".LCL", ".RGC",
    ".MCR", ".RLC", ".RPC", ".IRS", ".ICR", ".PAM", ".RRU", ".PRC", ".APP"};
const std::vector<const char*> kCompteurs140 = {
    ".CIV", ".PON", ".CAL", ".JRF", ".PAY", ".LIE", ".ELE", nullptr, ".FMR", ".SFM", ".TYP", ".MAT",
    ".RLM", ".CUR", ".STP", ".RES", ".PRT", ".RFM", ".RLR", ".RLP", ".LCL", ".RGC", ".MCR", ".CRS",
    ".RLC", ".RPC", ".IRS", ".ICR", ".PAM", ".RRU", ".PRC", ".APP", ".RRE", ".LSL", ".PSI"};
const std::vector<const char*> kCompteurs144 = {
    ".CIV", ".PON", ".CAL", ".JRF", ".MAD", ".PAY", ".LIE", ".ELE", nullptr, ".FMR", ".SFM", ".TYP",
    ".MAT", ".RLM", ".CUR", ".STP", ".RES", ".PRT", ".RFM", ".RLR", ".RLP", ".LCL", ".RGC", ".MCR",
    ".CRS", ".RLC", ".RPC", ".IRS", ".ICR", ".PAM", ".RRU", ".PRC", ".APP", ".RRE", ".LSL", ".PSI"};

int SlotCompteur(const char* Extension) {
  for (int i = 0; i < BlocParametresBase::kNombreCompteurs; ++i)
    if (std::strcmp(kOrdreCompteurs[i], Extension) == 0) return i;
  return -1;
}

struct Etat {
  std::array<uint8_t, SupEtatsPlaces::kTailleEnregistrementReserve> reserve{};
  TypeArchivageEtSauvegarde archivage;
  // The header words 42, 44 and 46, carried unchanged.
  uint16_t mot46 = 0;
};
Etat& LEtat() {
  static Etat etat;
  return etat;
}

TParametresBase& Base() {
  TParametresBase* p = ParametresBase::Parametres();
  if (p == nullptr) throw ENonConstruit("BlocParametresBase: the base parameters object does not exist");
  return *p;
}

}  // namespace

// ---------------------------------------------------------------------------------------------------
namespace SupEtatsPlaces {
std::array<uint8_t, kTailleEnregistrementReserve>& EnregistrementReserve() { return LEtat().reserve; }
void LireEnregistrementReserve(TStream& Flux) { Flux.ReadBuffer(LEtat().reserve.data(), kTailleEnregistrementReserve); }
void EcrireEnregistrementReserve(TStream& Flux) {
  Flux.WriteBuffer(LEtat().reserve.data(), kTailleEnregistrementReserve);
}
void ViderEnregistrementReserve() { LEtat().reserve.fill(0); }
}  // namespace SupEtatsPlaces

// ---------------------------------------------------------------------------------------------------
namespace BlocParametresBase {

TypeArchivageEtSauvegarde& ArchivageEtSauvegarde() { return LEtat().archivage; }

void EcrireBlocParametresBase(TStream& Flux) {
  const TypeParametresGeneraux& g = SupParam::Parametres();
  const TypeParametresGrille& grille = SupParametresGrille::Parametres();
  const SupDemiPension::TypeDemiPension& dp = SupDemiPension::DemiPension();
  TParametresBase& base = Base();

  uint8_t entete[kTailleEntete] = {};
  PoserMot(entete + 0, 5, 2);
  PoserMot(entete + 2, 0, 2);
  PoserMot(entete + 4, 6, 2);
  PoserMot(entete + 6, static_cast<uint32_t>(grille.PlacesParJour), 2);
  PoserMot(entete + 8, static_cast<uint32_t>(grille.NombreJours), 2);
  PoserMot(entete + 10, static_cast<uint32_t>(grille.HeuresParJour), 2);
  entete[12] = base.GetJoursOuvres();
  PoserMot(entete + 14, static_cast<uint32_t>(g.PlaceDemiJournee), 2);
  PoserMot(entete + 18, static_cast<uint32_t>(g.EspacementMinimumClasse), 2);
  PoserMot(entete + 20, static_cast<uint32_t>(g.EspacementMinimumProfesseur), 2);
  PoserMot(entete + 22, 1, 2);
  entete[28] = g.ApportProfesseurAnnuel != 0 ? 1 : 0;
  PoserMot(entete + 32, static_cast<uint32_t>(g.NbMoisProfesseurParDefaut), 2);
  entete[34] = dp.ActivationDemiPension;
  PoserMot(entete + 36, dp.DebutDemiPension, 2);
  PoserMot(entete + 38, dp.FinDemiPension, 2);
  PoserMot(entete + 40, dp.DureeServiceDemiPension, 2);
  entete[42] = g.Drapeau1 != 0 ? 0 : 1;
  entete[44] = g.Drapeau2;
  PoserMot(entete + 46, LEtat().mot46, 2);
  entete[48] = g.GestionParEleves;
  entete[50] = g.GestionEffectif;
  Flux.WriteBuffer(entete, kTailleEntete);

  Ecrire<int32_t>(Flux, g.ApportProfesseurParDefaut);
  Ecrire<int32_t>(Flux, g.SeuilHSSProfesseur);
  Ecrire<int32_t>(Flux, g.MaxHSSProfesseur);
  Ecrire<int32_t>(Flux, g.SeuilHSAProfesseur);
  Ecrire<int32_t>(Flux, g.MaxHSAProfesseur);
  Ecrire<int32_t>(Flux, g.CycleT1Professeur);
  Ecrire<int32_t>(Flux, g.T3MinHSProfesseur);
  Ecrire<double>(Flux, base.PremiereDate());
  Flux.WriteBuffer(base.DomaineVerrouillage().Octets.data(), 7);
  SupEtatsPlaces::EcrireEnregistrementReserve(Flux);
  for (int32_t i = 0; i < grille.PlacesParJour; ++i)
    for (int32_t rangee = 0; rangee < 2; ++rangee) {
      const uint8_t* e = SupLibelleHeure::Entree(rangee, i);
      uint8_t vide[SupLibelleHeure::kTailleEntree] = {};
      Flux.WriteBuffer(e != nullptr ? e : vide, SupLibelleHeure::kTailleEntree);
    }
  for (uint32_t c : CompteursNumeros::Compteurs()) Ecrire<uint32_t>(Flux, c);
  Ecrire<uint8_t>(Flux, dp.GenresRessourcesDemiPension);
  EcrireChaineTaillee(Flux, base.FichierRacineHTML());
  Ecrire<uint8_t>(Flux, g.AjoutSemainesRessourcesAutorise);
  uint8_t nom[256] = {};
  const std::size_t n = std::min<std::size_t>(g.NomEtablissement.size(), 255);
  nom[0] = static_cast<uint8_t>(n);
  std::memcpy(nom + 1, g.NomEtablissement.data(), n);
  Flux.WriteBuffer(nom, sizeof nom);
  SupArchivageEtSauvegarde::Ecrire(Flux, LEtat().archivage);
  Ecrire<uint8_t>(Flux, base.ClotureAutomatique());
  Ecrire<uint8_t>(Flux, g.ConserverTrace);
  Ecrire<int32_t>(Flux, g.JoursConservationJournal);
  SupSites::Sites().EcrireParametres(Flux);
  // The four further values of the base parameter object, which it holds at zero.
  Ecrire<uint8_t>(Flux, 0);
  EcrireChaineTaillee(Flux, "");
  Ecrire<int32_t>(Flux, 0);
  Ecrire<double>(Flux, 0.0);
  Ecrire<uint8_t>(Flux, base.LienSelonAutresClasses());
  const TParametresExportAutoBulvera& ex = base.ExportAuto();
  EcrireChaineTaillee(Flux, ex.Texte);
  Ecrire<uint8_t>(Flux, ex.Actif ? 1 : 0);
  Ecrire<uint8_t>(Flux, ex.Octet);
  Ecrire<double>(Flux, ex.Heure);
  Ecrire<int32_t>(Flux, ex.Entier);
  Ecrire<uint8_t>(Flux, base.ActivationModulesEtCursus() != 0 ? 1 : 0);
  Ecrire<int32_t>(Flux, 4);
  Flux.WriteBuffer("\x03"
                   "FIN",
                   4);
  SupFichiers::VersionBase() = TypeVersionFormat{5, 0, 6, 1};
}

namespace {

void LireCompteurs(TStream& Flux, const std::vector<const char*>* Ancien) {
  std::array<uint32_t, kNombreCompteurs>& compteurs = CompteursNumeros::Compteurs();
  compteurs.fill(0);
  if (Ancien == nullptr) {
    for (uint32_t& c : compteurs) c = Lire<uint32_t>(Flux);
    return;
  }
  for (const char* extension : *Ancien) {
    const uint32_t valeur = Lire<uint32_t>(Flux);
    if (extension != nullptr) compteurs[static_cast<std::size_t>(SlotCompteur(extension))] = valeur;
  }
}

}  // namespace

void LireBlocParametresBase(TStream& Flux) {
  TParametresBase& base = Base();
  TypeParametresGeneraux& g = SupParam::Parametres();
  SupDemiPension::TypeDemiPension& dp = SupDemiPension::DemiPension();
  TypeVersionFormat& version = SupFichiers::VersionBase();
  const auto Sous = [&version](uint32_t a, uint32_t b, uint32_t c) {
    return Version::EstInferieureA(version, V(a, b, c));
  };

  // The object applies its setters locally while the block is read, whatever stops the read.
  struct Chargement {
    TParametresBase& b;
    explicit Chargement(TParametresBase& x) : b(x) { b.DefinirChargement(true); }
    ~Chargement() { b.DefinirChargement(false); }
  } chargement(base);
  NetBases::BaseAnterieure506() = false;
  SupParam::InitialiserParametresParDefaut();
  SupEtatsPlaces::ViderEnregistrementReserve();
  SupStatutsAnciens::Valeurs() = {};
  LEtat().mot46 = 0;
  // What an older base does not carry takes its default, never the previous base's value.
  base.JoursOuvres().SetJoursOuvres(TJoursOuvres::kJoursParDefaut);
  base.DefinirFichierRacineHTML(std::string());

  uint8_t entete[kTailleEntete];
  const bool enteteLu = Flux.Read(entete, kTailleEntete) == kTailleEntete;
  if (enteteLu && LireMot(entete, 2) == 1) version = TypeVersionFormat{1, 0, 0, 0};
  if (enteteLu && LireMot(entete, 2) != 1) {
    version = TypeVersionFormat{LireMot(entete, 2), LireMot(entete + 2, 2), LireMot(entete + 4, 2), 0};
    if (!Sous(3, 1, 1)) version.Construction = LireMot(entete + 22, 2);
    NetBases::BaseAnterieure506() = Sous(5, 0, 6);

    const int32_t p = static_cast<int32_t>(LireMot(entete + 6, 2));
    const int32_t d = static_cast<int32_t>(LireMot(entete + 8, 2));
    const int32_t h = static_cast<int32_t>(LireMot(entete + 10, 2));
    // A grid without places, days or hours, or with fewer places than hours, is a corrupt block.
    if (p == 0 || d == 0 || h == 0 || p / h == 0) throw EReadError("Erreur de lecture du flux");
    SupParametresGrille::Definir(p, d, h);
    // The lunch service starts from its defaults for this grid; bases from 3.0.0 on carry their own.
    SupDemiPension::AjusterDemiPension(false);
    int32_t demiJournee = static_cast<int32_t>(LireMot(entete + 14, 2));
    g.PlaceDemiJournee = demiJournee > p ? p / 2 : demiJournee;

    const uint16_t mot12 = static_cast<uint16_t>(LireMot(entete + 12, 2));
    if (!Sous(3, 0, 0)) {
      const uint8_t jours = Sous(4, 0, 99) ? static_cast<uint8_t>(mot12 << 1) : static_cast<uint8_t>(mot12);
      base.JoursOuvres().SetJoursOuvres(jours);
    }
    g.EspacementMinimumClasse = static_cast<int32_t>(LireMot(entete + 18, 2));
    g.EspacementMinimumProfesseur = Sous(3, 0, 5) ? 0 : static_cast<int32_t>(LireMot(entete + 20, 2));
    g.GestionParEleves = Sous(3, 1, 99) ? 0 : entete[48];
    g.GestionEffectif = Sous(4, 0, 3) ? 1 : entete[50];

    if (Sous(2, 0, 86)) {
      g.ApportProfesseurParDefaut = static_cast<int32_t>(mot12) * 52;
    } else {
      g.ApportProfesseurAnnuel = LireMot(entete + 28, 2) == 1 ? 1 : 0;
      if (Sous(2, 0, 91)) {
        g.ApportProfesseurParDefaut = static_cast<int32_t>(mot12);
      } else {
        if (!Sous(3, 0, 0)) {
          dp.ActivationDemiPension = entete[34];
          dp.DebutDemiPension = LireMot(entete + 36, 2);
          dp.FinDemiPension = LireMot(entete + 38, 2);
          dp.DureeServiceDemiPension = LireMot(entete + 40, 2);
          g.Drapeau1 = entete[42] == 0 ? 1 : 0;
          g.Drapeau2 = entete[44];
          LEtat().mot46 = static_cast<uint16_t>(LireMot(entete + 46, 2));
          SupDemiPension::AjusterDemiPension(true);
        }
        g.ApportProfesseurParDefaut = Lire<int32_t>(Flux);
        if (Sous(3, 1, 6)) (void)Lire<int32_t>(Flux);
      }
    }
    if (!Sous(2, 0, 104)) g.NbMoisProfesseurParDefaut = static_cast<int32_t>(LireMot(entete + 32, 2));
    if (!Sous(2, 0, 94)) {
      g.SeuilHSSProfesseur = Lire<int32_t>(Flux);
      if (!Sous(2, 0, 96)) {
        g.MaxHSSProfesseur = Lire<int32_t>(Flux);
        g.SeuilHSAProfesseur = Lire<int32_t>(Flux);
        g.MaxHSAProfesseur = Lire<int32_t>(Flux);
        if (Sous(3, 1, 6)) {
          SupStatutsAnciens::Valeurs().MaxT1Cycle = Lire<int32_t>(Flux);
          SupStatutsAnciens::Valeurs().QuotaHebdomadaire = Lire<int32_t>(Flux);
        }
        g.CycleT1Professeur = Lire<int32_t>(Flux);
        if (!Sous(2, 0, 98)) g.T3MinHSProfesseur = Lire<int32_t>(Flux);
      }
    }
  }
  if (!enteteLu || LireMot(entete, 2) == 1) SupDemiPension::AjusterDemiPension(false);
  const TypeParametresGrille& grille = SupParametresGrille::Parametres();

  // Step 4: the first date and the locked weeks.
  if (Sous(3, 0, 0)) Sauter(Flux, 172);
  const double premiere = Lire<double>(Flux);
  base.ModifierPremiereDate(premiere);
  TypeDomaineHebdomadaire verrou;
  if (Sous(2, 0, 77)) {
  } else if (Sous(2, 0, 93)) {
    const double fin = Lire<double>(Flux);
    TypeDomaineHebdomadaire tout;
    tout.Octets.fill(0xFF);
    const double semaines = (fin - premiere) / 7;
    TMethodesDomaine::PremieresSemaines(tout, semaines > 0 && semaines < 64 ? static_cast<uint32_t>(semaines) : 0,
                                        verrou);
  } else {
    Flux.ReadBuffer(verrou.Octets.data(), 7);
  }
  base.ModifierDomaineVerrouillage(verrou);
  if (!Sous(3, 1, 0) && Sous(4, 0, 99)) Sauter(Flux, 7);
  if (Sous(4, 0, 99)) Sauter(Flux, 14);

  // Step 5: the engine's reserved record.
  if (!Sous(3, 1, 1)) SupEtatsPlaces::LireEnregistrementReserve(Flux);

  // Step 6: the hour labels.
  const int32_t tailleLibelle = Sous(3, 0, 0) ? 7 : SupLibelleHeure::kTailleEntree;
  const int32_t placesParHeure = grille.PlacesParHeure;
  for (int32_t i = 0; i < grille.PlacesParJour; ++i)
    for (int32_t rangee = 0; rangee < 2; ++rangee) {
      uint8_t e[SupLibelleHeure::kTailleEntree] = {};
      Flux.ReadBuffer(e, tailleLibelle);
      if (e[0] >= 2 && e[2] == ' ') e[2] = '0';
      if (tailleLibelle == 7) {
        const bool visible = rangee == 0 ? i % placesParHeure == 0 : i == grille.PlacesParJour - 1;
        e[7] = e[8] = visible ? 1 : 0;
      }
      uint8_t* cible = SupLibelleHeure::Entree(rangee, i);
      if (cible != nullptr) std::memcpy(cible, e, SupLibelleHeure::kTailleEntree);
    }
  SupLibelleHeure::AlignerVisibilites();
  if (Sous(2, 0, 12)) Sauter(Flux, 36);

  // Step 7: the counters; below 3.1.7 the 100-byte area (the choice made for 3.1.6 as well).
  if (Sous(3, 0, 0))
    CompteursNumeros::Compteurs().fill(0);
  else if (Sous(3, 1, 7))
    LireCompteurs(Flux, &kCompteurs100);
  else if (Sous(3, 1, 99))
    LireCompteurs(Flux, &kCompteurs116);
  else if (Sous(4, 0, 6))
    LireCompteurs(Flux, &kCompteurs140);
  else if (Sous(4, 0, 99))
    LireCompteurs(Flux, &kCompteurs144);
  else
    LireCompteurs(Flux, nullptr);

  // Step 8.
  dp.GenresRessourcesDemiPension = Sous(3, 0, 5) ? SupDemiPension::kGenresParDefaut : Lire<uint8_t>(Flux);
  if (!Sous(3, 0, 7)) {
    const std::string racine = LireChaineTaillee(Flux);
    const auto debut = racine.find_first_not_of(' ');
    if (debut != std::string::npos) base.DefinirFichierRacineHTML(racine);
  }
  g.AjoutSemainesRessourcesAutorise = Sous(4, 0, 12) ? 1 : Lire<uint8_t>(Flux);
  if (Sous(3, 0, 13)) {
    g.NomEtablissement.clear();
  } else {
    uint8_t nom[256];
    Flux.ReadBuffer(nom, sizeof nom);
    g.NomEtablissement.assign(reinterpret_cast<const char*>(nom + 1), nom[0]);
  }
  if (Sous(3, 0, 31))
    SupArchivageEtSauvegarde::ParametresParDefaut(LEtat().archivage);
  else
    SupArchivageEtSauvegarde::Lire(Flux, LEtat().archivage);

  // Step 9: the old export settings and their list of 8-byte entries, read and dropped.
  if (!Sous(3, 1, 2) && Sous(3, 1, 99)) {
    Sauter(Flux, !Sous(3, 1, 6) ? 1358 : !Sous(3, 1, 4) ? 1352 : 1319);
    const int32_t nombre = Lire<int32_t>(Flux);
    const int32_t taille = Lire<int32_t>(Flux);
    if (taille != 8 || nombre < 0 || static_cast<int64_t>(nombre) * 8 > Flux.Remaining())
      throw EReadError("Erreur de lecture du flux");
    Sauter(Flux, static_cast<int64_t>(nombre) * 8);
  }

  // Step 10.
  if (!Sous(4, 0, 5)) {
    base.ModifierClotureAutomatique(Lire<uint8_t>(Flux));
    g.ConserverTrace = Lire<uint8_t>(Flux);
    g.JoursConservationJournal = Lire<int32_t>(Flux);
  } else {
    base.ModifierClotureAutomatique(0);
    g.ConserverTrace = 0;
    g.JoursConservationJournal = 5;
  }
  if (!Sous(4, 0, 7) && Sous(4, 0, 99)) Sauter(Flux, 1);

  // Steps 11 to 13.
  if (Sous(4, 0, 99)) {
    SupSites::Sites().ParametresParDefaut();
    base.ModifierLienSelonAutresClasses(0);
  } else {
    SupSites::Sites().LireParametres(Flux);
    (void)Lire<uint8_t>(Flux);
    (void)LireChaineTaillee(Flux);
    (void)Lire<int32_t>(Flux);
    (void)Lire<double>(Flux);
    base.ModifierLienSelonAutresClasses(Lire<uint8_t>(Flux));
  }
  if (!Sous(5, 0, 4)) {
    TParametresExportAutoBulvera ex;
    ex.Texte = LireChaineTaillee(Flux);
    ex.Actif = Lire<uint8_t>(Flux) != 0;
    ex.Octet = Lire<uint8_t>(Flux);
    ex.Heure = Lire<double>(Flux);
    ex.Entier = Lire<int32_t>(Flux);
    base.ModifierParametresExportAuto(ex);
  }
  if (!Sous(5, 0, 6)) base.ModifierActivationModulesEtCursus(Lire<uint8_t>(Flux));
}

void Initialiser() {
  LEtat() = Etat{};
  SupStatutsAnciens::Valeurs() = {};
  SupSites::Sites().ParametresParDefaut();
}

void Finaliser() {
  LEtat() = Etat{};
  SupSites::Sites().Parametres() = TypeParametresSite{};
  SupStatutsAnciens::Valeurs() = {};
}

}  // namespace BlocParametresBase
