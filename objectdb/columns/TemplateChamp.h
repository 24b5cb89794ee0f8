// The value-column template: a column that stores the values of one type in a typed array whose
// physical position is the row number (an empty position is a row without a value), written once and
// instantiated per value type in its own unit (ChampInteger, ChampString, ...). Each public instance
// is a named subclass with its own descriptor, registered under its type names at start-up.
//
// Traits (what one instance supplies):
//   using Valeur; using Tableau (the public contiguous array of the value type); using
//   TableauTraits (that array's element methods); using Parametre (the typed parameter of the type);
//   NomsDeType() -> the type names in order; Absente() -> the type's absent value;
//   Texte(Valeur, Texte&) -> the text of a value. Optionally ValeursSimples: whether the values are
//   plain (fixed-size, compared by their bytes' value alone, so that a copy compares as the
//   original); arithmetic types but bool are, by default.
//
// Reading a value is one indexed access in the array; rows never move: a deleted row only empties
// its position.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "core/arrays/TemplateArray.h"
#include "core/objects/Exceptions.h"
#include "objectdb/articles/ListeArticles.h"
#include "objectdb/columns/CustomChamp.h"
#include "objectdb/indexes/ClesIndex.h"
#include "objectdb/indexes/RechercheIndex.h"
#include "objectdb/properties/InfosAcces.h"
#include "objectdb/tables/CustomTable.h"

template <class Champ>
class TClesDeChamp;

template <class Traits>
class TChampTemplate : public TCustomChamp {
  friend class TClesDeChamp<TChampTemplate>;

 public:
  using T = typename Traits::Valeur;
  static constexpr bool kValeursSimples = [] {
    if constexpr (requires { Traits::ValeursSimples; }) return Traits::ValeursSimples;
    else return std::is_arithmetic_v<T> && !std::is_same_v<T, bool>;  // no block of bools to search
  }();
  using Tableau = typename Traits::Tableau;
  using TableauTraits = typename Traits::TableauTraits;
  using TableauCommun = TCustomArrayTemplate<TableauTraits>;

  // The value array: 1024 elements per page, dynamic, owning its elements when LibererElements.
  TChampTemplate(const std::string& Nom, TCustomTable* Table, const std::vector<int32_t>& Parametres,
                 bool LibererElements)
      : TCustomChamp(Nom, Table, Parametres, LibererElements), Valeurs(new Tableau(1024, true, LibererElements)) {}
  explicit TChampTemplate(TBlank b) : TCustomChamp(b) {}
  ~TChampTemplate() override { delete Valeurs; }

  Tableau* Valeurs = nullptr;

  // The row's value; a computed column's is first brought up to date through its access path. An
  // empty row holds no defined value (callers read rows in use only).
  const T& GetValeur(int32_t Ligne) const {
    if (InfosAccesPourChamp == nullptr) return Valeurs->ElementPosition(Ligne);
    return const_cast<TChampTemplate*>(this)->ValeurDuChemin(Ligne);
  }
  // Stores the value at the row; publishes nothing.
  virtual void SetValeur(int32_t Ligne, const T& Valeur) { Stocker(Valeur, Ligne); }
  // The value of a computed column from the articles its path reached: the value of column
  // NumeroChamp (of this class) of the first one; the absent value when none was reached.
  virtual T ValeurCalculee(TObject* Articles, int32_t NumeroChamp) {
    auto* liste = static_cast<TListeArticles*>(Articles);
    if (liste == nullptr || liste->GetNombreElements() == 0) return Traits::Absente();
    const TypeReferenceArticle premier = liste->GetElement(0);
    return MemeClasse(premier.Table->GetChamp(NumeroChamp))->GetValeur(static_cast<int32_t>(premier.IndiceArticle));
  }

  int32_t NombreValeurs() const override { return Valeurs->GetNombreElements(); }

  // The inherited copy, then a new value array with Source's page size and options, holding Source's
  // values at the same positions.
  void AssignerStructure(TCustomChamp* Source, TBase* BaseSource, TBase* BaseDestination, TCustomTable* TableSource,
                         TCustomTable* TableDestination) override {
    TChampTemplate* source = MemeClasse(Source);
    TCustomChamp::AssignerStructure(Source, BaseSource, BaseDestination, TableSource, TableDestination);
    auto* copie = new Tableau(source->Valeurs->GetElementsParPage(), source->Valeurs->GetDynamique(),
                              source->Valeurs->GetLibererElements());
    try {
      copie->Assigner(source->Valeurs,
                      new TParametreAssignationChamp(BaseSource, BaseDestination, TableSource, TableDestination));
    } catch (...) {
      delete copie;
      throw;
    }
    delete Valeurs;
    Valeurs = copie;
  }

  bool LigneVide(int32_t Ligne) const override { return Valeurs->PositionVide(Ligne); }
  int32_t PremiereLigneVide() const override { return Valeurs->PremierePositionVide(); }
  void ViderLigne(int32_t Ligne) override { Stocker(Traits::Absente(), Ligne); }
  void InitialiserLigne(int32_t Ligne) override { Stocker(Traits::Absente(), Ligne); }

  bool LibererLigne(int32_t Ligne) override {
    const bool occupee = !Valeurs->PositionVide(Ligne);
    if (occupee) Valeurs->Retirer(Ligne, true);
    Notifier(EventId, nullptr);
    return occupee;
  }

  // Compared in the neutral mode (0, no parameter), whatever mode an earlier comparison left on the
  // array: whether a row holds the absent value depends on the row alone.
  bool ValeurAbsente(int32_t Ligne) override {
    if (Valeurs->PositionVide(Ligne)) return false;
    return Traits::TableauTraits::ComparerElements(Traits::Absente(), GetValeur(Ligne), 0, nullptr) == 0;
  }

  // The indexes compare rows through this at every step of their searches: a column of exactly
  // this class is taken without a dynamic cast.
  int8_t ComparerLignes(TCustomChamp* Autre, int32_t LigneAutre, int32_t Ligne, int32_t Mode,
                        TObject* Parametre) override {
    const TChampTemplate* autre =
        Autre == this || (Autre != nullptr && Autre->ClassType() == ClassType()) ? static_cast<TChampTemplate*>(Autre)
                                                                                 : MemeClasse(Autre);
    return ComparerValeur(autre->GetValeur(LigneAutre), Ligne, Mode, Parametre);
  }

  // The value searched is read once and compared with each row's by the type's own comparison (the
  // array's ComparerElement: an empty row orders after, a reversed array reverses).
  void ChercherDansIndex(TCustomChamp* Autre, int32_t LigneAutre, int32_t Mode, bool Decroissant,
                         TRechercheIndex& Recherche) override {
    // A computed column's values are brought up to date row by row, through the row comparison.
    if (EstCalcule()) return TCustomChamp::ChercherDansIndex(Autre, LigneAutre, Mode, Decroissant, Recherche);
    const TChampTemplate* autre =
        Autre == this || (Autre != nullptr && Autre->ClassType() == ClassType()) ? static_cast<TChampTemplate*>(Autre)
                                                                                 : MemeClasse(Autre);
    const T valeur = autre->GetValeur(LigneAutre);
    Valeurs->SetModeComparaison(Mode);
    Valeurs->SetParametreComparaison(nullptr);
    const bool inverse = Valeurs->GetTriInverse() != Decroissant;
    // A row's slot is asked for ahead of its comparison (ElementPosition answers a shared zero
    // outside the slots, so any row number is safe to ask for).
    ::ChercherDansIndex(
        Recherche,
        [&](uint32_t x) -> int8_t {
          const int32_t ligne = static_cast<int32_t>(x);
          if (Valeurs->PositionVide(ligne)) return Decroissant ? 1 : -1;
          const int8_t r =
              Traits::TableauTraits::ComparerElements(valeur, Valeurs->ElementPosition(ligne), Mode, nullptr);
          const int8_t c = r < 0 ? -1 : (r > 0 ? 1 : 0);
          return inverse ? static_cast<int8_t>(-c) : c;
        },
        [&](uint32_t x) NV_DEMANDE { __builtin_prefetch(&Valeurs->ElementPosition(static_cast<int32_t>(x))); });
  }

  std::unique_ptr<TClesIndex> CreerClesIndex() override {
    if constexpr (kValeursSimples) return std::make_unique<TClesDeChamp<TChampTemplate>>(this);
    else return nullptr;
  }

  // The values are read once into one block, so that the sort compares them in place.
  void TrierLignes(std::vector<uint32_t>& Lignes, int32_t Mode, bool Decroissant) override {
    Valeurs->SetModeComparaison(Mode);
    Valeurs->SetParametreComparaison(nullptr);
    std::vector<std::pair<T, uint32_t>> valeurs;
    valeurs.reserve(Lignes.size());
    for (uint32_t l : Lignes) valeurs.emplace_back(GetValeur(static_cast<int32_t>(l)), l);
    const bool inverse = Valeurs->GetTriInverse() != Decroissant;
    std::stable_sort(valeurs.begin(), valeurs.end(), [&](const auto& a, const auto& b) {
      const int8_t r = Traits::TableauTraits::ComparerElements(a.first, b.first, Mode, nullptr);
      return inverse ? r > 0 : r < 0;
    });
    for (std::size_t i = 0; i < valeurs.size(); ++i) Lignes[i] = valeurs[i].second;
  }

  void CopierValeur(TCustomChamp* Source, int32_t LigneSource, int32_t Ligne) override {
    const T valeur = MemeClasse(Source)->GetValeur(LigneSource);
    Stocker(valeur, Ligne);
    Notifier(EventId, nullptr);
  }

  void EcrireValeur(int32_t Ligne, TCustomParametre* Parametre) override { ParametreDuType(Parametre)->SetValeur(GetValeur(Ligne)); }
  void LireValeur(int32_t Ligne, TCustomParametre* Parametre) override { SetValeur(Ligne, ParametreDuType(Parametre)->GetValeur()); }

  TCustomArray* CreerTableauValeurs(int32_t Nombre) override {
    auto* tableau = new Tableau(32, true, false);
    for (int32_t i = 0; i < Nombre; ++i) tableau->SetElementPosition(Traits::Absente(), i);
    return tableau;
  }

  void AjouterValeurATableau(int32_t Ligne, TCustomArray* Tableau_, int32_t Indice) override {
    auto* tableau = dynamic_cast<TableauCommun*>(Tableau_);
    if (tableau == nullptr) throw EInvalidCast();
    if (Indice >= 0 && Indice < tableau->GetNombreElements()) tableau->SetElement(Indice, GetValeur(Ligne));
    else tableau->Ajouter(GetValeur(Ligne));
  }

  void RestaurerValeur(TCustomArray* Tableau_, int32_t Indice, int32_t Ligne) override {
    auto* tableau = dynamic_cast<TableauCommun*>(Tableau_);
    if (tableau == nullptr) throw EInvalidCast();
    Stocker(tableau->GetElement(Indice), Ligne);
    Notifier(EventId, nullptr);
  }

  void TracerElements(bool Detail, TCustomTraceur* Traceur, std::string& Texte) override {
    Valeurs->TracerComplet(Detail, Traceur, Texte);
  }
  void TexteValeur(int32_t Ligne, std::string& Texte) override { Traits::Texte(GetValeur(Ligne), Texte); }

  // Compares Valeur with the row's value in the given mode and parameter, which stay on the array:
  // -1, 0 or 1 (reversed for an array sorted in reverse), kComparaisonPositionVide for an empty row.
  int8_t ComparerValeur(const T& Valeur, int32_t Ligne, int32_t Mode, TObject* Parametre) {
    Valeurs->SetModeComparaison(Mode);
    Valeurs->SetParametreComparaison(Parametre);
    // The array's ComparerElement, through the public class whose accessors are final.
    if (Valeurs->PositionVide(Ligne)) return kComparaisonPositionVide;
    if (EstCalcule()) (void)GetValeur(Ligne);
    int8_t r = Traits::TableauTraits::ComparerElements(Valeur, Valeurs->ElementPosition(Ligne), Mode, Parametre);
    if (Valeurs->GetTriInverse() && r >= -1) r = static_cast<int8_t>(-r);
    return r;
  }

  // The first row after Depuis (from row 0 when Depuis is kAucuneLigne) whose value equals Valeur in
  // the current mode; Ligne gets it, or kAucuneLigne. Empty rows are skipped.
  bool Chercher(const T& Valeur, int32_t& Ligne, int32_t Depuis) const {
    const int32_t fin = Valeurs->GetNombreTotalElements();
    for (int32_t p = Depuis == kSansLigne ? 0 : Depuis + 1; p >= 0 && p < fin; ++p) {
      if (Valeurs->ComparerElement(Valeur, p, true) == 0) {
        Ligne = p;
        return true;
      }
    }
    Ligne = kSansLigne;
    return false;
  }
  // The same backwards: the last matching row before Avant (from the last row for kAucuneLigne).
  bool ChercherDernier(const T& Valeur, int32_t& Ligne, int32_t Avant) const {
    const int32_t fin = Valeurs->GetNombreTotalElements();
    for (int32_t p = Avant == kSansLigne ? fin - 1 : std::min(Avant - 1, fin - 1); p >= 0; --p) {
      if (Valeurs->ComparerElement(Valeur, p, true) == 0) {
        Ligne = p;
        return true;
      }
    }
    Ligne = kSansLigne;
    return false;
  }

  void Vider() { Valeurs->Vider(); }
  // The array's add (the first empty row, or the end) and physical removal.
  int32_t Ajouter(const T& Valeur) { return Valeurs->Ajouter(Valeur); }
  void Retirer(int32_t Ligne) { Valeurs->Retirer(Ligne, true); }
  // Stores a computed value and marks the row current.
  void EnregistrerCalcul(int32_t Ligne, const T& Valeur) {
    SetValeur(Ligne, Valeur);
    LignesCalculees->Ajouter(Ligne);
  }

 protected:
  // The computed value of a row: the row's article (for a transient row, its origin) is looked up in
  // the column that caches the values (this one, or the origin table's), recomputed there when the
  // path changed or the row was never computed.
  const T& ValeurDuChemin(int32_t Ligne) {
    TypeReferenceArticle reference;
    Table->ReferenceLigne(Ligne, reference);
    // A transient row without origin has no article to walk from: it keeps its own value.
    if (ReferenceArticle::EstReferenceNulle(reference)) return Valeurs->ElementPosition(Ligne);
    auto* cache = dynamic_cast<TChampTemplate*>(reference.Table->GetChamp(NumeroChamp));
    if (cache == nullptr || cache->InfosAccesPourChamp == nullptr) return Valeurs->ElementPosition(Ligne);
    const auto ligne = static_cast<int32_t>(reference.IndiceArticle);
    TInfosAccesPourChamp* controleur = cache->InfosAccesPourChamp;
    if (controleur->Invalide) cache->LignesCalculees->Vider();
    if (cache->LigneACalculer(ligne)) {
      std::unique_ptr<TListeArticles> liste(controleur->ArticlesAtteints(reference));
      const TInfosAcces* chemin = controleur->InfosAcces;
      const int32_t etapes = chemin->GetNombreElements();
      T valeur = etapes == 0 ? Traits::Absente()
                             : ValeurCalculee(liste.get(), chemin->GetElement(etapes - 1).NumeroChamp);
      // An object column may take the list itself as its value.
      if constexpr (std::is_same_v<T, TObject*>)
        if (valeur == liste.get()) (void)liste.release();
      cache->EnregistrerCalcul(ligne, valeur);
    }
    return cache->Valeurs->ElementPosition(ligne);
  }

  // The raw store at a row. A table fills its rows in increasing order: past the end, the value
  // array doubles its capacity (in whole pages) instead of growing by one page per store, each
  // growth costing a recount of the array's occupancy.
  void Stocker(const T& Valeur, int32_t Ligne) {
    const int32_t capacite = Valeurs->GetNombreTotalElements();
    if (Ligne >= capacite) {
      const int64_t voulue = std::max<int64_t>(static_cast<int64_t>(Ligne) + 1, static_cast<int64_t>(capacite) * 2);
      Valeurs->SetNombreTotalElements(static_cast<int32_t>(std::min<int64_t>(voulue, kSansLigne)));
    }
    Valeurs->StockerPosition(Valeur, Ligne);
  }

  static constexpr int32_t kSansLigne = static_cast<int32_t>(kAucuneLigne);

  static TChampTemplate* MemeClasse(TCustomChamp* Autre) {
    auto* a = dynamic_cast<TChampTemplate*>(Autre);
    if (a == nullptr) throw EInvalidCast();
    return a;
  }
  static typename Traits::Parametre* ParametreDuType(TCustomParametre* Parametre) {
    auto* p = ObjectAs<typename Traits::Parametre>(Parametre);
    if (p == nullptr) throw EInvalidCast();
    return p;
  }
};

// The copy of a typed column's values for an index keyed on it alone (ClesIndex.h). A row's value
// is copied when the row is placed; a computed column's or an empty row's is not, which leaves
// the copy stale.
template <class Champ>
class TClesDeChamp final : public TClesIndex {
  using T = typename Champ::T;

 public:
  explicit TClesDeChamp(Champ* Colonne) : champ_(Colonne) {}

  void Inserer(uint32_t Ligne, int32_t Position) override {
    if (!aJour_) return Perimer();
    T valeur;
    if (Position < 1 || Position > Nombre() + 1 || !Copier(Ligne, valeur)) return Perimer();
    cles_.insert(cles_.begin() + Position, valeur);
  }
  void Supprimer(int32_t Position) override {
    if (!aJour_ || Position < 1 || Position > Nombre()) return Perimer();
    cles_.erase(cles_.begin() + Position);
  }
  void Perimer() override {
    aJour_ = false;
    aReconstruire_ = true;
  }

  bool Chercher(TCustomChamp* Autre, int32_t LigneAutre, int32_t Mode, bool Decroissant,
                TRechercheIndex& R) override {
    // A computed column's values are brought up to date row by row, through its own search.
    if (champ_->EstCalcule()) return false;
    if (!aJour_ && !Reconstruire(R.Lignes, R.Nombre)) return false;
    // A change of the row list that did not come through the index: the copy no longer follows.
    if (Nombre() != R.Nombre) {
      Perimer();
      if (!Reconstruire(R.Lignes, R.Nombre)) return false;
    }
    const Champ* autre = Autre == champ_ || (Autre != nullptr && Autre->ClassType() == champ_->ClassType())
                             ? static_cast<Champ*>(Autre)
                             : Champ::MemeClasse(Autre);
    const T valeur = autre->GetValeur(LigneAutre);
    typename Champ::Tableau* valeurs = champ_->Valeurs;
    valeurs->SetModeComparaison(Mode);
    valeurs->SetParametreComparaison(nullptr);
    // The comparison of the column's search, on the copied values (no copied row is empty); the
    // order's direction is settled once, outside the steps.
    const auto signe = [valeur, Mode](const T& cle) NV_DEMANDE -> int8_t {
      const int8_t r = Champ::TableauTraits::ComparerElements(valeur, cle, Mode, nullptr);
      return r < 0 ? -1 : (r > 0 ? 1 : 0);
    };
    if (valeurs->GetTriInverse() != Decroissant)
      ::ChercherDansCles(R, cles_.data(), [signe](const T& cle) NV_DEMANDE { return static_cast<int8_t>(-signe(cle)); });
    else
      ::ChercherDansCles(R, cles_.data(), signe);
    return true;
  }

 private:
  int32_t Nombre() const { return static_cast<int32_t>(cles_.size()) - 1; }
  bool Copier(uint32_t Ligne, T& Valeur) const {
    const auto ligne = static_cast<int32_t>(Ligne);
    if (champ_->EstCalcule() || champ_->Valeurs->PositionVide(ligne)) return false;
    Valeur = champ_->Valeurs->ElementPosition(ligne);
    return true;
  }
  // Copies the keys of the rows, in their order. A failed attempt is not repeated before the row
  // list changes again.
  bool Reconstruire(const uint32_t* Lignes, int32_t NombreLignes) {
    if (!aReconstruire_) return false;
    aReconstruire_ = false;
    cles_.resize(static_cast<std::size_t>(NombreLignes) + 1);
    for (int32_t p = 1; p <= NombreLignes; ++p) {
      if (!Copier(Lignes[p - 1], cles_[static_cast<std::size_t>(p)])) {
        cles_.assign(1, T());
        return false;
      }
    }
    aJour_ = true;
    return true;
  }

  Champ* champ_;
  // The key at position p at cles_[p] while aJour_ (cles_[0] holds no key), as ChercherDansCles
  // takes them.
  std::vector<T> cles_ = std::vector<T>(1);
  bool aJour_ = false;
  bool aReconstruire_ = true;
};

// Binds a public column class's class methods to its descriptor.
template <class Self, class Traits>
struct TChampClassOf final : TCustomChamp::Class {
  TChampClassOf(const char* name, const TClass* parent) : TCustomChamp::Class(name, parent, &NewBlankOf<Self>) {}
  TCustomChamp* Creer(const std::string& Nom, TCustomTable* Table, const std::vector<int32_t>& Parametres,
                      bool LibererElements) const override {
    return new Self(Nom, Table, Parametres, LibererElements);
  }
  std::vector<std::string> NomsDeType() const override { return Traits::NomsDeType(); }
};

// Declares a public column class of an instance (NV_DEFINE_CHAMP_CLASS in its source file).
#define NV_CHAMP_CLASS_BEGIN(Self, Traits)                                 \
  class Self : public TChampTemplate<Traits> {                             \
   public:                                                                 \
    using Base = TChampTemplate<Traits>;                                   \
    using Base::Base;                                                      \
    static const TCustomChamp::Class* StaticClass();                       \
    const TClass* ClassType() const override { return Self::StaticClass(); }
#define NV_CHAMP_CLASS_END \
  };
#define NV_CHAMP_CLASS(Self, Traits) \
  NV_CHAMP_CLASS_BEGIN(Self, Traits) \
  NV_CHAMP_CLASS_END

#define NV_DEFINE_CHAMP_CLASS(Self, Traits)                                                   \
  const TCustomChamp::Class* Self::StaticClass() {                                            \
    static const TChampClassOf<Self, Traits> descriptor(#Self, TCustomChamp::StaticClass()); \
    return &descriptor;                                                                       \
  }
