// Publish/subscribe with integer event ids. A publisher keeps, per subscriber object, the list of
// event ids it wants; a notification calls every interested subscriber in key order until one
// answers false. Event ids come from one process-wide counter and are never reused.
// A subscriber that is destroyed leaves the tables of every publisher it was subscribed to, and a
// publisher that is destroyed is forgotten by its subscribers, so no call ever reaches a freed object.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "core/arrays/TemplateAssoc.h"

using TypeEventId = int32_t;

struct TypeListeEventId {
  std::vector<TypeEventId> Ids;
};

namespace ObjetEvent {
// The all-events list [-1], built when the unit starts and released when it ends.
const TypeListeEventId& ListeTousEvenements();
bool EstListeTousEvenements(const TypeListeEventId& l);
// The same number of ids, and every id of a occurs in b.
bool ListesEgales(const TypeListeEventId& a, const TypeListeEventId& b);
void Initialiser();
void Finaliser();
}  // namespace ObjetEvent

struct TAssociationObjetTypeListeEventIdTraits {
  using Cle = uintptr_t;  // the subscriber's address
  using Valeur = TypeListeEventId;
  static int ComparerCles(Cle a, Cle b) { return a < b ? -1 : a > b ? 1 : 0; }
  // Equality is the lists' equality; any other pair orders by size, then by first difference.
  static int ComparerValeurs(const Valeur& a, const Valeur& b);
};

class TAssociationObjetTypeListeEventId : public TTemplateAssoc<TAssociationObjetTypeListeEventIdTraits> {
  NV_DECLARE_CLASS(TAssociationObjetTypeListeEventId)
 public:
  TAssociationObjetTypeListeEventId() : TTemplateAssoc(TypeListeEventId{}, true, false, false) {}
  explicit TAssociationObjetTypeListeEventId(TBlank b) : TTemplateAssoc(b) {}
};

extern template class TTemplateAssoc<TAssociationObjetTypeListeEventIdTraits>;

struct IObjetAbonnant : virtual IInterface {
  static constexpr TGUID IID = MakeGUID("{2976B4CE-F0DA-4151-81AC-A00A6696ECA1}");
  virtual void Abonner(TObject* Abonne, std::initializer_list<TypeEventId> EventIds) = 0;
  virtual void Desabonner(TObject* Abonne) = 0;
  virtual void Notifier(TypeEventId EventId, TObject* Donnee) = 0;

 protected:
  ~IObjetAbonnant() = default;
};

struct IObjetAbonne : virtual IInterface {
  static constexpr TGUID IID = MakeGUID("{08E95E7E-B296-47C2-8EA9-AFB8DAEB133F}");
  virtual void SAbonner(IObjetAbonnant* Abonnant, std::initializer_list<TypeEventId> EventIds) = 0;
  virtual void SeDesabonner(IObjetAbonnant* Abonnant) = 0;
  virtual bool Recevoir(TObject* Emetteur, TypeEventId EventId, TObject* Donnee) = 0;

 protected:
  ~IObjetAbonne() = default;
};

class TObjetAbonne;

class TObjetAbonnant : public TObjetInterfacable, public IObjetAbonnant {
  NV_DECLARE_CLASS(TObjetAbonnant)
 public:
  TObjetAbonnant() = default;
  explicit TObjetAbonnant(TBlank b) : TObjetInterfacable(b) {}
  ~TObjetAbonnant() override;

  static TypeEventId NouvelEventId();

  // Abonne must declare IObjetAbonne.
  void Abonner(TObject* Abonne, std::initializer_list<TypeEventId> EventIds) override;
  void Abonner(TObject* Abonne, const std::vector<TypeEventId>& EventIds);
  void Desabonner(TObject* Abonne) override;
  void Notifier(TypeEventId EventId, TObject* Donnee) override;

  // The list a subscriber holds (empty when it is not subscribed).
  TypeListeEventId ListeDe(const TObject* Abonne) const;
  int NombreAbonnes() const { return table_ ? table_->EntreesVivantes() : 0; }

 protected:
  void* GetInterfaceEntry(const TGUID& iid) override;

 private:
  friend class TObjetAbonne;
  void Stocker(TObject* Abonne, const TypeListeEventId& valeur);

  TAssociationObjetTypeListeEventId* table_ = nullptr;
};

class TObjetAbonne : public TObjetInterfacable, public IObjetAbonne {
  NV_DECLARE_CLASS(TObjetAbonne)
 public:
  TObjetAbonne() = default;
  explicit TObjetAbonne(TBlank b) : TObjetInterfacable(b) {}
  // Leaves every publisher it is subscribed to.
  ~TObjetAbonne() override;

  void SAbonner(IObjetAbonnant* Abonnant, std::initializer_list<TypeEventId> EventIds) override;
  void SeDesabonner(IObjetAbonnant* Abonnant) override;
  // The handler: true lets the notification go on. The base class does nothing and answers true.
  bool Recevoir(TObject* Emetteur, TypeEventId EventId, TObject* Donnee) override;

 protected:
  void* GetInterfaceEntry(const TGUID& iid) override;

 private:
  friend class TObjetAbonnant;
  std::vector<TObjetAbonnant*> abonnants_;  // the publishers whose tables hold this subscriber
};
