// The typed array template: the system's general container, written once and instantiated per
// element type (integers, cardinals, strings, objects ...). Elements live in slots, occupied or
// empty; a position is a slot number, an index the rank of an element among the occupied slots.
// Options set the policy: ownership of the elements, trimming after removals, duplicates, a
// permanently sorted order (ascending or descending), the comparison mode and parameter, and the
// allocation granule. Three storages: contiguous (TArrayOf<T>), paged (TPagedArrayOf<T>) and fixed
// (TFixedArrayOf<T>), all behind the same operations.
//
// Traits (the element methods of one instance) supply:
//   using Element; using Tableau (the public contiguous class, also the page of the paged storage);
//   static constexpr bool kLibereElements (true when LibererElement does something);
//   CopierElement(Source, Destination&, Parametre), ComparerElements(A, B, Mode, Parametre) -> int8_t,
//   LibererElement(Element&), Identite(Element) -> uintptr_t (for owned elements), ElementVide(),
//   TracerElement(Element, Detail, Texte&, Traceur), EcrireElement(Element, Formateur, Contexte) and
//   LireElement(Formateur, Contexte) -> Element (a short read raises EReadError).
// TArrayTraitsBase gives the defaults of a plain value type.
//
// Stream layout of every array: LibererElements (Booleen), the capacity field (Entier; 0 for a paged
// array), AvecDoublons, ToujoursTrie (Booleen), ElementsParPage (Entier), Dynamique (Booleen),
// ModeComparaison, NombreElementsMax (Entier). Then, contiguous and fixed: the count (Entier), one
// Booleen per slot (occupied), and (position as Entier, element) per occupied slot in increasing
// position; paged: the page count (Entier) and each page as an object.
#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

#include "core/arrays/ArrayOfBit.h"
#include "core/arrays/CustomArray.h"
#include "core/diagnostics/DelegueTracable.h"
#include "core/objects/Etiquetable.h"
#include "core/objects/Exceptions.h"
#include "core/serial/Serialisation.h"
#include "core/diagnostics/Trace.h"

template <class T>
struct TArrayTraitsBase {
  using Element = T;
  static constexpr bool kLibereElements = false;
  static void CopierElement(const T& Source, T& Destination, TObject* /*Parametre*/) { Destination = Source; }
  static void LibererElement(T& /*Element*/) {}
  static T ElementVide() { return T{}; }
};

// The result of comparing a value with an empty slot (the byte 254, read as a signed byte).
inline constexpr int8_t kComparaisonPositionVide = -2;

// The array interface: what code that holds an array of a known element type may call without
// knowing its storage. No identifier of its own (all zero), no reference counting.
template <class Traits>
struct TArrayInterface : virtual IInterface {
  using T = typename Traits::Element;
  static constexpr TGUID IID{};

  virtual int32_t GetNombreElements() const = 0;
  virtual T GetElement(int32_t Indice) const = 0;
  virtual void SetElement(int32_t Indice, const T& Valeur) = 0;
  virtual bool GetAvecDoublons() const = 0;
  virtual void SetAvecDoublons(bool Valeur) = 0;
  virtual bool GetToujoursTrie() const = 0;
  virtual void SetToujoursTrie(bool Valeur) = 0;
  virtual bool GetTriInverse() const = 0;
  virtual void SetTriInverse(bool Valeur) = 0;
  virtual int32_t GetModeComparaison() const = 0;
  virtual void SetModeComparaison(int32_t Valeur) = 0;
  virtual TObject* GetParametreComparaison() const = 0;
  virtual void SetParametreComparaison(TObject* Valeur) = 0;
  virtual int32_t GetNombreElementsMax() const = 0;
  virtual void SetNombreElementsMax(int32_t Valeur) = 0;
  virtual void Assigner(TCustomArray* Source, TObject* Parametre) = 0;
  virtual void Vider() = 0;
  virtual int32_t Ajouter(const T& Valeur) = 0;
  virtual bool Supprimer(const T& Valeur) = 0;
  virtual void Inserer(const T& Valeur, int32_t Indice, bool Physique) = 0;
  virtual void SupprimerIndice(int32_t Indice, bool Physique) = 0;
  virtual void Retirer(int32_t Indice, bool Physique) = 0;
  virtual void Echanger(int32_t Indice1, int32_t Indice2, bool Physique) = 0;
  virtual void Deplacer(int32_t De, int32_t Vers, bool Physique) = 0;
  virtual void Tasser() = 0;
  virtual int8_t ComparerElement(const T& Valeur, int32_t Indice, bool Physique) const = 0;
  virtual bool Chercher(const T& Valeur, int32_t& Indice, int32_t Depuis = -1) const = 0;
  virtual bool ChercherDernier(const T& Valeur, int32_t& Indice, int32_t Avant = -1) const = 0;
  virtual bool Contient(const T& Valeur) const = 0;
  virtual void Ecrire(IFormateur* Formateur, TClasseFormat Contexte) = 0;
  virtual void Lire(IFormateur* Formateur, TClasseFormat Contexte) = 0;

 protected:
  ~TArrayInterface() = default;
};

// ---- the common part: options and every algorithm over the storage operations ---------------------

template <class Traits>
class TCustomArrayTemplate : public TCustomArray, public TArrayInterface<Traits> {
 public:
  using T = typename Traits::Element;
  using Interface = TArrayInterface<Traits>;

  TCustomArrayTemplate(int32_t ElementsParPage, bool Dynamique, bool LibererElements)
      : elementsParPage_(std::max<int32_t>(ElementsParPage, 1)),
        dynamique_(Dynamique),
        libererElements_(LibererElements),
        porteur_(this) {}
  explicit TCustomArrayTemplate(TBlank b) : TCustomArray(b), porteur_(this) {}

  // A new contiguous array of this instance.
  static typename Traits::Tableau* CreerTableau(int32_t ElementsParPage, bool Dynamique, bool LibererElements) {
    return new typename Traits::Tableau(ElementsParPage, Dynamique, LibererElements);
  }

  // ---- storage operations (each storage provides them) ----
  int32_t GetNombreElements() const override = 0;
  // The position of the element of that index; -1 when there is none (storages differ past the end).
  virtual int32_t PositionDeIndice(int32_t Indice) const = 0;
  // The index of the element at or before that position (-1 when none lies at or below it).
  virtual int32_t IndiceDePosition(int32_t Position) const = 0;
  // Trims the capacity to just past the last occupied slot.
  virtual void AjusterNombreTotalElements() = 0;
  // Marks the slot empty without releasing its element (the slot is cleared).
  virtual void ViderPosition(int32_t Position) = 0;
  virtual bool PositionVide(int32_t Position) const = 0;
  // The first empty position (the capacity when every slot is occupied).
  virtual int32_t PremierePositionVide() const = 0;
  // The first empty position after Position (the capacity when none).
  virtual int32_t PositionVideSuivante(int32_t Position) const = 0;
  // The element stored in a slot (the zero value outside the slots).
  virtual const T& ElementPosition(int32_t Position) const = 0;
  // Stores into a slot, growing the capacity when needed; an empty slot becomes occupied. No
  // release and no check of the sorted order: the raw store under SetElementPosition.
  virtual void EcrirePosition(const T& Valeur, int32_t Position) = 0;

  T GetElementPosition(int32_t Position) const { return ElementPosition(Position); }
  // Stores into a slot; an owned element that this store replaces is released when no other slot
  // holds it. A store that leaves a hole among the elements of a sorted array ends its sorted state.
  virtual void SetElementPosition(const T& Valeur, int32_t Position);
  // Removes slot P - 1, moving the slots above it down (nothing is released here).
  virtual bool DecalerVersLeBas(int32_t P);
  // Opens slot P, moving the elements up to the first empty slot one place higher.
  virtual bool DecalerVersLeHaut(int32_t P);
  virtual void LibererElement(T& Element) { Traits::LibererElement(Element); }

  // ---- element access and options ----
  T GetElement(int32_t Indice) const final { return ElementIndice(Indice); }
  void SetElement(int32_t Indice, const T& Valeur) final { SetElementPosition(Valeur, PositionDeIndice(Indice)); }
  bool GetLibererElements() const { return libererElements_; }
  bool GetDynamique() const { return dynamique_; }
  int32_t GetElementsParPage() const { return elementsParPage_; }
  bool GetAvecDoublons() const final { return avecDoublons_; }
  void SetAvecDoublons(bool Valeur) final;
  bool GetToujoursTrie() const final { return toujoursTrie_; }
  void SetToujoursTrie(bool Valeur) final;
  bool GetTriInverse() const final { return triInverse_; }
  void SetTriInverse(bool Valeur) final;
  int32_t GetModeComparaison() const final { return modeComparaison_; }
  void SetModeComparaison(int32_t Valeur) final;
  TObject* GetParametreComparaison() const final { return parametreComparaison_; }
  void SetParametreComparaison(TObject* Valeur) final;
  int32_t GetNombreElementsMax() const final { return nombreElementsMax_; }
  void SetNombreElementsMax(int32_t Valeur) final { nombreElementsMax_ = Valeur; }

  // Copies the options (not NombreElementsMax) and the elements of an array of the same instance
  // (EInvalidCast otherwise) into the same positions.
  void Assigner(TCustomArray* Source, TObject* Parametre) final;
  void Vider() override;
  void LibererNonPossedes() override;

  // ---- ordering, search, insertion and removal ----
  int8_t ComparerElement(const T& Valeur, int32_t Indice, bool Physique) const final;
  bool Chercher(const T& Valeur, int32_t& Indice, int32_t Depuis = -1) const final;
  bool ChercherDernier(const T& Valeur, int32_t& Indice, int32_t Avant = -1) const final;
  bool Contient(const T& Valeur) const final {
    int32_t i;
    return Chercher(Valeur, i, -1);
  }
  int32_t PositionInsertion(const T& Valeur) const;
  int32_t Ajouter(const T& Valeur) final;
  bool Supprimer(const T& Valeur) final;
  void Inserer(const T& Valeur, int32_t Indice, bool Physique) final;
  void SupprimerIndice(int32_t Indice, bool Physique) final;
  void Retirer(int32_t Indice, bool Physique) final;
  void Echanger(int32_t Indice1, int32_t Indice2, bool Physique) final;
  void Deplacer(int32_t De, int32_t Vers, bool Physique) final;
  void Tasser() final;
  bool ADesDoublons() const;
  void TriRapide(int32_t Debut, int32_t Fin);
  void Trier();
  void AjouterTableau(TCustomArray* Autre) override;
  void SupprimerTableau(TCustomArray* Autre) override;
  int8_t Comparer(TCustomArray* Autre) override;

  // ---- tracing (each text is empty while the array's trace is switched off) ----
  // Eight property lines: the options, the capacity and the count.
  virtual void TracerEntete(TCustomTraceur* Traceur, std::string& Texte);
  // Each element's block, in index order.
  virtual void TracerContenu(bool Detail, TCustomTraceur* Traceur, std::string& Texte);
  // The class-name line, then the header and the contents one level deeper.
  virtual void TracerComplet(bool Detail, TCustomTraceur* Traceur, std::string& Texte);
  // With Detail the complete trace without detail on the default tracer, otherwise nothing.
  virtual void TracerResume(bool Detail, std::string& Texte);
  void TracerResume(std::string& Texte) { TracerResume(false, Texte); }
  // "NULL" for an absent array.
  static void TracerResume(TCustomArrayTemplate* Tableau, bool Detail, std::string& Texte) {
    if (Tableau == nullptr) Texte = "NULL";
    else Tableau->TracerResume(Detail, Texte);
  }
  bool TraceActive() const { return porteur_.TraceActive(); }

  // ---- streaming ----
  void Ecrire(IFormateur* Formateur, TClasseFormat Contexte) override;
  // Reads a whole array, checking every size, count and position against the stream (EReadError
  // otherwise); the array changes only once everything has been read.
  void Lire(IFormateur* Formateur, TClasseFormat Contexte) override;

 protected:
  struct Entete {
    bool liberer = false;
    int32_t capacite = 0;
    bool doublons = true;
    bool trie = false;
    int32_t parPage = 1;
    bool dynamique = false;
    int32_t mode = 0;
    int32_t maximum = 0;
  };
  // The storage's part of the stream, after the header.
  virtual void EcrireContenu(IFormateur* Formateur, TClasseFormat Contexte) = 0;
  virtual void LireContenu(IFormateur* Formateur, TClasseFormat Contexte, const Entete& Lue) = 0;
  // Empties the array, then takes the options that were read (the capacity is the storage's).
  void AppliquerEntete(const Entete& Lue);
  // Releases elements read from a stream that will not be kept, once each, with what they hold.
  static void LibererLus(std::vector<T>& Lus) {
    if constexpr (Traits::kLibereElements) {
      std::unordered_set<uintptr_t> liberes;
      for (T& e : Lus)
        if (liberes.insert(Traits::Identite(e)).second) TCustomArray::LibererLu(e);
    }
    Lus.clear();
  }

  void* GetInterfaceEntry(const TGUID& iid) override {
    if (iid == Interface::IID) return static_cast<Interface*>(this);
    if (iid == ITracable::IID) return porteur_.Tracable();
    return TCustomArray::GetInterfaceEntry(iid);
  }

  static TCustomArrayTemplate* MemeInstance(TCustomArray* Autre) {
    auto* a = dynamic_cast<TCustomArrayTemplate*>(Autre);
    if (a == nullptr) throw EInvalidCast();
    return a;
  }
  // One slot of a contiguous storage (a plain wrapper, so that Booleans get real slots too).
  struct Case {
    T Valeur{};
  };
  static const T& Zero() {
    static const T zero{};
    return zero;
  }

  // The element of an index: straight from the dense view when it holds, else by translation.
  const T& ElementIndice(int32_t Indice) const {
    if (VueDenseValide(Indice)) return vueElements_[Indice].Valeur;
    return ElementPosition(PositionDeIndice(Indice));
  }
  int32_t PositionDernier() const { return PositionDeIndice(GetNombreElements() - 1); }

  // Removal by position: the element leaves, is released when it was its last occurrence,
  // and a dynamic array trims its capacity.
  void RetirerPosition(int32_t Position);
  // Empties a slot without releasing its element (moves of elements inside the array).
  void ViderSansLiberer(int32_t Position) {
    ViderPosition(Position);
    if (dynamique_) AjusterNombreTotalElements();
  }
  void InsererPosition(const T& Valeur, int32_t Position);
  void EchangerPositions(int32_t P1, int32_t P2);
  // A sorted array keeps its elements in slots 0 .. NombreElements - 1: a hole among them ends
  // the sorted state.
  void VerifierTri() {
    if (toujoursTrie_ && PremierePositionVide() < GetNombreElements()) toujoursTrie_ = false;
  }

  // Ownership: true when an occupied slot holds this very element.
  bool EstPresent(const T& Element) const;
  // Releases each element of the list that no slot holds any more, once per element.
  void LibererOrphelins(std::vector<T>& Sortants);
  void LibererSiOrphelin(const T& Element) {
    if constexpr (Traits::kLibereElements) {
      if (!libererElements_) return;
      std::vector<T> un{Element};
      LibererOrphelins(un);
    }
  }
  // Takes every element at or above a position out (releasing owned ones), before the storage
  // lowers its capacity there.
  void RetirerAuDela(int32_t Limite);

  // Dense view: a storage whose N elements sit in slots 0 .. N - 1 publishes them, so that index
  // access needs no translation. Every change of occupancy or of the slots drops the view; the
  // storage checks again at the next translation.
  bool VueDenseValide(int32_t Indice) const { return static_cast<uint32_t>(Indice) < static_cast<uint32_t>(vueNombre_); }
  void InvaliderVueDense() const {
    vueNombre_ = 0;
    vueAJour_ = false;
  }

  int32_t nombreTotalElements_ = 0;
  int32_t elementsParPage_ = 0;
  int32_t modeComparaison_ = 0;
  TObject* parametreComparaison_ = nullptr;
  int32_t nombreElementsMax_ = std::numeric_limits<int32_t>::max();
  bool avecDoublons_ = true;
  bool toujoursTrie_ = false;
  bool triInverse_ = false;
  bool dynamique_ = false;
  bool libererElements_ = false;

  mutable const Case* vueElements_ = nullptr;
  mutable int32_t vueNombre_ = 0;
  mutable bool vueAJour_ = false;
  TPorteurDelegue<TCustomArrayTemplate> porteur_;
};

// ---- contiguous storage ---------------------------------------------------------------------------

template <class Traits>
class TArrayTemplate : public TCustomArrayTemplate<Traits> {
  using Base = TCustomArrayTemplate<Traits>;

 public:
  using T = typename Traits::Element;

  TArrayTemplate(int32_t ElementsParPage, bool Dynamique, bool LibererElements)
      : Base(ElementsParPage, Dynamique, LibererElements) {}
  explicit TArrayTemplate(TBlank b) : Base(b) {}
  ~TArrayTemplate() override {
    if (this->libererElements_) TArrayTemplate::Vider();
  }

  int32_t GetNombreTotalElements() const final { return this->nombreTotalElements_; }
  void SetNombreTotalElements(int32_t N) override;
  int32_t GetNombreElements() const final { return nombreElements_; }
  // SetElementPosition without a virtual call for elements that own nothing, stored inline when the
  // position lies within the capacity and the array does not keep itself sorted: the value columns
  // of the object database store every row through it.
  void StockerPosition(const T& Valeur, int32_t Position) {
    if constexpr (!Traits::kLibereElements) {
      if (static_cast<uint32_t>(Position) < static_cast<uint32_t>(this->nombreTotalElements_) && !this->toujoursTrie_) {
        if (occupation_->SetIfClear(Position)) {
          this->InvaliderVueDense();
          ++nombreElements_;
        }
        elements_[static_cast<std::size_t>(Position)].Valeur = Valeur;
        return;
      }
    }
    this->SetElementPosition(Valeur, Position);
  }
  int32_t PositionDeIndice(int32_t Indice) const final;
  int32_t IndiceDePosition(int32_t Position) const final;
  void AjusterNombreTotalElements() override {
    SetNombreTotalElements(occupation_ ? occupation_->DernierBitUn() + 1 : 0);
  }
  void ViderPosition(int32_t Position) final;
  bool PositionVide(int32_t Position) const final {
    return !occupation_ || Position < 0 || Position >= this->nombreTotalElements_ || !occupation_->IsSet(Position);
  }
  int32_t PremierePositionVide() const final { return occupation_ ? occupation_->PremierBitNul() : nombreElements_; }
  int32_t PositionVideSuivante(int32_t Position) const final;
  const T& ElementPosition(int32_t Position) const final {
    if (Position < 0 || static_cast<std::size_t>(Position) >= elements_.size()) return Base::Zero();
    return elements_[static_cast<std::size_t>(Position)].Valeur;
  }
  void EcrirePosition(const T& Valeur, int32_t Position) final;
  bool DecalerVersLeBas(int32_t P) override;
  bool DecalerVersLeHaut(int32_t P) override;

  // The occupancy map (nil before the first change of capacity).
  const TArrayOfBit* Occupation() const { return occupation_.get(); }

 protected:
  using Entete = typename Base::Entete;
  void EcrireContenu(IFormateur* Formateur, TClasseFormat Contexte) override;
  void LireContenu(IFormateur* Formateur, TClasseFormat Contexte, const Entete& Lue) override;
  void MettreAJourVueDense() const;
  // The occupancy map, for a change: the dense view goes.
  TArrayOfBit& CarteModifiable() {
    this->InvaliderVueDense();
    return *occupation_;
  }
  // Resizes the slots and the map to exactly c; the map keeps no bit at or above c.
  void Redimensionner(int32_t c);

  int32_t nombreElements_ = 0;
  std::unique_ptr<TArrayOfBit> occupation_;
  std::vector<typename Base::Case> elements_;
};

// ---- paged storage --------------------------------------------------------------------------------

template <class Traits>
class TPagedArrayTemplate : public TCustomArrayTemplate<Traits> {
  using Base = TCustomArrayTemplate<Traits>;

 public:
  using T = typename Traits::Element;
  // Pages are made as the public contiguous class, whose name the class-name registry knows, so
  // that a paged array can be read back; any contiguous array of the instance is accepted.
  using Page = TArrayTemplate<Traits>;

  TPagedArrayTemplate(int32_t ElementsParPage, bool Dynamique, bool LibererElements)
      : Base(ElementsParPage, Dynamique, LibererElements) {}
  explicit TPagedArrayTemplate(TBlank b) : Base(b) {}
  ~TPagedArrayTemplate() override {
    if (this->libererElements_) TPagedArrayTemplate::Vider();
    TPagedArrayTemplate::SetNombreTotalElements(0);
  }

  int32_t NombrePages() const { return static_cast<int32_t>(pages_.size()); }
  int32_t GetNombreTotalElements() const override {
    const int64_t n = static_cast<int64_t>(pages_.size()) * this->elementsParPage_;
    return static_cast<int32_t>(std::min<int64_t>(n, std::numeric_limits<int32_t>::max()));
  }
  void SetNombreTotalElements(int32_t N) override;
  int32_t GetNombreElements() const final;
  int32_t PositionDeIndice(int32_t Indice) const final;
  int32_t IndiceDePosition(int32_t Position) const final;
  void AjusterNombreTotalElements() final;
  void ViderPosition(int32_t Position) final;
  bool PositionVide(int32_t Position) const final;
  int32_t PremierePositionVide() const final;
  int32_t PositionVideSuivante(int32_t Position) const final;
  const T& ElementPosition(int32_t Position) const final;
  void EcrirePosition(const T& Valeur, int32_t Position) final;

 protected:
  using Entete = typename Base::Entete;
  void EcrireContenu(IFormateur* Formateur, TClasseFormat Contexte) override;
  void LireContenu(IFormateur* Formateur, TClasseFormat Contexte, const Entete& Lue) override;
  Page* PageDe(int32_t Position) const { return pages_[static_cast<std::size_t>(Position / this->elementsParPage_)].get(); }

  std::vector<std::unique_ptr<Page>> pages_;
};

// ---- fixed storage --------------------------------------------------------------------------------

template <class Traits>
class TFixedArrayTemplate : public TArrayTemplate<Traits> {
  using Base = TArrayTemplate<Traits>;

 public:
  using T = typename Traits::Element;

  // NombreElements slots, all occupied by the zero value.
  TFixedArrayTemplate(int32_t NombreElements, bool LibererElements) : Base(32, false, LibererElements) {
    TFixedArrayTemplate::SetNombreTotalElements(NombreElements);
    this->nombreElementsMax_ = NombreElements;
  }
  // The contiguous constructor, reached through the class's virtual constructor.
  TFixedArrayTemplate(int32_t ElementsParPage, bool Dynamique, bool LibererElements)
      : Base(ElementsParPage, Dynamique, LibererElements) {}
  explicit TFixedArrayTemplate(TBlank b) : Base(b) {}

  // Resizes to exactly N slots; slots added count as occupied (by the zero value), the others keep
  // their state. 0 only sets the capacity to 0.
  void SetNombreTotalElements(int32_t N) override;
  // The size never changes by itself: removals with shift and packing leave empty slots at the top.
  void AjusterNombreTotalElements() override {}
  // Without ownership the elements become zero values and the size stays.
  void Vider() override;
  // The size is fixed: when the top slot is in use, its content falls out instead of moving past
  // the end.
  bool DecalerVersLeHaut(int32_t P) override;
};

// ---- forward iterator -----------------------------------------------------------------------------

template <class Traits>
class TArrayIterator : public TObject {
 public:
  using T = typename Traits::Element;

  explicit TArrayIterator(TArrayInterface<Traits>* Tableau) : tableau_(Tableau) {}

  int32_t Position() const { return position_; }
  // Moves to the next index; false past the last element (the count is read at each call).
  bool Suivant() {
    ++position_;
    return position_ < tableau_->GetNombreElements();
  }
  // The current element; before the first Suivant the instance's empty element.
  T Courant() const { return position_ >= 0 ? tableau_->GetElement(position_) : Traits::ElementVide(); }

 private:
  int32_t position_ = -1;
  TArrayInterface<Traits>* tableau_;
};

// ---- helpers shared by the instances ----------------------------------------------------------------

namespace TemplateArray {

// The read error of the formatters, raised for a stream whose array does not hold together.
[[noreturn]] inline void ErreurLecture() { throw EReadError(std::string("Erreur de lecture du flux")); }

// The largest page size a stream may declare. The program's own arrays use 32 or 1024; a reader
// rounds the capacity it reads up to a whole page, so an unbounded page size would let a few bytes
// of stream ask for billions of slots.
inline constexpr int32_t kElementsParPageLuMax = 1 << 16;

// Bytes left to read, when the formatter can tell (otherwise no limit).
inline int64_t OctetsRestants(IFormateur* Formateur) {
  if (auto* f = dynamic_cast<TCustomFormatter*>(Formateur)) return static_cast<int64_t>(f->GetTaille()) - f->GetPosition();
  return std::numeric_limits<int64_t>::max();
}

// Reads that raise the read error when their bytes do not all come.
inline int32_t LireEntier(IFormateur* Formateur) {
  int32_t v = 0;
  if (Formateur->LireEntier(v) != 4) ErreurLecture();
  return v;
}
inline bool LireBooleen(IFormateur* Formateur) {
  bool v = false;
  if (Formateur->LireBooleen(v) != 1) ErreurLecture();
  return v;
}
template <class V, class Lecture>
V LireFixe(IFormateur* Formateur, Lecture lecture, int32_t taille) {
  V v{};
  if ((Formateur->*lecture)(v) != taille) ErreurLecture();
  return v;
}

// The block of one element: the "Element" opening with the instance's type text, the element's lines
// one level deeper (written by Lignes(Traceur, Texte)), then the block end.
template <class Lignes>
void TracerBlocElement(TCustomTraceur* Traceur, const std::string& TypeTexte, Lignes lignes, std::string& Texte) {
  if (Traceur == nullptr) Traceur = Trace::TraceurParDefaut();
  std::string part;
  Traceur->TracerValeur("Element", TypeTexte, part);
  Texte = part;
  Traceur->SetNiveau(Traceur->Niveau() + 1);
  lignes(Traceur, part);
  Texte += part;
  Traceur->SetNiveau(Traceur->Niveau() - 1);
  Traceur->FermerBloc("Element", part);
  Texte += part;
}
// The usual element block: one "Valeur" line.
inline void TracerValeurElement(TCustomTraceur* Traceur, const std::string& TypeTexte, const std::string& Valeur,
                                std::string& Texte) {
  TracerBlocElement(
      Traceur, TypeTexte, [&](TCustomTraceur* t, std::string& l) { t->TracerPropriete("Valeur", Valeur, l); }, Texte);
}

// The text comparison without case of class and column names: ASCII letters folded to upper case,
// then the bytes compared in order, a prefix first.
inline int8_t ComparerTexteSansCasse(std::string_view A, std::string_view B) {
  auto majuscule = [](char c) { return static_cast<unsigned char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c); };
  const std::size_t n = std::min(A.size(), B.size());
  for (std::size_t i = 0; i < n; ++i) {
    const unsigned char x = majuscule(A[i]), y = majuscule(B[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return A.size() < B.size() ? -1 : A.size() > B.size() ? 1 : 0;
}
// The name of a class reference (empty for nil).
inline std::string NomDeClasse(const TClass* Classe) { return Classe ? Classe->ClassName() : std::string(); }

}  // namespace TemplateArray

// Declares a public array class of an instance: a named subclass of one storage template, with its
// own descriptor (NV_DEFINE_ARRAY_CLASS in the instance's source file).
#define NV_ARRAY_CLASS(Self, Storage) \
  NV_ARRAY_CLASS_BEGIN(Self, Storage) \
  NV_ARRAY_CLASS_END
// The same, for a class that adds members of its own between the two.
#define NV_ARRAY_CLASS_BEGIN(Self, Storage) \
  class Self : public Storage {             \
    NV_DECLARE_ARRAY_CLASS(Self)            \
   public:                                  \
    using Base = Storage;                   \
    using Base::Base;
#define NV_ARRAY_CLASS_END \
  };

// ==== implementation of the common part =============================================================

template <class Tr>
void TCustomArrayTemplate<Tr>::SetElementPosition(const T& Valeur, int32_t Position) {
  if (Position < 0) return;
  if constexpr (Tr::kLibereElements) {
    const bool remplace = libererElements_ && !PositionVide(Position);
    const T ancien = remplace ? ElementPosition(Position) : T{};
    EcrirePosition(Valeur, Position);
    if (remplace && Tr::Identite(ancien) != Tr::Identite(Valeur)) LibererSiOrphelin(ancien);
  } else {
    EcrirePosition(Valeur, Position);
  }
  VerifierTri();
}

template <class Tr>
bool TCustomArrayTemplate<Tr>::DecalerVersLeBas(int32_t P) {
  const int32_t s = P - 1;
  if (s < 0 || s >= this->GetNombreTotalElements()) return false;
  const int32_t dernier = PositionDernier();
  if (dernier < s) return false;
  const bool occupe = !PositionVide(s);
  for (int32_t d = s + 1; d <= dernier; ++d) {
    if (PositionVide(d)) {
      ViderPosition(d - 1);
    } else {
      const T v = ElementPosition(d);
      EcrirePosition(v, d - 1);
    }
  }
  ViderSansLiberer(dernier);
  return occupe;
}

template <class Tr>
bool TCustomArrayTemplate<Tr>::DecalerVersLeHaut(int32_t P) {
  if (P < 0 || P >= this->GetNombreTotalElements()) return false;
  const int32_t vide = PositionVideSuivante(P - 1);
  for (int32_t q = vide - 1; q >= P; --q) {
    const T v = ElementPosition(q);
    EcrirePosition(v, q + 1);
  }
  return true;
}

template <class Tr>
void TCustomArrayTemplate<Tr>::SetAvecDoublons(bool Valeur) {
  if (Valeur == avecDoublons_) return;
  if (Valeur || !ADesDoublons()) avecDoublons_ = Valeur;
}

template <class Tr>
void TCustomArrayTemplate<Tr>::SetToujoursTrie(bool Valeur) {
  if (Valeur == toujoursTrie_) return;
  toujoursTrie_ = Valeur;
  if (Valeur && GetNombreElements() > 0) {
    Tasser();
    Trier();
  }
}

template <class Tr>
void TCustomArrayTemplate<Tr>::SetTriInverse(bool Valeur) {
  if (Valeur == triInverse_) return;
  triInverse_ = Valeur;
  if (toujoursTrie_) Trier();
}

template <class Tr>
void TCustomArrayTemplate<Tr>::SetModeComparaison(int32_t Valeur) {
  if (Valeur == modeComparaison_) return;
  modeComparaison_ = Valeur;
  if (toujoursTrie_) Trier();
}

template <class Tr>
void TCustomArrayTemplate<Tr>::SetParametreComparaison(TObject* Valeur) {
  if (Valeur == parametreComparaison_) return;
  parametreComparaison_ = Valeur;
  if (toujoursTrie_) Trier();
}

template <class Tr>
void TCustomArrayTemplate<Tr>::Assigner(TCustomArray* Source, TObject* Parametre) {
  TCustomArrayTemplate* source = MemeInstance(Source);
  if (source == this) return;
  // Elements this array replaces or drops go under the ownership it had so far: LibererElements
  // is taken from the source last.
  elementsParPage_ = source->elementsParPage_;
  modeComparaison_ = source->modeComparaison_;
  parametreComparaison_ = source->parametreComparaison_;
  avecDoublons_ = source->avecDoublons_;
  toujoursTrie_ = source->toujoursTrie_;
  triInverse_ = source->triInverse_;
  dynamique_ = source->dynamique_;
  const int32_t capacite = source->GetNombreTotalElements();
  this->SetNombreTotalElements(capacite);
  IEtiquetable* etiquette = dynamic_cast<IEtiquetable*>(Parametre);
  bool partage = false;
  for (int32_t p = 0; p < capacite; ++p) {
    if (source->PositionVide(p)) continue;
    T copie{};
    if (etiquette != nullptr) etiquette->SetEtiquette(p);
    Tr::CopierElement(source->ElementPosition(p), copie, Parametre);
    if constexpr (Tr::kLibereElements) partage = partage || Tr::Identite(copie) == Tr::Identite(source->ElementPosition(p));
    SetElementPosition(copie, p);
  }
  // An element held by both arrays has one owner: the source keeps it.
  libererElements_ = source->libererElements_ && !partage;
}

template <class Tr>
void TCustomArrayTemplate<Tr>::Vider() {
  if (libererElements_) {
    std::vector<T> sortants;
    const int32_t capacite = this->GetNombreTotalElements();
    for (int32_t p = 0; p < capacite; ++p) {
      if (PositionVide(p)) continue;
      if constexpr (Tr::kLibereElements) sortants.push_back(ElementPosition(p));
      ViderPosition(p);
    }
    LibererOrphelins(sortants);
  }
  this->SetNombreTotalElements(0);
}

template <class Tr>
void TCustomArrayTemplate<Tr>::LibererNonPossedes() {
  if constexpr (Tr::kLibereElements) {
    std::unordered_set<uintptr_t> vus;
    const int32_t n = GetNombreElements();
    for (int32_t i = 0; i < n; ++i) {
      T element = ElementIndice(i);
      if (!vus.insert(Tr::Identite(element)).second) continue;
      if (!libererElements_) TCustomArray::LibererLu(element);
      else if (auto* tableau = dynamic_cast<TCustomArray*>(element)) tableau->LibererNonPossedes();
    }
  }
}

template <class Tr>
int8_t TCustomArrayTemplate<Tr>::ComparerElement(const T& Valeur, int32_t Indice, bool Physique) const {
  const T* element;
  if (Physique) {
    if (PositionVide(Indice)) return kComparaisonPositionVide;
    element = &ElementPosition(Indice);
  } else {
    element = &ElementIndice(Indice);
  }
  int8_t r = Tr::ComparerElements(Valeur, *element, modeComparaison_, parametreComparaison_);
  if (triInverse_ && r >= -1) r = static_cast<int8_t>(-r);
  return r;
}

template <class Tr>
bool TCustomArrayTemplate<Tr>::Chercher(const T& Valeur, int32_t& Indice, int32_t Depuis) const {
  Indice = -1;
  const int32_t n = GetNombreElements();
  if (toujoursTrie_) {
    // Halving over the indices; Haut - 1 ends on an equal element or where Valeur belongs.
    int32_t bas = 0, haut = n + 1;
    int8_t r = -1;
    while (bas + 1 < haut) {
      const int32_t milieu = static_cast<int32_t>((static_cast<int64_t>(bas) + haut) / 2);
      r = ComparerElement(Valeur, milieu - 1, false);
      if (r <= 0) haut = milieu;
      if (r >= 0) bas = milieu;
    }
    Indice = haut - 1;
    return r == 0;
  }
  for (int64_t i = std::max<int64_t>(static_cast<int64_t>(Depuis) + 1, 0); i < n; ++i) {
    if (ComparerElement(Valeur, static_cast<int32_t>(i), false) == 0) {
      Indice = static_cast<int32_t>(i);
      return true;
    }
  }
  return false;
}

template <class Tr>
bool TCustomArrayTemplate<Tr>::ChercherDernier(const T& Valeur, int32_t& Indice, int32_t Avant) const {
  if (toujoursTrie_) return Chercher(Valeur, Indice, -1);
  Indice = -1;
  const int32_t n = GetNombreElements();
  const int32_t debut = Avant == -1 ? n - 1 : std::min(Avant - 1, n - 1);
  for (int32_t i = debut; i >= 0; --i) {
    if (ComparerElement(Valeur, i, false) == 0) {
      Indice = i;
      return true;
    }
  }
  return false;
}

template <class Tr>
int32_t TCustomArrayTemplate<Tr>::PositionInsertion(const T& Valeur) const {
  if (!toujoursTrie_) return PremierePositionVide();
  int32_t i;
  Chercher(Valeur, i, -1);
  return i;
}

template <class Tr>
int32_t TCustomArrayTemplate<Tr>::Ajouter(const T& Valeur) {
  int32_t i;
  if (!avecDoublons_ && Chercher(Valeur, i, -1)) return -1;
  const int32_t p = PositionInsertion(Valeur);
  if (PositionVide(p)) SetElementPosition(Valeur, p);
  else InsererPosition(Valeur, p);
  return p;
}

template <class Tr>
bool TCustomArrayTemplate<Tr>::Supprimer(const T& Valeur) {
  int32_t i;
  if (!Chercher(Valeur, i, -1)) return false;
  Retirer(i, false);
  return true;
}

template <class Tr>
void TCustomArrayTemplate<Tr>::InsererPosition(const T& Valeur, int32_t Position) {
  if (Position < 0) return;
  const int32_t capacite = this->GetNombreTotalElements();
  if (capacite == PositionDernier() + 1) this->SetNombreTotalElements(capacite + 1);
  DecalerVersLeHaut(Position);
  SetElementPosition(Valeur, Position);
}

template <class Tr>
void TCustomArrayTemplate<Tr>::Inserer(const T& Valeur, int32_t Indice, bool Physique) {
  if (Physique) {
    InsererPosition(Valeur, Indice);
    return;
  }
  const int32_t p = PositionDeIndice(Indice);
  if (p < 0) Ajouter(Valeur);
  else InsererPosition(Valeur, p);
}

template <class Tr>
void TCustomArrayTemplate<Tr>::RetirerPosition(int32_t Position) {
  if (!PositionVide(Position)) {
    const T element = ElementPosition(Position);
    ViderPosition(Position);
    LibererSiOrphelin(element);
  }
  if (dynamique_) AjusterNombreTotalElements();
}

template <class Tr>
void TCustomArrayTemplate<Tr>::Retirer(int32_t Indice, bool Physique) {
  if (Physique) {
    RetirerPosition(Indice);
    VerifierTri();
    return;
  }
  const int32_t p = PositionDeIndice(Indice);
  if (p < 0) return;
  // A sorted array closes the hole at once, so that it stays sorted in slots 0 .. N - 1.
  if (toujoursTrie_) SupprimerIndice(p, true);
  else RetirerPosition(p);
}

template <class Tr>
void TCustomArrayTemplate<Tr>::SupprimerIndice(int32_t Indice, bool Physique) {
  const int32_t p = Physique ? Indice : PositionDeIndice(Indice);
  if (p < 0) return;
  const bool occupe = !PositionVide(p);
  const T element = occupe ? ElementPosition(p) : T{};
  DecalerVersLeBas(p + 1);
  if (occupe) LibererSiOrphelin(element);
}

template <class Tr>
void TCustomArrayTemplate<Tr>::EchangerPositions(int32_t P1, int32_t P2) {
  const bool o1 = !PositionVide(P1), o2 = !PositionVide(P2);
  const T e1 = o1 ? ElementPosition(P1) : T{};
  const T e2 = o2 ? ElementPosition(P2) : T{};
  if (o2) EcrirePosition(e2, P1);
  else ViderSansLiberer(P1);
  if (o1) EcrirePosition(e1, P2);
  else ViderSansLiberer(P2);
}

template <class Tr>
void TCustomArrayTemplate<Tr>::Echanger(int32_t Indice1, int32_t Indice2, bool Physique) {
  const int32_t p1 = Physique ? Indice1 : PositionDeIndice(Indice1);
  const int32_t p2 = Physique ? Indice2 : PositionDeIndice(Indice2);
  if (p1 < 0 || p2 < 0) return;
  EchangerPositions(p1, p2);
  VerifierTri();
}

template <class Tr>
void TCustomArrayTemplate<Tr>::Deplacer(int32_t De, int32_t Vers, bool Physique) {
  if (De == Vers) return;
  if (!Physique) {
    De = PositionDeIndice(De);
    Vers = PositionDeIndice(Vers);
  }
  if (De < 0 || Vers < 0) return;
  const bool occupe = !PositionVide(De);
  const T element = ElementPosition(De);
  DecalerVersLeBas(De + 1);
  if (Vers > De) --Vers;
  InsererPosition(element, Vers);
  if (!occupe) ViderSansLiberer(Vers);
  VerifierTri();
}

template <class Tr>
void TCustomArrayTemplate<Tr>::Tasser() {
  int32_t c = PositionDernier();
  while (c >= 0) {
    if (c < this->GetNombreTotalElements() && PositionVide(c)) {
      DecalerVersLeBas(c + 1);
      const int32_t dernier = PositionDernier();
      if (c > dernier) c = dernier;
    } else {
      --c;
    }
  }
}

template <class Tr>
bool TCustomArrayTemplate<Tr>::ADesDoublons() const {
  const int32_t n = GetNombreElements();
  for (int32_t i = 0; i + 1 < n; ++i) {
    const T element = ElementIndice(i);
    const int32_t fin = toujoursTrie_ ? i + 1 : n - 1;
    for (int32_t j = i + 1; j <= fin; ++j)
      if (ComparerElement(element, j, false) == 0) return true;
  }
  return false;
}

template <class Tr>
void TCustomArrayTemplate<Tr>::TriRapide(int32_t Debut, int32_t Fin) {
  do {
    int32_t i = Debut, j = Fin;
    const T pivot = ElementIndice(static_cast<int32_t>((static_cast<uint32_t>(Debut) + static_cast<uint32_t>(Fin)) >> 1));
    do {
      // The bounds only matter for comparisons that are not a consistent order.
      while (i < Fin && ComparerElement(pivot, i, false) > 0) ++i;
      while (j > Debut && ComparerElement(pivot, j, false) < 0) --j;
      if (i <= j) {
        EchangerPositions(PositionDeIndice(i), PositionDeIndice(j));
        ++i;
        --j;
      }
    } while (i <= j);
    if (Debut < j) TriRapide(Debut, j);
    Debut = i;
  } while (Debut < Fin);
}

template <class Tr>
void TCustomArrayTemplate<Tr>::Trier() {
  if (GetNombreElements() > 1) TriRapide(0, GetNombreElements() - 1);
}

template <class Tr>
void TCustomArrayTemplate<Tr>::AjouterTableau(TCustomArray* Autre) {
  TCustomArrayTemplate* autre = MemeInstance(Autre);
  const int32_t n = autre->GetNombreElements();
  std::vector<T> valeurs;
  valeurs.reserve(static_cast<std::size_t>(n));
  for (int32_t i = 0; i < n; ++i) valeurs.push_back(autre->ElementIndice(i));
  for (const T& v : valeurs) Ajouter(v);
}

template <class Tr>
void TCustomArrayTemplate<Tr>::SupprimerTableau(TCustomArray* Autre) {
  TCustomArrayTemplate* autre = MemeInstance(Autre);
  const int32_t n = autre->GetNombreElements();
  std::vector<T> valeurs;
  valeurs.reserve(static_cast<std::size_t>(n));
  for (int32_t i = 0; i < n; ++i) valeurs.push_back(autre->ElementIndice(i));
  for (const T& v : valeurs) Supprimer(v);
}

template <class Tr>
int8_t TCustomArrayTemplate<Tr>::Comparer(TCustomArray* Autre) {
  TCustomArrayTemplate* autre = MemeInstance(Autre);
  const int32_t n1 = GetNombreElements(), n2 = autre->GetNombreElements();
  for (int32_t i = 0; i < std::min(n1, n2); ++i) {
    int8_t r = autre->ComparerElement(ElementIndice(i), i, false);
    if (autre->triInverse_ && r >= -1) r = static_cast<int8_t>(-r);
    if (r != 0) return r;
  }
  int8_t r = n1 > n2 ? 1 : n1 < n2 ? -1 : 0;
  return triInverse_ ? static_cast<int8_t>(-r) : r;
}

template <class Tr>
void TCustomArrayTemplate<Tr>::TracerEntete(TCustomTraceur* Traceur, std::string& Texte) {
  Texte.clear();
  if (!TraceActive()) return;
  if (Traceur == nullptr) Traceur = Trace::TraceurParDefaut();
  auto booleen = [](bool b) { return std::string(b ? "True" : "False"); };
  const std::pair<const char*, std::string> lignes[] = {
      {"LibererElements", booleen(libererElements_)},
      {"Dynamique", booleen(dynamique_)},
      {"AvecDoublons", booleen(avecDoublons_)},
      {"ToujoursTrie", booleen(toujoursTrie_)},
      {"TriInverse", booleen(triInverse_)},
      {"ElementsParPage", std::to_string(elementsParPage_)},
      {"NombreTotalElements", std::to_string(this->GetNombreTotalElements())},
      {"NombreElements", std::to_string(GetNombreElements())},
  };
  std::string ligne;
  for (const auto& [nom, valeur] : lignes) {
    Traceur->TracerPropriete(nom, valeur, ligne);
    Texte += ligne;
  }
}

template <class Tr>
void TCustomArrayTemplate<Tr>::TracerContenu(bool Detail, TCustomTraceur* Traceur, std::string& Texte) {
  Texte.clear();
  if (!TraceActive()) return;
  if (Traceur == nullptr) Traceur = Trace::TraceurParDefaut();
  std::string part;
  const int32_t n = GetNombreElements();
  for (int32_t i = 0; i < n; ++i) {
    const T element = ElementIndice(i);
    Tr::TracerElement(element, Detail, part, Traceur);
    Texte += part;
  }
}

template <class Tr>
void TCustomArrayTemplate<Tr>::TracerComplet(bool Detail, TCustomTraceur* Traceur, std::string& Texte) {
  DelegueTracable::TracerBloc(*this, Detail, Traceur, Texte);
}

template <class Tr>
void TCustomArrayTemplate<Tr>::TracerResume(bool Detail, std::string& Texte) {
  Texte.clear();
  if (Detail) TracerComplet(false, Trace::TraceurParDefaut(), Texte);
}

template <class Tr>
void TCustomArrayTemplate<Tr>::Ecrire(IFormateur* Formateur, TClasseFormat Contexte) {
  Formateur->EcrireBooleen(libererElements_);
  Formateur->EcrireEntier(nombreTotalElements_);
  Formateur->EcrireBooleen(avecDoublons_);
  Formateur->EcrireBooleen(toujoursTrie_);
  Formateur->EcrireEntier(elementsParPage_);
  Formateur->EcrireBooleen(dynamique_);
  Formateur->EcrireEntier(modeComparaison_);
  Formateur->EcrireEntier(nombreElementsMax_);
  EcrireContenu(Formateur, Contexte);
}

template <class Tr>
void TCustomArrayTemplate<Tr>::Lire(IFormateur* Formateur, TClasseFormat Contexte) {
  using namespace TemplateArray;
  Entete e;
  e.liberer = LireBooleen(Formateur);
  e.capacite = TemplateArray::LireEntier(Formateur);
  e.doublons = LireBooleen(Formateur);
  e.trie = LireBooleen(Formateur);
  e.parPage = TemplateArray::LireEntier(Formateur);
  e.dynamique = LireBooleen(Formateur);
  e.mode = TemplateArray::LireEntier(Formateur);
  e.maximum = TemplateArray::LireEntier(Formateur);
  // A page size below 1 could never address a slot, and one above the bound would make the
  // rounded capacity (or a paged array's first page) out of all proportion with the stream; a
  // capacity cannot be negative.
  if (e.parPage < 1 || e.parPage > kElementsParPageLuMax || e.capacite < 0) ErreurLecture();
  LireContenu(Formateur, Contexte, e);
}

template <class Tr>
void TCustomArrayTemplate<Tr>::AppliquerEntete(const Entete& Lue) {
  Vider();
  libererElements_ = Lue.liberer;
  avecDoublons_ = Lue.doublons;
  toujoursTrie_ = Lue.trie;
  elementsParPage_ = Lue.parPage;
  dynamique_ = Lue.dynamique;
  modeComparaison_ = Lue.mode;
  nombreElementsMax_ = Lue.maximum;
}

template <class Tr>
bool TCustomArrayTemplate<Tr>::EstPresent(const T& Element) const {
  if constexpr (Tr::kLibereElements) {
    const auto cle = Tr::Identite(Element);
    const int32_t n = GetNombreElements();
    for (int32_t i = 0; i < n; ++i)
      if (Tr::Identite(ElementIndice(i)) == cle) return true;
  } else {
    (void)Element;
  }
  return false;
}

template <class Tr>
void TCustomArrayTemplate<Tr>::LibererOrphelins(std::vector<T>& Sortants) {
  if constexpr (Tr::kLibereElements) {
    if (!libererElements_ || Sortants.empty()) return;
    std::unordered_set<uintptr_t> liberes;
    for (T& e : Sortants) {
      const auto cle = Tr::Identite(e);
      if (!liberes.insert(cle).second || EstPresent(e)) continue;
      LibererElement(e);
    }
  } else {
    (void)Sortants;
  }
}

template <class Tr>
void TCustomArrayTemplate<Tr>::RetirerAuDela(int32_t Limite) {
  if constexpr (Tr::kLibereElements) {
    if (!libererElements_) return;
    std::vector<T> sortants;
    const int32_t capacite = this->GetNombreTotalElements();
    for (int32_t p = std::max(Limite, 0); p < capacite; ++p) {
      if (PositionVide(p)) continue;
      sortants.push_back(ElementPosition(p));
      ViderPosition(p);
    }
    LibererOrphelins(sortants);
  } else {
    (void)Limite;
  }
}

// ==== contiguous storage ============================================================================

template <class Tr>
void TArrayTemplate<Tr>::Redimensionner(int32_t c) {
  const int32_t ancienne = this->nombreTotalElements_;
  if (c < ancienne) this->RetirerAuDela(c);
  if (occupation_) {
    // Slots given up take their bits with them.
    TArrayOfBit& carte = CarteModifiable();
    for (int32_t p = c; p < carte.NombreMots() * 32; ++p) carte.Clear(p);
    carte.SetNombreBits(c);
  } else {
    occupation_ = std::make_unique<TArrayOfBit>(c);
  }
  elements_.resize(static_cast<std::size_t>(c));
  this->nombreTotalElements_ = c;
  this->InvaliderVueDense();
}

template <class Tr>
void TArrayTemplate<Tr>::SetNombreTotalElements(int32_t N) {
  if (N < 0) N = 0;
  if (N == this->nombreTotalElements_) return;
  const int64_t page = this->elementsParPage_ > 0 ? this->elementsParPage_ : 1;
  int64_t c = (static_cast<int64_t>(N) + page - 1) / page * page;
  if (c > std::numeric_limits<int32_t>::max()) c = std::numeric_limits<int32_t>::max();
  if (c == this->nombreTotalElements_) return;
  const bool agrandit = c > this->nombreTotalElements_;
  Redimensionner(static_cast<int32_t>(c));
  // Growing only adds empty slots: the count stands. Shrinking may have let occupied ones go.
  if (!agrandit)
    nombreElements_ = occupation_->CompterBitsUn(std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::min());
}

template <class Tr>
void TArrayTemplate<Tr>::MettreAJourVueDense() const {
  const int32_t n = nombreElements_;
  const bool tasse = occupation_ && n > 0 && static_cast<std::size_t>(n) <= elements_.size() &&
                     occupation_->DernierBitUn() == n - 1 && occupation_->PremierBitNul() >= n;
  this->vueAJour_ = true;
  this->vueElements_ = elements_.data();
  this->vueNombre_ = tasse ? n : 0;
}

template <class Tr>
int32_t TArrayTemplate<Tr>::PositionDeIndice(int32_t Indice) const {
  if (nombreElements_ == 0 || !occupation_) return -1;
  if (Indice >= 0 && Indice < nombreElements_) {
    if (!this->vueAJour_) MettreAJourVueDense();
    if (this->vueNombre_ > 0) return Indice;
  }
  if (Indice == std::numeric_limits<int32_t>::max()) return occupation_->NombreBits();
  return occupation_->PositionNiemeBitUn(Indice + 1);
}

template <class Tr>
int32_t TArrayTemplate<Tr>::IndiceDePosition(int32_t Position) const {
  if (!occupation_) return -1;
  if (Position >= 0 && this->vueAJour_ && this->VueDenseValide(0)) return std::min(Position, nombreElements_ - 1);
  return occupation_->CompterBitsUn(0, Position) - 1;
}

template <class Tr>
void TArrayTemplate<Tr>::ViderPosition(int32_t Position) {
  if (!occupation_ || !occupation_->IsSet(Position) || Position >= this->nombreTotalElements_) return;
  CarteModifiable().Clear(Position);
  --nombreElements_;
  elements_[static_cast<std::size_t>(Position)].Valeur = T{};
}

template <class Tr>
int32_t TArrayTemplate<Tr>::PositionVideSuivante(int32_t Position) const {
  if (!occupation_) return this->nombreTotalElements_;
  const int32_t p = occupation_->PositionNiemeBitNulApres(1, Position);
  return p < 0 ? this->nombreTotalElements_ : p;
}

template <class Tr>
void TArrayTemplate<Tr>::EcrirePosition(const T& Valeur, int32_t Position) {
  if (Position < 0) return;
  if (Position >= this->nombreTotalElements_) {
    if (Position == std::numeric_limits<int32_t>::max()) return;
    const T copie = Valeur;  // Valeur may live in the slots about to move
    SetNombreTotalElements(Position + 1);
    EcrirePosition(copie, Position);
    return;
  }
  if (occupation_->SetIfClear(Position)) {
    this->InvaliderVueDense();
    ++nombreElements_;
  }
  elements_[static_cast<std::size_t>(Position)].Valeur = Valeur;
}

template <class Tr>
bool TArrayTemplate<Tr>::DecalerVersLeBas(int32_t P) {
  const int32_t s = P - 1;
  if (s < 0 || s >= this->nombreTotalElements_) return false;
  const int32_t dernier = this->PositionDernier();
  if (dernier < s) return false;
  const bool occupe = occupation_->IsSet(s);
  if (dernier > s) {
    auto debut = elements_.begin();
    std::move(debut + s + 1, debut + dernier + 1, debut + s);
    elements_[static_cast<std::size_t>(dernier)].Valeur = T{};
    CarteModifiable().DecalerVersLeBas(s);
    if (occupe) --nombreElements_;
    AjusterNombreTotalElements();
  } else {
    this->ViderSansLiberer(s);
  }
  return occupe;
}

template <class Tr>
bool TArrayTemplate<Tr>::DecalerVersLeHaut(int32_t P) {
  if (P < 0 || P >= this->nombreTotalElements_) return false;
  const int32_t dernier = this->PositionDernier();
  if (dernier < P) return true;
  // Never move past the slots: grow first when the last slot is in use.
  if (dernier + 1 >= this->nombreTotalElements_) SetNombreTotalElements(dernier + 2);
  if (dernier + 1 >= this->nombreTotalElements_) return false;
  auto debut = elements_.begin();
  std::move_backward(debut + P, debut + dernier + 1, debut + dernier + 2);
  elements_[static_cast<std::size_t>(P)].Valeur = T{};
  CarteModifiable().DecalerVersLeHaut(P);
  return true;
}

template <class Tr>
void TArrayTemplate<Tr>::EcrireContenu(IFormateur* Formateur, TClasseFormat Contexte) {
  const int32_t capacite = this->nombreTotalElements_;
  Formateur->EcrireEntier(nombreElements_);
  for (int32_t p = 0; p < capacite; ++p) Formateur->EcrireBooleen(!this->PositionVide(p));
  for (int32_t p = 0; p < capacite; ++p) {
    if (this->PositionVide(p)) continue;
    Formateur->EcrireEntier(p);
    Tr::EcrireElement(elements_[static_cast<std::size_t>(p)].Valeur, Formateur, Contexte);
  }
}

template <class Tr>
void TArrayTemplate<Tr>::LireContenu(IFormateur* Formateur, TClasseFormat Contexte, const Entete& Lue) {
  using namespace TemplateArray;
  const int32_t capacite = Lue.capacite;
  const int32_t nombre = TemplateArray::LireEntier(Formateur);
  // Each slot has its Booleen in the stream and each element at least its position.
  if (nombre < 0 || nombre > capacite || capacite > OctetsRestants(Formateur)) ErreurLecture();
  std::vector<bool> occupe(static_cast<std::size_t>(capacite));
  int32_t compte = 0;
  for (int32_t p = 0; p < capacite; ++p) {
    occupe[static_cast<std::size_t>(p)] = LireBooleen(Formateur);
    compte += occupe[static_cast<std::size_t>(p)] ? 1 : 0;
  }
  if (compte != nombre) ErreurLecture();
  std::vector<int32_t> positions;
  std::vector<T> lus;
  positions.reserve(static_cast<std::size_t>(nombre));
  lus.reserve(static_cast<std::size_t>(nombre));
  try {
    // Positions come in increasing order, each on a slot marked occupied.
    int32_t precedente = -1;
    for (int32_t k = 0; k < nombre; ++k) {
      const int32_t p = TemplateArray::LireEntier(Formateur);
      if (p <= precedente || p >= capacite || !occupe[static_cast<std::size_t>(p)]) ErreurLecture();
      precedente = p;
      positions.push_back(p);
      lus.push_back(Tr::LireElement(Formateur, Contexte));
    }
  } catch (...) {
    Base::LibererLus(lus);
    throw;
  }
  this->AppliquerEntete(Lue);
  SetNombreTotalElements(capacite);
  if (!occupation_) return;  // capacity 0
  TArrayOfBit& carte = CarteModifiable();
  for (int32_t p = 0; p < this->nombreTotalElements_; ++p) {
    if (p < capacite && occupe[static_cast<std::size_t>(p)]) carte.Set(p);
    else carte.Clear(p);
    elements_[static_cast<std::size_t>(p)].Valeur = T{};
  }
  nombreElements_ = nombre;
  for (std::size_t k = 0; k < lus.size(); ++k) elements_[static_cast<std::size_t>(positions[k])].Valeur = lus[k];
}

// ==== paged storage =================================================================================

template <class Tr>
void TPagedArrayTemplate<Tr>::SetNombreTotalElements(int32_t N) {
  if (N < 0) N = 0;
  const int64_t page = this->elementsParPage_ > 0 ? this->elementsParPage_ : 1;
  const std::size_t d = static_cast<std::size_t>((static_cast<int64_t>(N) + page - 1) / page);
  if (d > pages_.size()) {
    while (pages_.size() < d)
      pages_.push_back(std::make_unique<typename Tr::Tableau>(static_cast<int32_t>(page), true, false));
  } else if (d < pages_.size()) {
    this->RetirerAuDela(static_cast<int32_t>(static_cast<int64_t>(d) * page));
    while (pages_.size() > d) pages_.pop_back();
  }
}

template <class Tr>
int32_t TPagedArrayTemplate<Tr>::GetNombreElements() const {
  int32_t n = 0;
  for (const auto& p : pages_) n += p->GetNombreElements();
  return n;
}

template <class Tr>
int32_t TPagedArrayTemplate<Tr>::PositionDeIndice(int32_t Indice) const {
  if (Indice < 0) return -1;
  for (std::size_t k = 0; k < pages_.size(); ++k) {
    const int32_t n = pages_[k]->GetNombreElements();
    if (Indice < n) return pages_[k]->PositionDeIndice(Indice) + static_cast<int32_t>(k) * this->elementsParPage_;
    Indice -= n;
  }
  return -1;
}

template <class Tr>
int32_t TPagedArrayTemplate<Tr>::IndiceDePosition(int32_t Position) const {
  if (Position < 0 || pages_.empty()) return -1;
  if (Position >= GetNombreTotalElements()) return GetNombreElements() - 1;
  const std::size_t k = static_cast<std::size_t>(Position / this->elementsParPage_);
  int32_t avant = 0;
  for (std::size_t j = 0; j < k; ++j) avant += pages_[j]->GetNombreElements();
  return avant + pages_[k]->IndiceDePosition(Position % this->elementsParPage_);
}

template <class Tr>
void TPagedArrayTemplate<Tr>::AjusterNombreTotalElements() {
  std::size_t k = pages_.size();
  while (k > 0 && pages_[k - 1]->GetNombreElements() == 0) --k;
  SetNombreTotalElements(static_cast<int32_t>(k) * this->elementsParPage_);
}

template <class Tr>
void TPagedArrayTemplate<Tr>::ViderPosition(int32_t Position) {
  if (Position < 0 || Position >= GetNombreTotalElements()) return;
  PageDe(Position)->Retirer(Position % this->elementsParPage_, true);
}

template <class Tr>
bool TPagedArrayTemplate<Tr>::PositionVide(int32_t Position) const {
  if (Position < 0 || Position >= GetNombreTotalElements()) return true;
  return PageDe(Position)->PositionVide(Position % this->elementsParPage_);
}

template <class Tr>
int32_t TPagedArrayTemplate<Tr>::PremierePositionVide() const {
  for (std::size_t k = 0; k < pages_.size(); ++k) {
    const int32_t r = pages_[k]->PremierePositionVide();
    if (r < this->elementsParPage_) return r + static_cast<int32_t>(k) * this->elementsParPage_;
  }
  return GetNombreTotalElements();
}

template <class Tr>
int32_t TPagedArrayTemplate<Tr>::PositionVideSuivante(int32_t Position) const {
  const int32_t epp = this->elementsParPage_;
  const int64_t k0 = Position / epp;
  if (k0 >= static_cast<int64_t>(pages_.size())) return GetNombreTotalElements();
  int32_t apres = Position % epp;
  for (std::size_t k = static_cast<std::size_t>(k0); k < pages_.size(); ++k, apres = -1) {
    const Page& page = *pages_[k];
    int32_t r = page.PositionVideSuivante(apres);
    // Slots past a trimmed page's own capacity are empty too.
    const int32_t capacite = page.GetNombreTotalElements();
    if (r >= capacite) r = std::max(apres + 1, capacite);
    if (r < epp) return r + static_cast<int32_t>(k) * epp;
  }
  return GetNombreTotalElements();
}

template <class Tr>
const typename TPagedArrayTemplate<Tr>::T& TPagedArrayTemplate<Tr>::ElementPosition(int32_t Position) const {
  if (Position < 0 || Position >= GetNombreTotalElements()) return Base::Zero();
  return PageDe(Position)->ElementPosition(Position % this->elementsParPage_);
}

template <class Tr>
void TPagedArrayTemplate<Tr>::EcrirePosition(const T& Valeur, int32_t Position) {
  if (Position < 0) return;
  if (Position >= GetNombreTotalElements()) {
    if (Position == std::numeric_limits<int32_t>::max()) return;
    SetNombreTotalElements(Position + 1);
  }
  PageDe(Position)->SetElementPosition(Valeur, Position % this->elementsParPage_);
}

template <class Tr>
void TPagedArrayTemplate<Tr>::EcrireContenu(IFormateur* Formateur, TClasseFormat Contexte) {
  Formateur->EcrireEntier(NombrePages());
  for (const auto& page : pages_) Formateur->EcrireObjet(page.get(), Contexte);
}

template <class Tr>
void TPagedArrayTemplate<Tr>::LireContenu(IFormateur* Formateur, TClasseFormat Contexte, const Entete& Lue) {
  using namespace TemplateArray;
  const int32_t nombre = TemplateArray::LireEntier(Formateur);
  if (nombre < 0 || nombre > OctetsRestants(Formateur)) ErreurLecture();
  std::vector<std::unique_ptr<Page>> pages;
  try {
    for (int32_t k = 0; k < nombre; ++k) {
      std::unique_ptr<TObject> objet(Formateur->LireObjet(Contexte));
      if (!objet) ErreurLecture();
      auto* page = dynamic_cast<Page*>(objet.get());
      if (page == nullptr) {
        TCustomArray::LibererLu(objet.release());
        throw EInvalidCast();
      }
      pages.emplace_back(page);
      objet.release();
      // A page is made with the array's page size, never owns its elements, and holds either no
      // slot or one whole page of them (it trims by whole pages), whose flags are in the stream.
      const int32_t slots = page->GetNombreTotalElements();
      if (page->GetElementsParPage() != Lue.parPage || (slots != 0 && slots != Lue.parPage) ||
          page->GetLibererElements())
        ErreurLecture();
    }
  } catch (...) {
    // The pages read go with what they read (a page that claims to own its elements frees them
    // itself).
    for (auto& page : pages) TCustomArray::LibererLu(page.release());
    throw;
  }
  this->AppliquerEntete(Lue);
  pages_ = std::move(pages);
}

// ==== fixed storage =================================================================================

template <class Tr>
void TFixedArrayTemplate<Tr>::SetNombreTotalElements(int32_t N) {
  if (N < 0) N = 0;
  if (N == 0) {
    this->nombreTotalElements_ = 0;
    this->InvaliderVueDense();
    return;
  }
  const int32_t ancienne = this->nombreTotalElements_;
  if (N == ancienne) return;
  this->Redimensionner(N);
  TArrayOfBit& carte = this->CarteModifiable();
  for (int32_t p = ancienne; p < N; ++p) carte.Set(p);
  this->nombreElements_ = carte.CompterBitsUn(std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::min());
}

template <class Tr>
void TFixedArrayTemplate<Tr>::Vider() {
  if (this->libererElements_) {
    TCustomArrayTemplate<Tr>::Vider();
    return;
  }
  for (auto& c : this->elements_) c.Valeur = T{};
}

template <class Tr>
bool TFixedArrayTemplate<Tr>::DecalerVersLeHaut(int32_t P) {
  const int32_t capacite = this->nombreTotalElements_;
  if (P < 0 || P >= capacite) return false;
  const int32_t haut = capacite - 1;
  if (!this->PositionVide(haut)) {
    const T sortant = this->ElementPosition(haut);
    this->ViderPosition(haut);
    this->LibererSiOrphelin(sortant);
  }
  return Base::DecalerVersLeHaut(P);
}
