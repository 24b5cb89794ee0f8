// The generic association: a map from keys to values, written once and instantiated per pair of
// types. Entries live in one array and never move; sorted index arrays of entry numbers give binary
// searches and walks in key order (and in value order with DoubleSens); a removed entry's slot is
// reused first. Storing the default value for a key removes the key.
//
// Traits supply: types Cle and Valeur, and static int ComparerCles(a, b) and ComparerValeurs(a, b)
// returning -1, 0 or 1. Instances are named subclasses that may override LibererValeur.
#pragma once

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "core/objects/ObjetInterfacable.h"

template <class Traits>
class TTemplateAssoc : public TObjetInterfacable {
 public:
  using Cle = typename Traits::Cle;
  using Valeur = typename Traits::Valeur;
  // Called for each entry by Parcourir; answering true stops the walk.
  using TTraitement = std::function<bool(const Cle&, const Valeur&, void* Donnee)>;

  TTemplateAssoc(Valeur ValeurParDefaut, bool CleUnique, bool LibererValeurs, bool DoubleSens)
      : cleUnique_(CleUnique), libererValeurs_(LibererValeurs), doubleSens_(DoubleSens),
        defaut_(std::move(ValeurParDefaut)) {}
  explicit TTemplateAssoc(TBlank b) : TObjetInterfacable(b) {}
  // Derived destructors call Vider themselves so that their LibererValeur is the one that runs.
  ~TTemplateAssoc() override { Vider(); }

  void Vider();
  void SetValeur(const Cle& cle, const Valeur& valeur);
  Valeur GetValeur(const Cle& cle) const;
  int SupprimerCle(const Cle& cle);
  int NombreCles();
  bool PremiereCle(Cle& cle);
  bool CleSuivante(Cle& cle);
  bool EntreeSuivante(Cle& cle, Valeur& valeur);
  bool PremiereValeur(Valeur& valeur);
  bool ValeurSuivante(Valeur& valeur);
  void ArreterParcours() { curseurCle_ = -1; }
  bool Parcourir(const TTraitement& Traitement, void* Donnee) const;
  // The entry at a position of the key index (false past the live entries); no cursor is moved.
  bool EntreeA(int32_t p, Cle& cle, Valeur& valeur) const {
    if (p < 0 || p >= EntreesVivantes()) return false;
    cle = EntreeCle(p).cle;
    valeur = EntreeCle(p).valeur;
    return true;
  }
  void DiffererSuppression(const Cle& cle, const Valeur& valeur) { differees_.push_back({cle, valeur}); }
  void ViderSuppressionsDifferees() { differees_.clear(); }
  int AppliquerSuppressionsDifferees();

  // Counters of the storage: slots ever used, live entries, slots waiting for reuse.
  int32_t EntreesUtilisees() const { return static_cast<int32_t>(entrees_.size()); }
  int32_t EntreesVivantes() const { return static_cast<int32_t>(indexCles_.size()); }
  int32_t EntreesLibres() const { return static_cast<int32_t>(libres_.size()); }
  const Valeur& ValeurParDefaut() const { return defaut_; }

 protected:
  // Releases one value; the template keeps values alive.
  virtual void LibererValeur(Valeur& valeur) { (void)valeur; }

 private:
  struct Entree {
    Cle cle;
    Valeur valeur;
  };
  struct Recherche {
    bool trouve;
    int32_t position;
  };

  bool EstDefaut(const Valeur& v) const { return Traits::ComparerValeurs(v, defaut_) == 0; }
  const Entree& EntreeCle(int32_t p) const { return entrees_[static_cast<std::size_t>(indexCles_[static_cast<std::size_t>(p)])]; }
  const Entree& EntreeValeur(int32_t p) const { return entrees_[static_cast<std::size_t>(indexValeurs_[static_cast<std::size_t>(p)])]; }

  Recherche ChercherCle(const Cle& cle) const;
  Recherche ChercherValeur(const Valeur& valeur) const;
  Recherche ChercherCleValeur(const Cle& cle, const Valeur& valeur) const;
  Recherche ChercherValeurCle(const Valeur& valeur, const Cle& cle) const;
  void Inserer(int32_t p, const Cle& cle, const Valeur& valeur);
  void Supprimer(int32_t p);
  void Remplacer(int32_t p, const Valeur& valeur);

  std::vector<Entree> entrees_;
  std::vector<Entree> differees_;
  std::vector<int32_t> libres_;
  std::vector<int32_t> indexCles_;
  std::vector<int32_t> indexValeurs_;
  int32_t curseurCle_ = -1;
  int32_t curseurValeur_ = -1;
  bool cleUnique_ = true;
  bool libererValeurs_ = false;
  bool doubleSens_ = false;
  Valeur defaut_{};
};

// ---- searches -------------------------------------------------------------------------------------

template <class T>
typename TTemplateAssoc<T>::Recherche TTemplateAssoc<T>::ChercherCle(const Cle& cle) const {
  int32_t lo = 0, hi = EntreesVivantes() - 1;
  bool trouve = false;
  while (lo <= hi) {
    int32_t mid = (lo + hi) / 2;
    int c = T::ComparerCles(EntreeCle(mid).cle, cle);
    if (c >= 0) {
      if (c == 0) {
        trouve = true;
        if (cleUnique_) return {true, mid};
      }
      hi = mid - 1;
    } else {
      lo = mid + 1;
    }
  }
  return {trouve, lo};
}

template <class T>
typename TTemplateAssoc<T>::Recherche TTemplateAssoc<T>::ChercherValeur(const Valeur& valeur) const {
  int32_t lo = 0, hi = static_cast<int32_t>(indexValeurs_.size()) - 1;
  bool trouve = false;
  while (lo <= hi) {
    int32_t mid = (lo + hi) / 2;
    int c = T::ComparerValeurs(EntreeValeur(mid).valeur, valeur);
    if (c >= 0) {
      trouve = trouve || c == 0;
      hi = mid - 1;
    } else {
      lo = mid + 1;
    }
  }
  return {trouve, lo};
}

template <class T>
typename TTemplateAssoc<T>::Recherche TTemplateAssoc<T>::ChercherCleValeur(const Cle& cle, const Valeur& valeur) const {
  int32_t lo = 0, hi = EntreesVivantes() - 1;
  while (lo <= hi) {
    int32_t mid = (lo + hi) / 2;
    const Entree& e = EntreeCle(mid);
    int c = T::ComparerCles(e.cle, cle);
    if (c == 0) c = T::ComparerValeurs(e.valeur, valeur);
    if (c == 0) return {true, mid};
    if (c > 0) hi = mid - 1;
    else lo = mid + 1;
  }
  return {false, lo};
}

template <class T>
typename TTemplateAssoc<T>::Recherche TTemplateAssoc<T>::ChercherValeurCle(const Valeur& valeur, const Cle& cle) const {
  int32_t lo = 0, hi = static_cast<int32_t>(indexValeurs_.size()) - 1;
  while (lo <= hi) {
    int32_t mid = (lo + hi) / 2;
    const Entree& e = EntreeValeur(mid);
    int c = T::ComparerValeurs(e.valeur, valeur);
    if (c == 0) c = T::ComparerCles(e.cle, cle);
    if (c == 0) return {true, mid};
    if (c > 0) hi = mid - 1;
    else lo = mid + 1;
  }
  return {false, lo};
}

// ---- changes --------------------------------------------------------------------------------------

template <class T>
void TTemplateAssoc<T>::Inserer(int32_t p, const Cle& cle, const Valeur& valeur) {
  int32_t n;
  if (libres_.empty()) {
    n = EntreesUtilisees();
    entrees_.push_back({cle, valeur});
  } else {
    n = libres_.back();
    libres_.pop_back();
    entrees_[static_cast<std::size_t>(n)] = {cle, valeur};
  }
  int32_t pv = doubleSens_ ? ChercherValeurCle(valeur, cle).position : 0;
  indexCles_.insert(indexCles_.begin() + p, n);
  if (doubleSens_) indexValeurs_.insert(indexValeurs_.begin() + pv, n);
}

template <class T>
void TTemplateAssoc<T>::Supprimer(int32_t p) {
  const int32_t n = indexCles_[static_cast<std::size_t>(p)];
  Entree& e = entrees_[static_cast<std::size_t>(n)];
  if (doubleSens_) {
    int32_t pv = ChercherValeurCle(e.valeur, e.cle).position;
    indexValeurs_.erase(indexValeurs_.begin() + pv);
  }
  indexCles_.erase(indexCles_.begin() + p);
  Valeur garde = libererValeurs_ ? e.valeur : defaut_;
  e.valeur = defaut_;
  libres_.push_back(n);
  if (!EstDefaut(garde) && !(doubleSens_ && ChercherValeur(garde).trouve)) LibererValeur(garde);
}

template <class T>
void TTemplateAssoc<T>::Remplacer(int32_t p, const Valeur& valeur) {
  const int32_t n = indexCles_[static_cast<std::size_t>(p)];
  Entree& e = entrees_[static_cast<std::size_t>(n)];
  if (cleUnique_ && !doubleSens_) {
    e.valeur = valeur;
    return;
  }
  indexCles_.erase(indexCles_.begin() + p);
  if (doubleSens_) indexValeurs_.erase(indexValeurs_.begin() + ChercherValeurCle(e.valeur, e.cle).position);
  e.valeur = valeur;
  indexCles_.insert(indexCles_.begin() + ChercherCleValeur(e.cle, valeur).position, n);
  if (doubleSens_) indexValeurs_.insert(indexValeurs_.begin() + ChercherValeurCle(valeur, e.cle).position, n);
}

template <class T>
void TTemplateAssoc<T>::Vider() {
  if (libererValeurs_) {
    if (doubleSens_) {
      // Each distinct value once, in value order.
      for (std::size_t p = 0; p < indexValeurs_.size(); ++p) {
        const Valeur& v = EntreeValeur(static_cast<int32_t>(p)).valeur;
        if (p > 0 && T::ComparerValeurs(EntreeValeur(static_cast<int32_t>(p - 1)).valeur, v) == 0) continue;
        Valeur copie = v;
        if (!EstDefaut(copie)) LibererValeur(copie);
      }
    } else {
      for (Entree& e : entrees_)
        if (!EstDefaut(e.valeur)) LibererValeur(e.valeur);
    }
  }
  entrees_.clear();
  libres_.clear();
  indexCles_.clear();
  indexValeurs_.clear();
  differees_.clear();
  curseurCle_ = -1;
  curseurValeur_ = -1;
}

template <class T>
void TTemplateAssoc<T>::SetValeur(const Cle& cle, const Valeur& valeur) {
  Recherche r = ChercherCle(cle);
  if (EstDefaut(valeur)) {
    if (r.trouve) Supprimer(r.position);
    return;
  }
  if (!r.trouve) Inserer(r.position, cle, valeur);
  else if (T::ComparerValeurs(EntreeCle(r.position).valeur, valeur) != 0) Remplacer(r.position, valeur);
}

template <class T>
typename TTemplateAssoc<T>::Valeur TTemplateAssoc<T>::GetValeur(const Cle& cle) const {
  Recherche r = ChercherCle(cle);
  return r.trouve ? EntreeCle(r.position).valeur : defaut_;
}

template <class T>
int TTemplateAssoc<T>::SupprimerCle(const Cle& cle) {
  Recherche r = ChercherCle(cle);
  if (!r.trouve) return 0;
  int count = 0;
  while (r.position < EntreesVivantes() && T::ComparerCles(EntreeCle(r.position).cle, cle) == 0) {
    Supprimer(r.position);
    ++count;
  }
  return count;
}

template <class T>
int TTemplateAssoc<T>::NombreCles() {
  if (cleUnique_) return EntreesVivantes();
  int count = 0;
  Cle cle{};
  for (bool ok = PremiereCle(cle); ok; ok = CleSuivante(cle)) ++count;
  return count;
}

template <class T>
bool TTemplateAssoc<T>::PremiereCle(Cle& cle) {
  if (EntreesVivantes() == 0) {
    curseurCle_ = -1;
    return false;
  }
  curseurCle_ = 0;
  cle = EntreeCle(0).cle;
  return true;
}

template <class T>
bool TTemplateAssoc<T>::CleSuivante(Cle& cle) {
  ++curseurCle_;
  if (!cleUnique_)
    while (curseurCle_ < EntreesVivantes() && T::ComparerCles(EntreeCle(curseurCle_).cle, cle) == 0) ++curseurCle_;
  if (curseurCle_ >= EntreesVivantes()) {
    curseurCle_ = -1;
    return false;
  }
  cle = EntreeCle(curseurCle_).cle;
  return true;
}

template <class T>
bool TTemplateAssoc<T>::EntreeSuivante(Cle& cle, Valeur& valeur) {
  ++curseurCle_;
  if (curseurCle_ >= EntreesVivantes()) {
    curseurCle_ = -1;
    return false;
  }
  cle = EntreeCle(curseurCle_).cle;
  valeur = EntreeCle(curseurCle_).valeur;
  return true;
}

template <class T>
bool TTemplateAssoc<T>::PremiereValeur(Valeur& valeur) {
  if (indexValeurs_.empty()) {
    curseurValeur_ = -1;
    return false;
  }
  curseurValeur_ = 0;
  valeur = EntreeValeur(0).valeur;
  return true;
}

template <class T>
bool TTemplateAssoc<T>::ValeurSuivante(Valeur& valeur) {
  const int32_t live = static_cast<int32_t>(indexValeurs_.size());
  if (curseurValeur_ < 0) {
    return PremiereValeur(valeur);
  }
  const Valeur courante = EntreeValeur(curseurValeur_).valeur;
  ++curseurValeur_;
  while (curseurValeur_ < live && T::ComparerValeurs(EntreeValeur(curseurValeur_).valeur, courante) == 0) ++curseurValeur_;
  if (curseurValeur_ >= live) {
    curseurValeur_ = -1;
    return false;
  }
  valeur = EntreeValeur(curseurValeur_).valeur;
  return true;
}

template <class T>
bool TTemplateAssoc<T>::Parcourir(const TTraitement& Traitement, void* Donnee) const {
  const int32_t n = EntreesVivantes();
  for (int32_t p = 0; p < n; ++p)
    if (Traitement(EntreeCle(p).cle, EntreeCle(p).valeur, Donnee)) return true;
  return false;
}

template <class T>
int TTemplateAssoc<T>::AppliquerSuppressionsDifferees() {
  int count = 0;
  std::vector<Entree> pending;
  pending.swap(differees_);
  for (const Entree& d : pending) {
    if (EstDefaut(d.valeur)) {
      count += SupprimerCle(d.cle);
    } else {
      Recherche r = ChercherCleValeur(d.cle, d.valeur);
      if (r.trouve) {
        Supprimer(r.position);
        ++count;
      }
    }
  }
  return count;
}
