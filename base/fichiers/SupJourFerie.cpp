#include "base/fichiers/SupJourFerie.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "base/EcrGlobale.h"
#include "base/SupTraitement.h"
#include "base/SupValeurHebdomadaire.h"
#include "core/records/Xi.h"
#include "core/values/Calendrier.h"
#include "net/NetClient.h"
#include "net/netmodif.h"

namespace SupJourFerie {

namespace {

using E = TypeEnregistrementJourFerie;

bool LireUnJour(TFichierSup& f, const uint8_t* s, TypeGenreModif) {
  E* e = reinterpret_cast<E*>(f.Enregistrement());
  std::memcpy(&e->Debut, s, 8);
  e->Fin = e->Debut;
  return true;
}

bool Lire(TFichierSup& f, const uint8_t* s, TypeGenreModif) {
  E* e = reinterpret_cast<E*>(f.Enregistrement());
  std::memcpy(&e->Debut, s, 8);
  std::memcpy(&e->Fin, s + 8, 8);
  return true;
}

bool Ecrire(TFichierSup& f, uint8_t* s) {
  const E* e = reinterpret_cast<const E*>(f.Enregistrement());
  std::memcpy(s, &e->Debut, 8);
  std::memcpy(s + 8, &e->Fin, 8);
  return true;
}

const TypeDescriptionFichier kDescription{
    "SupJourFerie",
    ".JRF",
    0x09,
    4,
    sizeof(E),
    {
        {false, {{offsetof(E, Identifiant), 4, &Comparai::ComparerEntierBis}}},
        {true, {{offsetof(E, Debut), 8, &Comparai::ComparerReels}}},
        {false, {{offsetof(E, Fin), 8, &Comparai::ComparerReels}}},
    },
    kOrdreIdentifiant,
    {{kTailleStockeeUnJour, {2, 0, 14, 0}, &LireUnJour}, {kTailleStockee, {}, &Lire}},
    &Ecrire,
    nullptr,
    false,
};

// Keeps the file's position around a look-up.
class PositionGardee {
 public:
  PositionGardee() { Fichier().EmpilerPosition(); }
  ~PositionGardee() { Fichier().DepilerPosition(); }
  PositionGardee(const PositionGardee&) = delete;
  PositionGardee& operator=(const PositionGardee&) = delete;
};

// The whole days of the current holiday; False when either date is no date.
bool JoursDuCourant(int64_t& Debut, int64_t& Fin) {
  return TJourTZ::JourDeDate(Article()->Debut, Debut) && TJourTZ::JourDeDate(Article()->Fin, Fin);
}

// Whether day Jour lies in a holiday: every holiday that starts on or before it is looked at.
bool JourDansUnFerie(int64_t Jour) {
  void* table = Fichier().Table;
  const uint32_t nombre = Xi::Nombre(table);
  for (uint32_t p = 1; p <= nombre; ++p) {
    if (!Xi::AllerAPosition(table, kOrdreDebut, p)) break;
    int64_t debut = 0, fin = 0;
    if (!JoursDuCourant(debut, fin)) continue;
    if (debut > Jour) break;
    if (Jour <= fin) return true;
  }
  return false;
}

void Marquer() { EcrGlobale::MarquerBaseModifiee(EcrGlobale::FicheGlobales()); }

}  // namespace

TFichierSup& Fichier() {
  static TFichierSup fichier(kDescription);
  return fichier;
}

TypeEnregistrementJourFerie* Article() { return reinterpret_cast<E*>(Fichier().Enregistrement()); }

bool SupprimerJoursFeriesHorsDates(TDateTime PremiereDate, TDateTime DerniereDate) {
  void* table = Fichier().Table;
  if (table == nullptr) return true;
  SupTraitement::TraitementEmpile code(kCodeSupprimerHorsDates);
  if (NetClient::PasserParServeur()) {
    uint8_t donnees[16];
    std::memcpy(donnees, &PremiereDate, 8);
    std::memcpy(donnees + 8, &DerniereDate, 8);
    return NetClient::EnvoyerRequeteServeur(kCodeSupprimerHorsDates, 0, sizeof donnees, donnees, false, nullptr);
  }
  const int32_t numeroTable = Fichier().NumeroTable();
  // Every change starts the walk again from the first holiday; a holiday that cannot be changed is
  // passed over, so the walk ends.
  uint32_t p = 1;
  while (Xi::AllerAPosition(table, kOrdreDebut, p)) {
    E* e = Article();
    const int32_t identifiant = e->Identifiant;
    if (e->Fin < PremiereDate || e->Debut > DerniereDate) {
      netmodif::NotifierModification(GM_Suppression, numeroTable, identifiant);
      if (Xi::Supprimer(table)) {
        Marquer();
        p = 1;
      } else {
        ++p;
      }
      continue;
    }
    bool change = false;
    if (e->Debut < PremiereDate) {
      e->Debut = PremiereDate;
      change = true;
    } else if (e->Debut <= DerniereDate && e->Fin > DerniereDate) {
      e->Fin = DerniereDate;
      change = true;
    }
    if (change && Xi::Modifier(table)) {
      netmodif::NotifierModification(GM_Modification, numeroTable, identifiant);
      Marquer();
      p = 1;
    } else {
      ++p;
    }
  }
  return true;
}

bool EstJourFerie(TDateTime Date) {
  int64_t jour = 0;
  if (Fichier().Table == nullptr || Xi::Nombre(Fichier().Table) == 0 || !TJourTZ::JourDeDate(Date, jour)) return false;
  PositionGardee garde;
  return JourDansUnFerie(jour);
}

void SemainesFeriees(int32_t Jour, const TypeDomaineHebdomadaire& Semaines, TypeDomaineHebdomadaire& Resultat,
                     TDateTime PremiereDate) {
  Resultat = TypeDomaineHebdomadaire{};
  for (int32_t w = 1; w <= 52; ++w)
    if (Semaines.Contient(w) && EstJourFerie(TJourTZ::DateDuJourDeLaSemaine(Jour, w, PremiereDate))) Resultat.Inclure(w);
}

int32_t NombreSemainesFeriees(int32_t Jour, const TypeDomaineHebdomadaire& Semaines, const TJoursOuvres& JoursOuvres,
                              TDateTime PremiereDate) {
  if (!JoursOuvres.EstJourOuvre(Jour)) return 0;
  TypeDomaineHebdomadaire feriees;
  SemainesFeriees(Jour, Semaines, feriees, PremiereDate);
  return TMethodesDomaine::NombreDeSemaines(feriees);
}

int32_t NombreJoursFeries(const TypeDomaineHebdomadaire& Semaines, TDateTime PremiereDate, TDateTime DerniereDate) {
  const int32_t premiereSemaine = TMethodesDomaine::PremiereSemaine(Semaines);
  int64_t premier = 0, limite = 0;
  if (premiereSemaine == 0 || Fichier().Table == nullptr || Xi::Nombre(Fichier().Table) == 0 ||
      !TJourTZ::JourDeDate(PremiereDate, premier) || !TJourTZ::JourDeDate(DerniereDate, limite))
    return 0;
  const TJoursOuvres defaut(false);
  const TJoursOuvres* jours = JoursOuvres::JoursOuvresBase() != nullptr ? JoursOuvres::JoursOuvresBase() : &defaut;
  // Only weeks 1 to 52 can be in the set: the days after them are not looked at.
  limite = std::min(limite, premier + 52 * 7 - 1);
  PositionGardee garde;
  int64_t compte = 0;
  for (int64_t d = premier + 7 * int64_t{premiereSemaine - 1}; d <= limite; ++d) {
    const auto date = static_cast<TDateTime>(d);
    if (!Semaines.Contient(TMethodesCalendrier::NumeroDeSemaine(false, date, PremiereDate))) continue;
    if (jours->EstJourOuvreDate(date) && JourDansUnFerie(d)) ++compte;
  }
  const int64_t plafond = int64_t{TMethodesDomaine::NombreDeSemaines(Semaines)} * jours->NombreJoursOuvres();
  return static_cast<int32_t>(std::min(compte, plafond));
}

}  // namespace SupJourFerie
