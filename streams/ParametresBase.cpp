#include "streams/ParametresBase.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "base/EcrGlobale.h"
#include "base/SupParametresGrille.h"
#include "base/SupTraitement.h"
#include "base/SupValeurHebdomadaire.h"
#include "base/fichiers/SupJourFerie.h"
#include "core/diagnostics/Trace.h"
#include "core/objects/Exceptions.h"
#include "core/values/Calendrier.h"
#include "net/NetClient.h"
#include "net/utilisateurs/Utilisateur.h"
#include "objectdb/Traduction.h"

namespace {

struct Etat {
  TParametresBase* base = nullptr;
  TParametresUtilisateur* utilisateur = nullptr;
  TJoursOuvres* joursLocaux = nullptr;
  std::function<void(const std::string&)> afficher;
};

Etat& LEtat() {
  static Etat etat;
  return etat;
}

// Two date values are the same at the millisecond.
bool MemeDate(TDateTime a, TDateTime b) { return std::llround(a * 86400000.0) == std::llround(b * 86400000.0); }

bool MemeExport(const TParametresExportAutoBulvera& a, const TParametresExportAutoBulvera& b) {
  return a.Texte == b.Texte && a.Actif == b.Actif && a.Octet == b.Octet && MemeDate(a.Heure, b.Heure) &&
         a.Entier == b.Entier;
}

void MessagePremiereDate() {
  const std::string texte = Traduction::Traduire("SupParametrePremiereDateChangee");
  if (LEtat().afficher) {
    LEtat().afficher(texte);
  } else {
    std::string ligne;
    Trace::TraceurParDefaut()->Tracer(texte, ligne);
  }
}

}  // namespace

// ---- base-wide parameters ------------------------------------------------------------------------

TParametresBase::TParametresBase() : joursOuvres_(std::make_unique<TJoursOuvres>(true)) {
  int64_t jour = 0;
  if (TJourTZ::JourDeDate(DateTime::Now(), jour))
    premiereDate_ = static_cast<double>(jour - (TJourTZ::JourDeLaSemaine(static_cast<double>(jour)) - 1));
  delete LEtat().joursLocaux;
  LEtat().joursLocaux = new TJoursOuvres(false);
  JoursOuvres::JoursOuvresBase() = joursOuvres_.get();
  JoursOuvres::PremiereDateBase() = &premiereDate_;
}

TParametresBase::~TParametresBase() {
  if (JoursOuvres::JoursOuvresBase() == joursOuvres_.get()) JoursOuvres::JoursOuvresBase() = nullptr;
  if (JoursOuvres::PremiereDateBase() == &premiereDate_) JoursOuvres::PremiereDateBase() = nullptr;
  delete LEtat().joursLocaux;
  LEtat().joursLocaux = nullptr;
}

bool TParametresBase::Local() const { return appliquerOrdre_ != 0 || !NetClient::PasserParServeur(); }

void TParametresBase::Modifier(uint32_t Code, bool Inchange, int32_t Taille, const void* Donnees, bool Genre,
                               const std::function<void()>& Stocker) {
  if (Inchange) return;
  SupTraitement::TraitementEmpile code(Code);
  if (Local()) {
    Stocker();
    if (!EnChargement()) SetModifie(true);
    return;
  }
  (void)NetClient::EnvoyerRequeteServeur(Code, 0, Taille, Donnees, Genre, nullptr);
}

void TParametresBase::ModifierPremiereDate(TDateTime Date) {
  int64_t jour = 0;
  if (!TJourTZ::JourDeDate(Date, jour)) return;
  Modifier(kPremiereDate, Date == premiereDate_, sizeof Date, &Date, false, [&] {
    // Decided before anything changes: whether the user is told (everybody but the super user).
    const bool prevenir =
        appliquerOrdre_ == 0 && Utilisateur::CodeUtilisateurCourant() != Utilisateur::kCodeSuperUtilisateur;
    premiereDate_ = Date;
    ModifierDomaineVerrouillage(TypeDomaineHebdomadaire{});
    // A base being read brings its own holidays: the previous base's are neither its nor to change.
    if (!EnChargement() && NetClient::ClientDonnees() != nullptr && !NetClient::PasserParServeur())
      (void)SupJourFerie::SupprimerJoursFeriesHorsDates(premiereDate_, DerniereDate());
    if (prevenir) MessagePremiereDate();
  });
}

void TParametresBase::ModifierDomaineVerrouillage(const TypeDomaineHebdomadaire& Semaines) {
  Modifier(kDomaineVerrouillage, Semaines == domaineVerrouillage_, 7, Semaines.Octets.data(), false,
           [&] { domaineVerrouillage_ = Semaines; });
}

void TParametresBase::ModifierClotureAutomatique(uint8_t Valeur) {
  Modifier(kClotureAutomatique, Valeur == clotureAutomatique_, 1, &Valeur, true, [&] { clotureAutomatique_ = Valeur; });
}

void TParametresBase::ModifierLienSelonAutresClasses(uint8_t Valeur) {
  Modifier(kLienSelonAutresClasses, Valeur == lienSelonAutresClasses_, 1, &Valeur, true,
           [&] { lienSelonAutresClasses_ = Valeur; });
}

void TParametresBase::ModifierParametresExportAuto(const TParametresExportAutoBulvera& Export) {
  // The text stays on this side: its place in the record travels as 0.
  uint8_t donnees[kTailleExportAuto] = {};
  donnees[4] = Export.Actif ? 1 : 0;
  donnees[5] = Export.Octet;
  std::memcpy(donnees + 8, &Export.Heure, 8);
  std::memcpy(donnees + 16, &Export.Entier, 4);
  Modifier(kParametresExportAuto, MemeExport(Export, exportAuto_), sizeof donnees, donnees, false,
           [&] { exportAuto_ = Export; });
}

void TParametresBase::ModifierActivationModulesEtCursus(uint8_t Valeur) {
  Modifier(kActivationModulesEtCursus, Valeur == activationModulesEtCursus_, 1, &Valeur, false,
           [&] { activationModulesEtCursus_ = Valeur; });
}

bool TParametresBase::TraiterOrdre(uint32_t Code, int32_t Taille, const void* Donnees) {
  int32_t taille = 0;
  switch (Code) {
    case kPremiereDate: taille = 8; break;
    case kDomaineVerrouillage: taille = 7; break;
    case kClotureAutomatique: case kLienSelonAutresClasses: case kActivationModulesEtCursus: taille = 1; break;
    case kParametresExportAuto: taille = kTailleExportAuto; break;
    default: return false;
  }
  if (Donnees == nullptr || Taille < taille) return false;
  const auto* d = static_cast<const uint8_t*>(Donnees);
  const uint8_t ancien = appliquerOrdre_;
  appliquerOrdre_ = 1;
  struct Restaurer {
    uint8_t& champ;
    uint8_t valeur;
    ~Restaurer() { champ = valeur; }
  } restaurer{appliquerOrdre_, ancien};
  switch (Code) {
    case kPremiereDate: {
      TDateTime date = 0;
      std::memcpy(&date, d, 8);
      ModifierPremiereDate(date);
      break;
    }
    case kDomaineVerrouillage: {
      TypeDomaineHebdomadaire semaines;
      std::memcpy(semaines.Octets.data(), d, 7);
      ModifierDomaineVerrouillage(semaines);
      break;
    }
    case kClotureAutomatique: ModifierClotureAutomatique(d[0]); break;
    case kLienSelonAutresClasses: ModifierLienSelonAutresClasses(d[0]); break;
    case kActivationModulesEtCursus: ModifierActivationModulesEtCursus(d[0]); break;
    default: {
      TParametresExportAutoBulvera e;
      e.Texte = exportAuto_.Texte;
      e.Actif = d[4] != 0;
      e.Octet = d[5];
      std::memcpy(&e.Heure, d + 8, 8);
      std::memcpy(&e.Entier, d + 16, 4);
      ModifierParametresExportAuto(e);
      break;
    }
  }
  return true;
}

bool TParametresBase::TraiterOrdreJoursOuvres(uint32_t Code, int32_t Taille, const void* Donnees, int32_t) {
  const uint8_t avant = joursOuvres_->Jours();
  if (!joursOuvres_->TraiterOrdre(Code, Taille, Donnees)) return false;
  if (joursOuvres_->Jours() != avant) AjusterGrille();
  return true;
}

void TParametresBase::SetModifie(bool Valeur) {
  modifie_ = Valeur ? 1 : 0;
  if (!Valeur) joursOuvres_->SetModifie(false);
}

void TParametresBase::DefinirAppliquerOrdre(bool Valeur) {
  appliquerOrdre_ = Valeur ? 1 : 0;
  joursOuvres_->SetModificationLocale(Valeur);
}

void TParametresBase::DefinirChargement(bool Valeur) {
  chargement_ = std::max(0, chargement_ + (Valeur ? 1 : -1));
  DefinirAppliquerOrdre(chargement_ > 0);
}

void TParametresBase::VerrouillerSemainesEcoulees() {
  const int32_t n = TMethodesCalendrier::NumeroDeSemaine(false, DateTime::Now(), premiereDate_);
  if (n <= 0) return;
  TypeDomaineHebdomadaire semaines = domaineVerrouillage_;
  for (int32_t b = 0; b < std::min(n, 53); ++b) semaines.Inclure(b);
  ModifierDomaineVerrouillage(semaines);
}

void TParametresBase::DefinirJoursOuvres(uint8_t Jours) {
  const uint8_t avant = joursOuvres_->Jours();
  joursOuvres_->SetJoursOuvres(Jours);
  if (joursOuvres_->Jours() != avant) AjusterGrille();
}

void TParametresBase::AjusterGrille() {
  const TypeParametresGrille& g = SupParametresGrille::Parametres();
  SupParametresGrille::Definir(g.PlacesParJour, NombreJoursOuvres(), g.HeuresParJour);
}

// ---- the user's display settings -----------------------------------------------------------------

TParametresUtilisateur::TParametresUtilisateur(const TParametresBase& Base)
    : base_(Base),
      premierJourAffiche_(static_cast<uint8_t>(Base.PremierJourOuvre())),
      dernierJourAffiche_(static_cast<uint8_t>(Base.DernierJourOuvre())),
      nombreJoursAffiches_(Base.RangJourOuvre(Base.DernierJourOuvre()) - Base.RangJourOuvre(Base.PremierJourOuvre()) +
                           1) {}

void TParametresUtilisateur::Changer(uint8_t& Champ, uint8_t Valeur) {
  if (Champ == Valeur) return;
  Champ = Valeur;
  modifie_ = 1;
}

void TParametresUtilisateur::SetPremierJourAffiche(int32_t Jour) {
  if (base_.JoursOuvres().EstJourOuvre(Jour)) Changer(premierJourAffiche_, static_cast<uint8_t>(Jour));
}

void TParametresUtilisateur::SetDernierJourAffiche(int32_t Jour) {
  if (base_.JoursOuvres().EstJourOuvre(Jour)) Changer(dernierJourAffiche_, static_cast<uint8_t>(Jour));
}

void TParametresUtilisateur::SetNombreJoursAffiches(int32_t Nombre) {
  Nombre = std::min(Nombre, base_.NombreJoursOuvres());
  if (Nombre == nombreJoursAffiches_) return;
  nombreJoursAffiches_ = Nombre;
  modifie_ = 1;
}

uint8_t TParametresUtilisateur::Option(int32_t n) const { return n >= 1 && n <= 11 ? options_[n] : 0; }

void TParametresUtilisateur::SetOption(int32_t n, uint8_t Valeur) {
  if (n >= 1 && n <= 11) Changer(options_[n], Valeur);
}

void TParametresUtilisateur::SetChoixSemainesHeures(uint8_t Valeur) { Changer(choixSemainesHeures_, Valeur); }

// ---- the unit ------------------------------------------------------------------------------------

namespace ParametresBase {

TParametresBase*& Parametres() { return LEtat().base; }
TParametresUtilisateur*& ParametresUtilisateur() { return LEtat().utilisateur; }
TJoursOuvres*& JoursOuvresLocaux() { return LEtat().joursLocaux; }
std::function<void(const std::string&)>& AfficherMessage() { return LEtat().afficher; }

void Initialiser() {
  Finaliser();
  LEtat().base = new TParametresBase();
  LEtat().utilisateur = new TParametresUtilisateur(*LEtat().base);
  SupParam::ParametresBase() = LEtat().base;
}

void Finaliser() {
  SupParam::ParametresBase() = nullptr;
  delete LEtat().utilisateur;
  LEtat().utilisateur = nullptr;
  delete LEtat().base;
  LEtat().base = nullptr;
}

}  // namespace ParametresBase
