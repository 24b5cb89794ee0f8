#include "base/ressources/SupQuotite.h"

#include <algorithm>

#include "base/fichiers/DeclarationFichier.h"
#include "net/NetClient.h"
#include "base/SupParam.h"
#include "base/SupTraitement.h"
#include "base/ressources/SupRessource.h"
#include "base/ressources/SupStatut.h"
#include "core/records/Xi.h"

namespace SupQuotite {

namespace {

using E = TypeEnregistrementQuotite;

using namespace Champ;
const TypeDescriptionFichier& DescriptionFichier() {
  static const TypeDescriptionFichier d = DeclarationFichier::Decrire({
      "SupQuotite", ".APP", 0x22, kPlace, kTailleStockee, false,
      {Identifiant(), Reference("Enseignant", SupRessource::kPlace, 0), Octets("QuotasHebdomadaires", 52 * 4, 4)},
      {{true, {"Enseignant"}}, {false, {"Identifiant"}}},
      nullptr,
      nullptr,
      nullptr,
      // Older bases store more bytes per record; their first 212 are laid out as today's.
      {{216, {2, 0, 108, 0}, &DeclarationFichier::LireChamps}, {420, {4, 0, 99, 0}, &DeclarationFichier::LireChamps}},
  });
  return d;
}

// The annual service of a teacher, when the record number holds one (resource position kept).
bool ServiceDuProfesseur(uint32_t Professeur, int32_t& Service, uint32_t& Statut) {
  TFichierSup& r = SupRessource::Fichier();
  if (Professeur == 0 || r.Table == nullptr) return false;
  r.EmpilerPosition();
  const bool trouve = Xi::AllerA(r.Table, Professeur) && SupRessource::Article()->Genre == SupRessource::kEnseignant;
  if (trouve) {
    Service = static_cast<int32_t>(SupRessource::Article()->MotC);
    Statut = SupRessource::Article()->MotB;
  }
  r.DepilerPosition();
  return trouve;
}

}  // namespace

TFichierSup& Fichier() {
  static TFichierSup fichier(DescriptionFichier(), &CreerQuotitesProfesseursParDefaut);
  return fichier;
}

E* Article() { return reinterpret_cast<E*>(Fichier().Enregistrement()); }

void ValeursHebdomadairesQuotite(uint32_t Professeur) {
  if (Fichier().Table == nullptr) return;
  Fichier().ViderArticle();
  (void)SupParam::ModifierApportProfesseurAnnuel(1, false);
  const bool annuel = SupParam::Parametres().ApportProfesseurAnnuel != 0;
  int32_t service = 0;
  uint32_t statut = 0;
  const bool professeur = ServiceDuProfesseur(Professeur, service, statut);
  TFixedArrayOfValeurHebdomadaire quotas;
  if (SupParam::ModeCFA()) {
    TFichierSup& s = SupStatut::Fichier();
    s.EmpilerPosition();
    int32_t a = 0;
    TypeDomaineHebdomadaire semaines{};
    if (professeur && statut != 0 && s.Table != nullptr && Xi::AllerA(s.Table, statut)) {
      a = service;
      semaines = SupStatut::Article()->Domaine;
    } else if (SupStatut::ChercherStatutParDefaut()) {
      a = SupStatut::Article()->QuotaAnnuel;
      semaines = SupStatut::Article()->Domaine;
    }
    const int32_t w = TMethodesDomaine::NombreDeSemaines(semaines);
    if (annuel) a = w == 0 ? 0 : a / w;
    quotas.Remplir(a, semaines);
    s.DepilerPosition();
  } else {
    int32_t a = professeur ? service : SupParam::Parametres().ApportProfesseurParDefaut;
    if (annuel) a /= 52;
    for (int32_t n = 1; n <= TFixedArrayOfValeurHebdomadaire::kNombreSemaines; ++n) quotas.SetValeurSemaine(n, a);
  }
  for (int32_t n = 1; n <= TFixedArrayOfValeurHebdomadaire::kNombreSemaines; ++n)
    Article()->Quotas[n - 1] = quotas.ValeurSemaine(n);
}

bool CreerQuotitesProfesseur(uint32_t Professeur) {
  TFichierSup& r = SupRessource::Fichier();
  if (r.Table == nullptr) return false;
  r.EmpilerPosition();
  bool resultat = false;
  if (Xi::AllerA(r.Table, Professeur) && SupRessource::Article()->Genre == SupRessource::kEnseignant) {
    const int32_t identifiant = r.IdentifiantCourant();
    resultat = Fichier().Creer(kCodeCreerQuotitesProfesseur, &identifiant, 4, [Professeur] {
      ValeursHebdomadairesQuotite(Professeur);
      Article()->Enseignant = Professeur;
    });
  } else {
    // Not a teacher: the request is opened and closed, nothing is sent.
    SupTraitement::TraitementEmpile code(kCodeCreerQuotitesProfesseur);
  }
  r.DepilerPosition();
  return resultat;
}

bool CreerQuotitesProfesseursParDefaut() { return Fichier().ContenuParDefaut(kCodeCreerQuotitesProfesseursParDefaut); }

bool AffecterQuotitesDuProfesseur(int32_t Valeur) {
  TFichierSup& r = SupRessource::Fichier();
  if (r.Table == nullptr) return false;
  const uint32_t professeur = Xi::NumeroCourant(r.Table);
  if (professeur == 0 || SupRessource::Article()->Genre != SupRessource::kEnseignant) return false;
  SupTraitement::TraitementEmpile code(kCodeAffecterQuotitesDuProfesseur);
  if (NetClient::PasserParServeur())
    return NetClient::EnvoyerRequeteServeur(kCodeAffecterQuotitesDuProfesseur, r.IdentifiantCourant(), 4, &Valeur,
                                            false, nullptr);
  TFichierSup& f = Fichier();
  if (f.Table == nullptr) return false;
  int32_t service = static_cast<int32_t>(SupRessource::Article()->MotC);
  // Without a quota record of its own, the record current now belongs to another teacher: it must
  // never be written.
  if (!ChercherQuotitesDuProfesseur(professeur) &&
      !(CreerQuotitesProfesseur(professeur) && ChercherQuotitesDuProfesseur(professeur)))
    return false;
  if (SupParam::Parametres().ApportProfesseurAnnuel != 0) service /= SupParam::ModeCFA() ? 41 : 52;
  int32_t* quotas = Article()->Quotas;
  const bool aucune = std::none_of(quotas, quotas + 52, [](int32_t q) { return q > 0; });
  return f.Modifier(kCodeAffecterQuotitesDuProfesseur, &Valeur, 4, [quotas, aucune, service] {
    for (int32_t* q = quotas; q != quotas + 52; ++q) *q = aucune || *q > 0 ? service : 0;
  });
}

bool SupprimerQuotitesProfesseur() {
  TFichierSup& f = Fichier();
  if (f.Table == nullptr || Xi::NumeroCourant(f.Table) == 0) return false;
  return f.Supprimer(kCodeSupprimerQuotitesProfesseur);
}

bool SupprimerQuotitesDuProfesseur(uint32_t Professeur) {
  return !ChercherQuotitesDuProfesseur(Professeur) || SupprimerQuotitesProfesseur();
}

bool ChercherQuotitesDuProfesseur(uint32_t Professeur) {
  TFichierSup& f = Fichier();
  if (f.Table == nullptr || Professeur == 0) return false;
  Article()->Enseignant = Professeur;
  // Not found, the former current record is current again (its buffer included).
  return Xi::Trouver(f.Table, kOrdreEnseignant);
}

bool ChercherQuotitesDuProfesseurCourant() {
  const TFichierSup& r = SupRessource::Fichier();
  return r.Table != nullptr && ChercherQuotitesDuProfesseur(Xi::NumeroCourant(r.Table));
}

void QuotasDe(const E& Quotite, TFixedArrayOfValeurHebdomadaire& Quotas) {
  for (int32_t n = 1; n <= TFixedArrayOfValeurHebdomadaire::kNombreSemaines; ++n)
    Quotas.SetValeurSemaine(n, Quotite.Quotas[n - 1]);
}

}  // namespace SupQuotite
