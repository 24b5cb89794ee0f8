// The sites of the base as one object (TSites, reached through SupSites::Sites): it holds the site
// parameters (whether sites are taken into account, three pauses of the day, the maximum number of
// site changes a day) and answers what the other files ask about sites when they read their stored
// site references. The site parameters travel byte for byte in the base parameter block, which
// reads and writes them through this object. The unit also holds the transient objects with which
// the placement engine asks on which sites a course takes place, whether two of them share a week,
// and which travels lead to and from them (TUsedSites, TUsedTrajetsSites). Main thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "core/arrays/AssociationCardinalObjet.h"
#include "core/objects/ObjetInterfacable.h"
#include "core/serial/Streams.h"
#include "core/values/DomaineHebdomadaire.h"

class TUsedSites;
struct TypeEnregistrementTrajetSite;

// The site parameters (36 bytes as stored; the padding bytes are written as zeros).
struct TypeParametresSite {
  uint8_t Activation = 0;  // 0 no sites, 1 sites, 2 sites with pauses
  uint8_t Pause1Active = 0;
  int32_t Pause1Position = 1;  // places of the day, 0-based
  uint8_t Pause2Active = 0;
  int32_t Pause2Position = 0;
  uint8_t Pause3Active = 0;
  int32_t Pause3Position = 0;
  int32_t MaxChangementsProfs = 3;
  int32_t MaxChangementsEleves = 3;
};

class TSites {
 public:
  static constexpr int32_t kTailleParametres = 36;

  // The tables of ".SIT" and ".TSI"; nil while they do not exist.
  void* TableSites() const;
  void* TableTrajets() const;
  // Creates both tables (False, both freed, when one is refused); frees both.
  bool CreerTables();
  void LibererTables();
  // Registers ".SIT" then ".TSI" with the table registry: True when they took their places.
  bool InscrireFichiers();
  // Saves the current records of both tables (sites first); restores them (travels first).
  void EmpilerPositions();
  void DepilerPositions();

  TypeParametresSite& Parametres() { return parametres_; }
  // The defaults for the grid's P places per day: pauses at 1, max(P div 2, 3) and
  // max(P, pause 2 + 3) - 1 (unsigned comparisons), three changes a day.
  void ParametresParDefaut();
  // Reads the 36 bytes (EReadError when short); writes them.
  void LireParametres(TStream& Flux);
  void EcrireParametres(TStream& Flux) const;

  uint8_t Activation() const { return parametres_.Activation; }
  bool SitesActifs() const { return parametres_.Activation != 0; }
  bool ActivationAvecPauses() const { return parametres_.Activation == 2; }
  // The active flag of pause N (1 to 3); 0 for any other N.
  uint8_t PauseActive(int32_t N) const;
  // The position of pause N (1 to 3); the last place of the day for any other N.
  int32_t PositionPause(int32_t N) const;
  // The maximum site changes a day of a resource kind: teachers' for kind 0, students' for kinds 1
  // to 4; the places per day (no practical limit) for any other kind.
  int32_t MaxChangementsDeSite(uint8_t Genre) const;

  // The record number of the default site, except for Genre 1 (a course without a site has none),
  // which gives 0. Rooms ask with Genre 2.
  uint32_t SiteParDefaut(uint8_t Genre) const;
  // The NumeroSite of a record number, 0 when no site has that record number.
  uint32_t NumeroDeSite(uint32_t Site) const;
  // True and the record number of the site numbered NumeroSite; else False and SiteParDefaut(Genre).
  // Number 0 names no site.
  bool ChercherSite(uint32_t NumeroSite, uint32_t& Site, uint8_t Genre) const;

  // The sites the current course uses in the weeks Semaines, as a new owning set (with the resource
  // and relation of every use when AvecUtilisateurs): its own site over its placed weeks
  // (SemainesPlacees) or its potential weeks, else the sites of its rooms whose relation weeks meet
  // Semaines, a room without a site or whose site is gone counting as the default site. False when
  // the rooms put the course on two sites in the same week.
  bool CreerSitesUtilises(std::unique_ptr<TUsedSites>& Resultat, const TypeDomaineHebdomadaire& Semaines,
                          bool SemainesPlacees, bool AvecUtilisateurs);

 private:
  TypeParametresSite parametres_;
};

namespace SupSites {

// The single instance.
TSites& Sites();
// The span in weeks of a travel's scope: NombreSemaines - 1 for a span in weeks, else the days after
// the first in whole weeks (rounded up), held to 52.
int32_t EtendueEnSemaines(int64_t Jours, int32_t NombreSemaines);
// True for the places of the files the sites object holds (".SIT" and ".TSI"), which the loops over
// every file reach through it, at the place of ".SIT".
bool PlaceDesSites(int32_t Place);

}  // namespace SupSites

// --- Site usage: small transient objects that the placement engine builds for one computation and
// frees after it. Sites are record numbers in ".SIT" (0: no site); nothing here is stored or sent.

// A site used in some weeks.
class TUsedSite : public TObject {
 public:
  TUsedSite(uint32_t Site, const TypeDomaineHebdomadaire& Semaines) : Site(Site), Semaines(Semaines) {}

  uint32_t Site = 0;
  TypeDomaineHebdomadaire Semaines;

  // Adds weeks to the site; the resource and relation of the use matter only to the variants that
  // remember their users.
  virtual void AjouterSemaines(const TypeDomaineHebdomadaire& Ajout, uint32_t Ressource, uint32_t Relation);
  virtual int32_t NombreUtilisateurs() const { return 0; }
  virtual uint32_t Ressource() const { return 0; }
  virtual uint32_t Relation() const { return 0; }
  // The use after Indice: True with Indice and Utilisateur set; else Indice -1, Utilisateur nil, False.
  virtual bool UtilisateurSuivant(int32_t& Indice, TUsedSite*& Utilisateur) const;
};

// One use of a site by one resource (record number in ".RES") through one course relation (".RLC").
class TUsedSiteAvecUtilisateur : public TUsedSite {
 public:
  TUsedSiteAvecUtilisateur(uint32_t Site, const TypeDomaineHebdomadaire& Semaines, uint32_t Ressource,
                           uint32_t Relation)
      : TUsedSite(Site, Semaines), ressource_(Ressource), relation_(Relation) {}
  uint32_t Ressource() const override { return ressource_; }
  uint32_t Relation() const override { return relation_; }

 private:
  uint32_t ressource_;
  uint32_t relation_;
};

// A list of used sites; it frees its elements only when created to.
class TListeUsedSite : public TObjectList {
 public:
  explicit TListeUsedSite(bool Proprietaire) : TObjectList(Proprietaire) {}
  // The first non-nil element after Indice (below -1 counts as -1): True with Indice and Element set;
  // else Indice -1, Element nil, False.
  bool Suivant(int32_t& Indice, TUsedSite*& Element) const;
};

// A used site that lists its uses; the list owns them.
class TUsedSiteAvecUtilisateurs : public TUsedSite {
 public:
  TUsedSiteAvecUtilisateurs(uint32_t Site, const TypeDomaineHebdomadaire& Semaines, uint32_t Ressource,
                            uint32_t Relation);

  TListeUsedSite Utilisations{true};

  void AjouterSemaines(const TypeDomaineHebdomadaire& Ajout, uint32_t Ressource, uint32_t Relation) override;
  int32_t NombreUtilisateurs() const override { return Utilisations.Count(); }
  bool UtilisateurSuivant(int32_t& Indice, TUsedSite*& Utilisateur) const override;
};

// A set of used sites, one element per site, walked in ascending site order. Weeks outside the set's
// domain (Semaines) are ignored when sites are added. An owning set frees its elements; a set that
// does not own them (the conflict set) must be freed before the set that does.
class TUsedSites : public TObject {
 public:
  // Called for each element in ascending site order; True stops the walk.
  using TRoutineSite = std::function<bool(uint32_t Cle, TUsedSite* Element, void* Donnee)>;

  // SiteRemplace is the site number that stands for the default site (0: no site counts as the default
  // site); LibererSites makes the set own its elements.
  TUsedSites(TSites& Sites, const TypeDomaineHebdomadaire& Semaines, uint32_t SiteRemplace, bool LibererSites);
  ~TUsedSites() override = default;

  TSites* Sites;
  uint32_t SiteParDefaut;
  uint32_t SiteRemplace;
  TypeDomaineHebdomadaire Semaines;
  // Site number to element; frees its elements when the set owns them.
  std::unique_ptr<TAssociationCardinalObjet> Utilises;

  // A new empty set of the same class.
  virtual std::unique_ptr<TUsedSites> Creer(TSites& Sites, const TypeDomaineHebdomadaire& Semaines,
                                            uint32_t SiteRemplace, bool LibererSites) const;
  // The walk routine of Fusionner: adds the element's site and weeks to this set; False.
  virtual bool AjouterSiteDe(uint32_t Cle, TUsedSite* Element, void* Donnee);
  // Adds the weeks of Semaines inside the domain to the site (SiteEffectif); nothing when none is.
  virtual void AjouterSite(uint32_t Site, const TypeDomaineHebdomadaire& Ajout, uint32_t Ressource,
                           uint32_t Relation);
  // With Copie: a new owning set of the same class (domain and replaced site of this set) holding this
  // set, then Autre; the caller frees it. Without: Autre merged into this set, which is returned.
  virtual TUsedSites* Fusionner(const TUsedSites* Autre, bool Copie);

  uint32_t SiteEffectif(uint32_t Site) const { return Site == SiteRemplace ? SiteParDefaut : Site; }
  TUsedSite* SiteUtilise(uint32_t Site) const;
  // Stores an element under its site, in place of any other (freed when the set owns its elements).
  void Inscrire(TUsedSite* Element);
  int32_t NombreDeSites() const { return Utilises->EntreesVivantes(); }
  // A new list (not owning) of the elements in ascending site order.
  std::unique_ptr<TListeUsedSite> ListeSites() const;
  bool PourChaqueSite(const TRoutineSite& Routine, void* Donnee) const;
  // The union of the weeks of the elements.
  TypeDomaineHebdomadaire DomaineTotal() const;
  // Keeps the elements whose weeks meet Semaines, cut to them; Domaine, and the set's domain, become
  // the union of what remains.
  void Restreindre(const TypeDomaineHebdomadaire& Restriction, TypeDomaineHebdomadaire& Domaine);
  // True when the set holds at most one site (Site and Semaines: that site and its weeks). Compatible
  // is False when two sites share a week; Semaines then holds shared weeks found by the second pass.
  bool AnalyserSites(uint32_t& Site, TypeDomaineHebdomadaire& SemainesSite, bool& Compatible) const;
  // The sites used in the same week as another within Restriction, as a new set of the same class that
  // shares this set's elements (free it first); its domain holds those weeks. True when it holds any.
  bool SitesEnConflit(const TypeDomaineHebdomadaire& Restriction, std::unique_ptr<TUsedSites>& Conflits) const;
  // A new owning set: Autre in the weeks Autre uses, this set elsewhere; a copy of this set when Autre
  // is nil or empty.
  std::unique_ptr<TUsedSites> Copier(const TUsedSites* Autre) const;

 protected:
  // Adds the weeks W (already inside the domain) to the element of Site, or creates it.
  virtual void AjouterSemainesDuSite(uint32_t Site, const TypeDomaineHebdomadaire& W, uint32_t Ressource,
                                     uint32_t Relation);
};

// A used-site set whose elements remember every use with its resource and relation.
class TUsedSitesAvecUtilisateurs : public TUsedSites {
 public:
  using TUsedSites::TUsedSites;

  std::unique_ptr<TUsedSites> Creer(TSites& Sites, const TypeDomaineHebdomadaire& Semaines, uint32_t SiteRemplace,
                                    bool LibererSites) const override;
  // Adds every use of the element, each with its own resource and relation; an element without uses
  // with 0 and 0.
  bool AjouterSiteDe(uint32_t Cle, TUsedSite* Element, void* Donnee) override;

 protected:
  void AjouterSemainesDuSite(uint32_t Site, const TypeDomaineHebdomadaire& W, uint32_t Ressource,
                             uint32_t Relation) override;
};

// A travel between two sites as the placement engine sees it: of class 0 (a duration in minutes, 0 or
// more) or of class 1 (a forbidden succession within a span of days or weeks).
class TUsedTrajetSite : public TObject {
 public:
  TUsedTrajetSite(uint32_t SiteDepart, uint32_t SiteArrivee, int32_t DureeTrajet)
      : SiteDepart(SiteDepart), SiteArrivee(SiteArrivee), DureeTrajet(DureeTrajet) {}

  uint32_t SiteDepart;
  uint32_t SiteArrivee;
  int32_t DureeTrajet;

  virtual bool EstInterdit() const = 0;
  // The places of the grid the travel takes.
  virtual int32_t NombrePlaces() const { return 0; }
  // The span of a forbidden travel, in days or in weeks; False when it has none.
  virtual bool Portee(int64_t& Jours, int32_t& NombreSemaines) const;
};

class TUsedTrajetSiteDuree : public TUsedTrajetSite {
 public:
  using TUsedTrajetSite::TUsedTrajetSite;
  bool EstInterdit() const override { return false; }
  // Minutes times places per hour, divided by 60 and truncated, held to the 32-bit range.
  int32_t NombrePlaces() const override;
};

class TUsedTrajetSiteInterdit : public TUsedTrajetSite {
 public:
  using TUsedTrajetSite::TUsedTrajetSite;
  bool EstInterdit() const override { return true; }
  // -0x7FFFFFFF, -0x7FFFFFFE, -0x7FFFFFFD: one, two, four weeks; any other -n: n days.
  bool Portee(int64_t& Jours, int32_t& NombreSemaines) const override;
};

// The travels that lead to and from the sites of a used-site set, read afresh from the travel table:
// Trajets [Classe][Sens] maps the other site to an association from the used site to the travel (Sens
// 1: from the used site to the other, 0: from the other to the used site). Etendues [0] and [1] are the
// widest spans in weeks before and after a use.
class TUsedTrajetsSites : public TObject {
 public:
  TUsedTrajetsSites(TSites& Sites, const TUsedSites& UsedSites);

  std::unique_ptr<TAssociationCardinalObjet> Trajets[2][2];
  int32_t Nombres[2][2] = {{0, 0}, {0, 0}};
  int32_t Etendues[2] = {0, 0};

  // The travel or nil (nil too for a class or direction other than 0 and 1).
  TUsedTrajetSite* ChercherTrajet(int32_t Classe, int32_t Sens, uint32_t SiteAutre, uint32_t SiteUtilise) const;
  // The number of travels of the class recorded, both directions.
  int32_t EtendueTotale(int32_t Classe) const;
  // Resultat := Semaines widened by the spans (within weeks 1 to 52); True when weeks were added.
  bool ElargirDomaine(const TypeDomaineHebdomadaire& Semaines, TypeDomaineHebdomadaire& Resultat) const;

 private:
  void Enregistrer(const TypeEnregistrementTrajetSite& Trajet, int32_t Sens, uint32_t SiteAutre, uint32_t SiteUtilise);
};
