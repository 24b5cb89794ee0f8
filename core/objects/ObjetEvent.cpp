#include "core/objects/ObjetEvent.h"

#include <algorithm>
#include <memory>

#include "core/objects/ClasseFinalisable.h"

template class TTemplateAssoc<TAssociationObjetTypeListeEventIdTraits>;

NV_DEFINE_CLASS(TAssociationObjetTypeListeEventId, TObjetInterfacable)
NV_DEFINE_CLASS(TObjetAbonnant, TObjetInterfacable)
NV_DEFINE_CLASS(TObjetAbonne, TObjetInterfacable)

namespace {
std::unique_ptr<TypeListeEventId>& TousEvenements() {
  static std::unique_ptr<TypeListeEventId> all;
  return all;
}
int32_t compteurEventId = 0;

bool Contient(const TypeListeEventId& l, TypeEventId id) {
  return std::find(l.Ids.begin(), l.Ids.end(), id) != l.Ids.end();
}
}  // namespace

void ObjetEvent::Initialiser() {
  TousEvenements() = std::make_unique<TypeListeEventId>(TypeListeEventId{{-1}});
  TracerModule("Initialisation du module ObjetEvent.");
}

void ObjetEvent::Finaliser() { TousEvenements().reset(); }

const TypeListeEventId& ObjetEvent::ListeTousEvenements() {
  if (!TousEvenements()) TousEvenements() = std::make_unique<TypeListeEventId>(TypeListeEventId{{-1}});
  return *TousEvenements();
}

bool ObjetEvent::EstListeTousEvenements(const TypeListeEventId& l) { return l.Ids.size() == 1 && l.Ids[0] == -1; }

bool ObjetEvent::ListesEgales(const TypeListeEventId& a, const TypeListeEventId& b) {
  if (a.Ids.size() != b.Ids.size()) return false;
  for (TypeEventId id : a.Ids)
    if (!Contient(b, id)) return false;
  return true;
}

int TAssociationObjetTypeListeEventIdTraits::ComparerValeurs(const Valeur& a, const Valeur& b) {
  if (ObjetEvent::ListesEgales(a, b)) return 0;
  if (a.Ids.size() != b.Ids.size()) return a.Ids.size() < b.Ids.size() ? -1 : 1;
  for (std::size_t i = 0; i < a.Ids.size(); ++i)
    if (a.Ids[i] != b.Ids[i]) return a.Ids[i] < b.Ids[i] ? -1 : 1;
  return 0;
}

// ---- publisher ------------------------------------------------------------------------------------

TypeEventId TObjetAbonnant::NouvelEventId() { return ++compteurEventId; }

TObjetAbonnant::~TObjetAbonnant() {
  if (table_) {
    // Subscribers forget this publisher; they are not told otherwise.
    uintptr_t cle = 0;
    TypeListeEventId liste;
    for (int32_t p = 0; table_->EntreeA(p, cle, liste); ++p) {
      auto* abonne = ObjectAs<TObjetAbonne>(reinterpret_cast<TObject*>(cle));
      if (abonne) std::erase(abonne->abonnants_, this);
    }
    delete table_;
  }
}

void TObjetAbonnant::Abonner(TObject* Abonne, std::initializer_list<TypeEventId> EventIds) {
  Abonner(Abonne, std::vector<TypeEventId>(EventIds));
}

void TObjetAbonnant::Abonner(TObject* Abonne, const std::vector<TypeEventId>& EventIds) {
  if (!table_) table_ = new TAssociationObjetTypeListeEventId();
  TypeListeEventId courante = table_->GetValeur(reinterpret_cast<uintptr_t>(Abonne));
  TypeListeEventId valeur;
  if (ObjetEvent::EstListeTousEvenements(courante)) {
    valeur.Ids = EventIds;
  } else {
    valeur = courante;
    for (TypeEventId id : EventIds)
      if (!Contient(valeur, id)) valeur.Ids.push_back(id);
  }
  Stocker(Abonne, valeur);
}

void TObjetAbonnant::Desabonner(TObject* Abonne) {
  if (table_) Stocker(Abonne, TypeListeEventId{});
}

void TObjetAbonnant::Stocker(TObject* Abonne, const TypeListeEventId& valeur) {
  const auto cle = reinterpret_cast<uintptr_t>(Abonne);
  table_->SetValeur(cle, valeur);
  // Keep the subscriber's list of publishers in step with the table.
  if (auto* abonne = ObjectAs<TObjetAbonne>(Abonne)) {
    bool present = !table_->GetValeur(cle).Ids.empty();
    auto it = std::find(abonne->abonnants_.begin(), abonne->abonnants_.end(), this);
    if (present && it == abonne->abonnants_.end()) abonne->abonnants_.push_back(this);
    if (!present && it != abonne->abonnants_.end()) abonne->abonnants_.erase(it);
  }
}

void TObjetAbonnant::Notifier(TypeEventId EventId, TObject* Donnee) {
  if (!table_) return;
  uintptr_t cle = 0;
  TypeListeEventId liste;
  // A walk of its own by position, from the first entry, against the current number of entries.
  for (int32_t p = 0; table_->EntreeA(p, cle, liste); ++p) {
    if (!Contient(liste, EventId) && !ObjetEvent::EstListeTousEvenements(liste)) continue;
    auto* abonne = InterfaceOf<IObjetAbonne>(reinterpret_cast<TObject*>(cle));
    if (abonne && !abonne->Recevoir(this, EventId, Donnee)) break;
  }
}

TypeListeEventId TObjetAbonnant::ListeDe(const TObject* Abonne) const {
  return table_ ? table_->GetValeur(reinterpret_cast<uintptr_t>(Abonne)) : TypeListeEventId{};
}

void* TObjetAbonnant::GetInterfaceEntry(const TGUID& iid) {
  if (iid == IObjetAbonnant::IID) return static_cast<IObjetAbonnant*>(this);
  return TObjetInterfacable::GetInterfaceEntry(iid);
}

// ---- subscriber -----------------------------------------------------------------------------------

TObjetAbonne::~TObjetAbonne() {
  while (!abonnants_.empty()) abonnants_.back()->Desabonner(this);
}

void TObjetAbonne::SAbonner(IObjetAbonnant* Abonnant, std::initializer_list<TypeEventId> EventIds) {
  Abonnant->Abonner(this, EventIds);
}

void TObjetAbonne::SeDesabonner(IObjetAbonnant* Abonnant) { Abonnant->Desabonner(this); }

bool TObjetAbonne::Recevoir(TObject*, TypeEventId, TObject*) { return true; }

void* TObjetAbonne::GetInterfaceEntry(const TGUID& iid) {
  if (iid == IObjetAbonne::IID) return static_cast<IObjetAbonne*>(this);
  return TObjetInterfacable::GetInterfaceEntry(iid);
}
