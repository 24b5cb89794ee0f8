#include "core/objects/RamasseMiettes.h"

#include <cstdint>

#include "core/objects/Collectable.h"

NV_DEFINE_CLASS(TServiceRamasseMiettes, TServiceObjets)
NV_DEFINE_SERVICE_APP(TRamasseMiettes, TServiceObjetsApp)

// Object address -> slot: open addressing with linear probing, at most half full. Deletion shifts the
// following entries back, so no tombstone ever slows a search. The hash keeps neighbouring addresses
// in neighbouring slots (objects made one after another are registered, and freed, in that order, so
// the table is walked through the cache rather than at random) and folds higher bits in so that
// aligned addresses still spread.
class TServiceRamasseMiettes::IndexAdresses {
 public:
  static constexpr std::size_t kAbsent = SIZE_MAX;

  IndexAdresses() { Redimensionner(kCapaciteMinimale); }

  std::size_t Chercher(const void* Cle) const {
    for (std::size_t i = Debut(Cle);; i = (i + 1) & masque_) {
      if (table_[i].cle == Cle) return table_[i].rang;
      if (table_[i].cle == nullptr) return kAbsent;
    }
  }

  // Cle must be absent.
  void Inserer(const void* Cle, std::size_t Rang) {
    if ((nombre_ + 1) * 2 > table_.size()) Redimensionner(table_.size() * 2);
    Placer(Cle, Rang);
    ++nombre_;
  }

  void Changer(const void* Cle, std::size_t Rang) {
    std::size_t i = Debut(Cle);
    while (table_[i].cle != Cle) i = (i + 1) & masque_;
    table_[i].rang = Rang;
  }

  // Removes Cle; its slot, or kAbsent when it was not there.
  std::size_t Extraire(const void* Cle) {
    std::size_t i = Debut(Cle);
    while (table_[i].cle != Cle) {
      if (table_[i].cle == nullptr) return kAbsent;
      i = (i + 1) & masque_;
    }
    const std::size_t rang = table_[i].rang;
    for (std::size_t j = i;;) {
      j = (j + 1) & masque_;
      if (table_[j].cle == nullptr) break;
      const std::size_t k = Debut(table_[j].cle);
      const bool resteEnPlace = i <= j ? (i < k && k <= j) : (i < k || k <= j);
      if (!resteEnPlace) {
        table_[i] = table_[j];
        i = j;
      }
    }
    table_[i] = Entree{};
    --nombre_;
    return rang;
  }

  // Gives back the memory of a flood once it has gone and the last pass needed far less of it
  // (Inscrits: the objects registered since the pass before).
  void Reduire(std::size_t Inscrits) {
    if (nombre_ == 0 && table_.size() > kCapaciteRetenue && Inscrits * 16 < table_.size())
      Redimensionner(kCapaciteMinimale);
  }

 private:
  static constexpr std::size_t kCapaciteMinimale = 64;
  static constexpr std::size_t kCapaciteRetenue = 8192;

  struct Entree {
    const void* cle = nullptr;
    std::size_t rang = 0;
  };

  std::size_t Debut(const void* Cle) const {
    const auto a = reinterpret_cast<uintptr_t>(Cle) >> 4;
    return static_cast<std::size_t>((a ^ (a >> 9) ^ (a >> 19)) & masque_);
  }

  void Placer(const void* Cle, std::size_t Rang) {
    std::size_t i = Debut(Cle);
    while (table_[i].cle != nullptr) i = (i + 1) & masque_;
    table_[i] = Entree{Cle, Rang};
  }

  void Redimensionner(std::size_t Capacite) {
    std::vector<Entree> ancienne = std::move(table_);
    table_.assign(Capacite, Entree{});
    masque_ = Capacite - 1;
    for (const Entree& e : ancienne)
      if (e.cle != nullptr) Placer(e.cle, e.rang);
  }

  std::vector<Entree> table_;
  std::size_t masque_ = 0;
  std::size_t nombre_ = 0;
};

namespace {
// The slot list of a pass is given back to the system beyond this many entries.
constexpr std::size_t kRangsRetenus = 8192;
}  // namespace

TServiceRamasseMiettes::TServiceRamasseMiettes()
    : TServiceObjets("TRamasseMiettes", 1, true, TRamasseMiettes::StaticClass()),
      index_(std::make_unique<IndexAdresses>()) {}

TServiceRamasseMiettes::TServiceRamasseMiettes(TBlank b) : TServiceObjets(b), index_(std::make_unique<IndexAdresses>()) {}

TServiceRamasseMiettes::~TServiceRamasseMiettes() {
  DernierPassage();
  // What is still held (the service was switched off) goes, last registered first; objects that
  // their destructors register go too.
  while (vivants_ > 0) {
    while (rangs_.back() == nullptr) rangs_.pop_back();
    TObject* objet = rangs_.back();
    rangs_.pop_back();
    if (tete_ > rangs_.size()) tete_ = rangs_.size();
    index_->Extraire(objet);
    --vivants_;
    delete objet;
  }
}

bool TServiceRamasseMiettes::Ajouter(TObject* Objet) {
  if (Objet == nullptr) return false;
  if (auto* collectable = ObjectAs<TCustomCollectable>(Objet)) collectable->SetCollecteActive(false);
  if (index_->Chercher(Objet) != IndexAdresses::kAbsent) return false;
  index_->Inserer(Objet, rangs_.size());
  rangs_.push_back(Objet);
  ++vivants_;
  return true;
}

bool TServiceRamasseMiettes::Retirer(TObject* Objet) {
  if (Objet == nullptr) return false;
  const std::size_t rang = index_->Extraire(Objet);
  if (rang == IndexAdresses::kAbsent) return false;
  rangs_[rang] = nullptr;
  --vivants_;
  Compacter();
  return true;
}

// Objects created and attached at once (an error hung under another) leave empty slots behind; when
// they outnumber the objects held, the slots are packed again so that memory follows what is held.
void TServiceRamasseMiettes::Compacter() {
  const std::size_t vides = rangs_.size() - tete_ - vivants_;
  if (vides < 1024 || vides < vivants_) return;
  std::size_t ecrit = 0;
  for (std::size_t i = tete_; i < rangs_.size(); ++i) {
    if (rangs_[i] == nullptr) continue;
    rangs_[ecrit] = rangs_[i];
    index_->Changer(rangs_[ecrit], ecrit);
    ++ecrit;
  }
  rangs_.resize(ecrit);
  tete_ = 0;
}

int TServiceRamasseMiettes::RangDe(const TObject* Objet) const {
  const std::size_t rang = Objet ? index_->Chercher(Objet) : IndexAdresses::kAbsent;
  if (rang == IndexAdresses::kAbsent) return -1;
  int avant = 0;
  for (std::size_t i = tete_; i < rang; ++i) avant += rangs_[i] != nullptr;
  return avant;
}

TObject* TServiceRamasseMiettes::Traiter() {
  // tete_ is read again at every step: a destructor that takes objects back may pack the slots.
  while (tete_ < rangs_.size()) {
    TObject* objet = rangs_[tete_];
    rangs_[tete_] = nullptr;
    ++tete_;
    if (objet == nullptr) continue;
    index_->Extraire(objet);
    --vivants_;
    delete objet;
  }
  // The memory of a flood is kept while floods go on, and given back after a quiet turn.
  const std::size_t inscrits = rangs_.size();
  rangs_.clear();
  tete_ = 0;
  if (rangs_.capacity() > kRangsRetenus && inscrits * 8 < rangs_.capacity()) rangs_.shrink_to_fit();
  index_->Reduire(inscrits);
  return nullptr;
}

TServiceObjets* TRamasseMiettes::CreerService() { return new TServiceRamasseMiettes(); }
